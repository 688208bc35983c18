#pragma once

#include "BaseLRepU.h"

#include <functional>

class BandedReport;

// The preview and print window of a banded list report: the frame over A4
// landscape pages, with a fresh report from the factory for the preview
// and for every print.
class TBandedLRep : public TBaseLRep
{
    Q_OBJECT

public:
    using Factory = std::function<std::unique_ptr<BandedReport>()>;

    TBandedLRep(const QString &name, const QString &caption, Factory factory,
                QWidget *parent = nullptr);

    // The report of the preview; null before the first preview.
    BandedReport *previewList() const;

protected:
    std::unique_ptr<LRReport> createReport() override;

private:
    Factory m_factory;
};
