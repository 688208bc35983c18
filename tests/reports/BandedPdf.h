#pragma once

#include "PdfText.h"
#include "layout/PdfFileDevice.h"
#include "reports/BandedReport.h"
#include "reports/ReportRun.h"

#include <QMap>
#include <algorithm>

// Banded reports rendered into a PDF file and read back as text lines.
namespace BandedPdf {

// Prints the report into file at a fixed time; the number of pages, -1 when
// the file could not be written.
inline int render(BandedReport &report, const QString &file)
{
    report.setClock([] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4)); });
    if (ReportRun::prepare(report) != ReportRun::Readiness::Ready)
        return 0;
    PdfFileDevice pdf(file);
    if (!pdf.open())
        return -1;
    int pages = 0;
    ReportRun::print(report, pdf, [&] { ++pages; });
    return pdf.close() ? pages : -1;
}

// Each page as its lines from the top, "|" between lines, the words of a
// line (the same top within 2 units) from the left, a blank between them.
inline QStringList pageLines(const QVector<PdfText::Word> &words)
{
    QMap<int, QVector<PdfText::Word>> byPage;
    for (const PdfText::Word &w : words)
        byPage[w.page].append(w);
    QStringList pages;
    for (QVector<PdfText::Word> &list : byPage) {
        std::sort(list.begin(), list.end(), [](const PdfText::Word &a, const PdfText::Word &b) {
            return a.box.top() < b.box.top();
        });
        QVector<QVector<PdfText::Word>> lines;
        for (const PdfText::Word &w : list) {
            if (lines.isEmpty() || w.box.top() - lines.last().first().box.top() >= 2)
                lines.append(QVector<PdfText::Word>());
            lines.last().append(w);
        }
        QStringList lineTexts;
        for (QVector<PdfText::Word> &line : lines) {
            std::sort(line.begin(), line.end(), [](const PdfText::Word &a, const PdfText::Word &b) {
                return a.box.left() < b.box.left();
            });
            QStringList texts;
            for (const PdfText::Word &w : line)
                texts << w.text;
            lineTexts << texts.join(u' ');
        }
        pages << lineTexts.join(u'|');
    }
    return pages;
}

} // namespace BandedPdf
