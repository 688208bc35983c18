// The list reports' windows, offscreen: the reports tab's two buttons with
// the shared-folder list's options window, and the application list's
// entry point previewing and printing into PDF.

#include "BandedPdf.h"
#include "SheetRows.h"
#include "TestStores.h"
#include "app/Umain.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "reports/windows/ReportPrinters.h"
#include "reports/windows/UappliQR.h"
#include "reports/windows/UbuKaBetu.h"
#include "reports/windows/UkyoyuItiran.h"
#include "reports/windows/UkyoyuItiranQR.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Runs check on the modal window of type T once it is shown (the checks
// close it); ran tells that it did.
template <typename T> void whenShown(const std::function<void(T &)> &check, bool *ran)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check, ran] {
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!window)
            return;
        timer->stop();
        timer->deleteLater();
        *ran = true;
        check(*window);
    });
    timer->start();
}

void addPcs(TDMdata &dm)
{
    for (const char *key : {"A", "B"}) {
        SheetRows::add(dm, TableId::PC, {{QStringLiteral("Key"), QLatin1String(key)}});
        SheetRows::add(dm, TableId::Share,
                       {{QStringLiteral("Key"), QLatin1String(key)},
                        {QStringLiteral("SharedName"), QStringLiteral("print$")}});
        SheetRows::add(dm, TableId::Appli,
                       {{QStringLiteral("Key"), QLatin1String(key)},
                        {QStringLiteral("Appli"), QStringLiteral("Excel")}});
    }
}

} // namespace

class TstWinListReports : public QObject
{
    Q_OBJECT

private slots:
    // "部・課別パソコン一覧" previews its list; "共有情報一覧" opens the
    // options, whose "プレビュー" previews the list with or without the
    // printer shares and comes back to the options.
    void startedFromTheReportsTab()
    {
        QTemporaryDir dir;
        const ProgramPaths paths(dir.filePath(QStringLiteral("Orvane")), dir.path());
        {
            QVERIFY(QDir().mkpath(paths.defaultDataDir()));
            StoreSettings settings;
            settings.folder = paths.defaultDataDir();
            TDMdata dm;
            openCheckedStore(dm, settings);
            addPcs(dm);
        }
        MessageBoxes::ScopedRecorder boxes;
        TFmain main(paths);
        main.show();
        QTRY_VERIFY(main.isStartupDone());
        main.finishReading();

        bool ran = false;
        whenShown<TQRbuKaBetu>(
            [](TQRbuKaBetu &window) {
                QCOMPARE(window.windowTitle(), QStringLiteral("部課別一覧"));
                QTRY_COMPARE(window.counterText(), QStringLiteral("1/1"));
                QCOMPARE(window.previewList()->rows().size(), 2);
                window.ActExit->trigger();
            },
            &ran);
        main.findChild<QPushButton *>(QStringLiteral("BuKaBTN"))->click();
        QVERIFY(ran);

        // Shares listed in the two previews: without, then with print$.
        QList<int> shares;
        bool optionsRan = false;
        whenShown<TFkyoyuItiran>(
            [&shares](TFkyoyuItiran &options) {
                QCOMPARE(options.windowTitle(), QStringLiteral("共有一覧"));
                QVERIFY(!options.CheckBox1->isChecked());
                for (bool printers : {false, true}) {
                    options.CheckBox1->setChecked(printers);
                    bool previewRan = false;
                    whenShown<TQRkyoyuItiran>(
                        [&shares](TQRkyoyuItiran &window) {
                            QTRY_COMPARE(window.counterText(), QStringLiteral("1/1"));
                            shares << window.previewList()->rows().size();
                            window.reject();
                        },
                        &previewRan);
                    options.PreviewBTN->click();
                    QVERIFY(previewRan);
                    QVERIFY(options.isVisible());
                }
                options.CloseBTN->click();
            },
            &optionsRan);
        main.findChild<QPushButton *>(QStringLiteral("KyoyuBTN"))->click();
        QVERIFY(optionsRan);
        QCOMPARE(shares, QList<int>({0, 2}));
        QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
    }

    // The application list from its entry point, printed into PDF from
    // the preview on landscape pages.
    void applicationListPrinted_data() { TestStore::addEngineRows(); }
    void applicationListPrinted()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        addPcs(dm);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("appli.pdf"));
        MessageBoxes::ScopedRecorder boxes;

        QWidget parent;
        bool ran = false;
        whenShown<TQRappli>(
            [&](TQRappli &window) {
                QCOMPARE(window.windowTitle(), QStringLiteral("アプリケーション導入状況"));
                QTRY_COMPARE(window.counterText(), QStringLiteral("1/1"));
                window.printers().choose(ReportPrinters::pdfCaption());
                window.printers().setSaveDialog([&](QWidget *, const QString &, const QString &,
                                                    const QString &) { return file; });
                window.ActPrint->trigger();
                window.ActExit->trigger();
            },
            &ran);
        TQRappli::preview(&parent, dm, QStringLiteral("Excel"));
        QVERIFY(ran);
        QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
        const QStringList pages = PdfText::pages(file);
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains(QStringLiteral("Excel")), qPrintable(pages[0]));
        QVERIFY(pages[0].contains(QRegularExpression(QStringLiteral("2\\s*台"))));
        const PdfText::Word *number = PdfText::find(PdfText::words(file), QStringLiteral("1"));
        QVERIFY(number);
        // Landscape: the page number's centre lies halfway across the
        // paper's 1123 units.
        QVERIFY(qAbs(number->box.center().x() - 1123 / 2.0) < 20);
    }
};

QTEST_MAIN(TstWinListReports)
#include "tst_win_listreports.moc"
