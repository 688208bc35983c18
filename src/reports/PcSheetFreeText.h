#pragma once

#include <QStringList>
#include <functional>

// The free-text area of the PC management sheet: the PC's drives, printers,
// applications and remarks, each section under its header, placed page by
// page within a budget of lines. Lines are counted as the area shows them:
// a line that wraps counts each line it wraps to, and a line may continue
// on the next page. A page is full when 50 lines are counted; a header
// (with the blank line before it) is placed only when its first line fits
// on the page too, so it never ends a page alone. A PC whose lines do not fit
// continues on the next page where it stopped, without repeating a header.
class PcSheetFreeText
{
public:
    struct Sections
    {
        QStringList drives;
        QStringList printers;
        QStringList applis;
        QStringList remarks;
    };

    // The lines the area shows for one line of text, each with the blanks
    // that fall on it; none for a line that shows nothing.
    using Wrap = std::function<QStringList(const QString &line)>;

    static constexpr int PageLines = 50;

    // How lines wrap in the area; without it, every line is one line.
    void setWrap(Wrap wrap) { m_wrap = std::move(wrap); }

    // A new PC: every section from its first line, RemarkLine 0, PcDone
    // cleared; counts the pages the PC takes.
    void startPc(const Sections &sections);

    // The free text of the next page of the PC; sets LineCount, and PcDone
    // when nothing of the PC remains for a further page.
    QString fillPage();

    int LineCount() const { return m_lineCount; }
    int RemarkLine() const { return m_remarkLine; }
    bool PcDone() const { return m_pcDone; }
    // The pages of the PC, and the page the last fillPage() filled (from
    // 1; 0 before the first).
    int pageCount() const { return m_pageCount; }
    int page() const { return m_page; }

    // Biko split into lines (CR LF, LF or CR); a last line break adds no
    // empty line.
    static QStringList remarkLines(const QString &biko);

private:
    using Wrapped = QList<QStringList>; // the wrapped lines of each line
    bool placeSection(const Wrapped &lines, int &next, const QString &header, bool firstSection,
                      QString &text);
    bool nothingLeft() const;
    Wrapped wrapped(const QStringList &lines) const;

    Wrap m_wrap;
    struct
    {
        Wrapped drives, printers, applis, remarks;
    } m_sections;
    int m_drive = 0;
    int m_printer = 0;
    int m_appli = 0;
    int m_remarkLine = 0;
    int m_part = 0; // the next wrapped line of the line in progress
    int m_lineCount = 0;
    bool m_pcDone = false;
    int m_page = 0;
    int m_pageCount = 0;
};
