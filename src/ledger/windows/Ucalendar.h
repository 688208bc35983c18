#pragma once

#include "kit/Unit1.h"

#include <QDate>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// "Fcalendar": the date picker. A month calendar whose weeks begin on
// Sunday, stepped by year and month or moved to a month of the shown year
// with the twelve month buttons; above it the shown month and the year in
// the Japanese era ("平成10年（1998）").
//
// The caller sets the picked date (none: the picker starts on today), shows
// the picker modally and, on OK, reads the picked date.
class TFcalendar : public TForm1
{
    Q_OBJECT

public:
    explicit TFcalendar(const ProgramPaths &paths, QWidget *parent = nullptr);

    // A null date or the zero date means none.
    void setDate(const QDate &date) { m_date = date; }
    QDate date() const { return m_date; }

    // Moves the calendar by this many months; the day stays, or becomes the
    // last day of a shorter month.
    void MonthCalc(int months);

protected:
    void formShow() override;

private:
    void Calendar1Change();
    QToolButton *stepButton(const char *name, const QString &glyph, const QString &hint,
                            int months);

    QDate m_date;
    QLineEdit *m_warekiEDT;
    QLineEdit *m_tukiEDT;
    QToolButton *m_monthPanels[12];
    QCalendarWidget *m_calendar;
};
