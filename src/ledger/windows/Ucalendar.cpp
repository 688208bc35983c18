#include "Ucalendar.h"

#include "base/JapaneseEra.h"
#include "base/TextHelpers.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>

TFcalendar::TFcalendar(const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("Fcalendar"), paths, parent), m_warekiEDT(new QLineEdit),
      m_tukiEDT(new QLineEdit), m_calendar(new QCalendarWidget)
{
    setWindowTitle(QStringLiteral("Fcalendar"));
    setResizable(false);

    m_warekiEDT->setObjectName(QStringLiteral("wareki"));
    m_tukiEDT->setObjectName(QStringLiteral("Tuki"));
    for (QLineEdit *edit : {m_warekiEDT, m_tukiEDT}) {
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setAlignment(Qt::AlignCenter);
    }

    auto *yearRow = new QHBoxLayout;
    yearRow->addWidget(stepButton("NenDownBTN", QStringLiteral("<<"), QStringLiteral("前年"), -12));
    yearRow->addWidget(m_warekiEDT, 1);
    yearRow->addWidget(stepButton("NenUpBTN", QStringLiteral(">>"), QStringLiteral("次年"), 12));
    auto *monthRow = new QHBoxLayout;
    monthRow->addWidget(stepButton("TukiDownBTN", QStringLiteral("<"), QStringLiteral("先月"), -1));
    monthRow->addWidget(m_tukiEDT, 1);
    monthRow->addWidget(stepButton("TukiUpBTN", QStringLiteral(">"), QStringLiteral("次月"), 1));

    // The month buttons: the shown month's is drawn lowered (checked).
    auto *panels = new QHBoxLayout;
    panels->setSpacing(1);
    auto *panelGroup = new QButtonGroup(this);
    for (int k = 1; k <= 12; ++k) {
        auto *panel = new QToolButton;
        panel->setObjectName(QStringLiteral("Panel%1").arg(k));
        panel->setText(QString::number(k));
        panel->setCheckable(true);
        panel->setFocusPolicy(Qt::NoFocus);
        panel->setMinimumWidth(22);
        panelGroup->addButton(panel, k);
        panels->addWidget(panel);
        m_monthPanels[k - 1] = panel;
        connect(panel, &QToolButton::clicked, this,
                [this, k] { MonthCalc(k - m_calendar->selectedDate().month()); });
    }

    m_calendar->setObjectName(QStringLiteral("Calendar1"));
    m_calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    m_calendar->setFirstDayOfWeek(Qt::Sunday);
    m_calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setNavigationBarVisible(false);
    m_calendar->setGridVisible(true);
    // Weekend days in the usual black; Sunday's header in red.
    QTextCharFormat plain;
    plain.setForeground(palette().text());
    m_calendar->setWeekdayTextFormat(Qt::Saturday, plain);
    QTextCharFormat sunday;
    sunday.setForeground(Qt::red);
    m_calendar->setWeekdayTextFormat(Qt::Sunday, sunday);
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &TFcalendar::Calendar1Change);

    auto *okBTN = new QPushButton(QStringLiteral("OK"));
    okBTN->setObjectName(QStringLiteral("OkBTN"));
    auto *canBTN = new QPushButton(QStringLiteral("キャンセル"));
    canBTN->setObjectName(QStringLiteral("CanBTN"));
    for (QPushButton *b : {okBTN, canBTN})
        b->setAutoDefault(false);
    connect(okBTN, &QPushButton::clicked, this, &QDialog::accept);
    connect(canBTN, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okBTN);
    buttons->addWidget(canBTN);

    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(yearRow);
    layout->addLayout(monthRow);
    layout->addLayout(panels);
    layout->addWidget(m_calendar, 1);
    layout->addLayout(buttons);
    resize(sizeHint());
}

QToolButton *TFcalendar::stepButton(const char *name, const QString &glyph, const QString &hint,
                                    int months)
{
    auto *button = new QToolButton;
    button->setObjectName(QLatin1String(name));
    button->setText(glyph);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, months] { MonthCalc(months); });
    return button;
}

void TFcalendar::formShow()
{
    if (!m_date.isValid() || m_date == ZeroDate())
        m_date = QDate::currentDate();
    // Year, month and day at once, so any date shows whatever today is.
    m_calendar->setSelectedDate(m_date);
    Calendar1Change();
    m_calendar->setFocus();
}

void TFcalendar::MonthCalc(int months)
{
    m_calendar->setSelectedDate(m_calendar->selectedDate().addMonths(months));
}

void TFcalendar::Calendar1Change()
{
    const QDate shown = m_calendar->selectedDate();
    m_tukiEDT->setText(QString::number(shown.month()) + QStringLiteral("月"));
    m_date = shown;
    m_warekiEDT->setText(JapaneseEra::warekiText(shown));
    m_monthPanels[shown.month() - 1]->setChecked(true);
}
