#include "PcSheetFreeText.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

void PcSheetFreeText::startPc(const Sections &sections)
{
    m_sections = {wrapped(sections.drives), wrapped(sections.printers), wrapped(sections.applis),
                  wrapped(sections.remarks)};
    m_drive = 0;
    m_printer = 0;
    m_appli = 0;
    m_remarkLine = 0;
    m_part = 0;
    m_lineCount = 0;
    m_pcDone = false;
    m_page = 0;
    // The pages are counted on a copy, so each sheet can say which of how
    // many it is.
    PcSheetFreeText count(*this);
    do
        count.fillPage();
    while (!count.PcDone());
    m_pageCount = count.page();
}

QStringList PcSheetFreeText::remarkLines(const QString &biko)
{
    if (biko.isEmpty())
        return {};
    QString text = biko;
    text.replace(CrLf, QStringLiteral("\n")).replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

PcSheetFreeText::Wrapped PcSheetFreeText::wrapped(const QStringList &lines) const
{
    Wrapped all;
    all.reserve(lines.size());
    for (const QString &line : lines)
        all.append(m_wrap ? m_wrap(line) : QStringList {line});
    return all;
}

// Places the section's lines from next on; false when the page filled up.
bool PcSheetFreeText::placeSection(const Wrapped &lines, int &next, const QString &header,
                                   bool firstSection, QString &text)
{
    while (next < lines.size()) {
        if (next == 0 && m_part == 0) {
            if (firstSection) {
                text = header;
                ++m_lineCount;
            } else {
                // The blank line, the header and the first line must fit:
                // a 51st line would lie partly below the area.
                if (m_lineCount > PageLines - 3)
                    return false;
                // The blank line holds a blank, so that it is drawn.
                text += CrLf + u' ';
                ++m_lineCount;
                text += CrLf + header;
                ++m_lineCount;
            }
        }
        const QStringList &parts = lines[next];
        bool full = false;
        while (m_part < parts.size() && !full) {
            text += CrLf + parts[m_part];
            ++m_part;
            ++m_lineCount;
            full = m_lineCount >= PageLines;
        }
        if (m_part >= parts.size()) {
            m_part = 0;
            ++next;
        }
        if (full)
            return false;
    }
    return true;
}

bool PcSheetFreeText::nothingLeft() const
{
    return m_drive >= m_sections.drives.size() && m_printer >= m_sections.printers.size()
        && m_appli >= m_sections.applis.size() && m_remarkLine >= m_sections.remarks.size();
}

QString PcSheetFreeText::fillPage()
{
    m_lineCount = 0;
    ++m_page;
    QString text;
    const bool fits
        = placeSection(m_sections.drives, m_drive, QStringLiteral("【ドライブ情報】"), true, text)
        && placeSection(m_sections.printers, m_printer, QStringLiteral("【プリンタ情報】"), false,
                        text)
        && placeSection(m_sections.applis, m_appli, QStringLiteral("【アプリケーション情報】"),
                        false, text)
        && placeSection(m_sections.remarks, m_remarkLine, QStringLiteral("【備　考】"), false,
                        text);
    m_pcDone = fits || nothingLeft();
    return text;
}
