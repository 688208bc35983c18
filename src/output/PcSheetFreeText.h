#pragma once

#include <QStringList>

// The free-text area of the PC management sheet: the PC's drives, printers,
// applications and remarks, each section under its header, placed page by
// page within a budget of lines. A page is full when 50 lines are counted;
// a header (with the blank line before it) is placed only when at least two
// lines remain, so it never ends a page alone. A PC whose lines do not fit
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

    static constexpr int PageLines = 50;

    // A new PC: every section from its first line, RemarkLine 0, PcDone
    // cleared.
    void startPc(const Sections &sections);

    // The free text of the next page of the PC; sets LineCount, and PcDone
    // when nothing of the PC remains for a further page.
    QString fillPage();

    int LineCount() const { return m_lineCount; }
    int RemarkLine() const { return m_remarkLine; }
    bool PcDone() const { return m_pcDone; }

    // Biko split into lines (CR LF, LF or CR); a last line break adds no
    // empty line.
    static QStringList remarkLines(const QString &biko);

private:
    bool placeSection(const QStringList &lines, int &next, const QString &header, bool firstSection,
                      QString &text);
    bool nothingLeft() const;

    Sections m_sections;
    int m_drive = 0;
    int m_printer = 0;
    int m_appli = 0;
    int m_remarkLine = 0;
    int m_lineCount = 0;
    bool m_pcDone = false;
};
