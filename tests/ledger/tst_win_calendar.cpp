// The date picker: where it opens, the year, month and month-button steps,
// and what OK and Cancel give back.

#include "base/ProgramPaths.h"
#include "ledger/windows/Ucalendar.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestWinCalendar : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void noDateOpensOnTodayAndCancelKeepsIt();
};

void TestWinCalendar::steps_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QString>("button"); // empty: just open and confirm
    QTest::addColumn<QDate>("picked");
    QTest::addColumn<QString>("wareki");
    QTest::newRow("opens on the date")
        << QDate(2003, 4, 15) << QString() << QDate(2003, 4, 15) << u"平成15年（2003）"_s;
    QTest::newRow("next month, shorter")
        << QDate(2004, 1, 31) << u"TukiUpBTN"_s << QDate(2004, 2, 29) << u"平成16年（2004）"_s;
    QTest::newRow("previous month")
        << QDate(2019, 5, 31) << u"TukiDownBTN"_s << QDate(2019, 4, 30) << u"平成31年（2019）"_s;
    QTest::newRow("next year from a leap day")
        << QDate(2004, 2, 29) << u"NenUpBTN"_s << QDate(2005, 2, 28) << u"平成17年（2005）"_s;
    QTest::newRow("previous year")
        << QDate(2020, 1, 10) << u"NenDownBTN"_s << QDate(2019, 1, 10) << u"平成31年（2019）"_s;
    QTest::newRow("month button") << QDate(2005, 2, 28) << u"Panel3"_s << QDate(2005, 3, 28)
                                  << u"平成17年（2005）"_s;
    QTest::newRow("month button back")
        << QDate(2019, 12, 1) << u"Panel5"_s << QDate(2019, 5, 1) << u"令和01年（2019）"_s;
}

void TestWinCalendar::steps()
{
    QFETCH(QDate, start);
    QFETCH(QString, button);
    QFETCH(QDate, picked);
    QFETCH(QString, wareki);
    QTemporaryDir dir;
    TFcalendar picker(ProgramPaths(dir.filePath(u"Orvane"_s), dir.path()));
    picker.setDate(start);
    // Read while the picker is open, checked once it has closed.
    QDate shown;
    QString warekiText, tukiText;
    QList<int> lowered;
    QTimer::singleShot(0, &picker, [&] {
        if (!button.isEmpty())
            picker.findChild<QToolButton *>(button)->click();
        auto *calendar = picker.findChild<QCalendarWidget *>(u"Calendar1"_s);
        shown = calendar->selectedDate();
        warekiText = picker.findChild<QLineEdit *>(u"wareki"_s)->text();
        tukiText = picker.findChild<QLineEdit *>(u"Tuki"_s)->text();
        for (int k = 1; k <= 12; ++k)
            if (picker.findChild<QToolButton *>(u"Panel%1"_s.arg(k))->isChecked())
                lowered << k;
        picker.findChild<QPushButton *>(u"OkBTN"_s)->click();
    });
    QCOMPARE(picker.exec(), int(QDialog::Accepted));
    QCOMPARE(shown, picked);
    QCOMPARE(warekiText, wareki);
    QCOMPARE(tukiText, QString::number(picked.month()) + u"月"_s);
    QCOMPARE(lowered, QList<int> {picked.month()});
    QCOMPARE(picker.date(), picked);
}

void TestWinCalendar::noDateOpensOnTodayAndCancelKeepsIt()
{
    QTemporaryDir dir;
    TFcalendar picker(ProgramPaths(dir.filePath(u"Orvane"_s), dir.path()));
    picker.setDate(QDate(1899, 12, 30)); // the zero date: no date
    QDate shown;
    QTimer::singleShot(0, &picker, [&] {
        shown = picker.findChild<QCalendarWidget *>(u"Calendar1"_s)->selectedDate();
        picker.findChild<QPushButton *>(u"CanBTN"_s)->click();
    });
    QCOMPARE(picker.exec(), int(QDialog::Rejected));
    QCOMPARE(shown, QDate::currentDate());
}

QTEST_MAIN(TestWinCalendar)
#include "tst_win_calendar.moc"
