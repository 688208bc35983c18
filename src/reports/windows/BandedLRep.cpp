#include "BandedLRep.h"

#include "layout/LightRep.h"
#include "reports/BandedReport.h"

TBandedLRep::TBandedLRep(const QString &name, const QString &caption, Factory factory,
                         QWidget *parent)
    : TBaseLRep(parent), m_factory(std::move(factory))
{
    setObjectName(name);
    setWindowTitle(caption);
    fitToPage(TLightRep::paperUnits(TPaperSize::psA4).transposed());
}

BandedReport *TBandedLRep::previewList() const
{
    return static_cast<BandedReport *>(previewReport());
}

std::unique_ptr<LRReport> TBandedLRep::createReport()
{
    return m_factory();
}
