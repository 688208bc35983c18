#include "UtorikomiKakunin.h"

#include "import/ImportPreview.h"
#include "import/ImportPreviewModel.h"
#include "kit/TDBGridEx.h"
#include "kit/WaitCursor.h"
#include "views/HistoryModel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

// Collects what the preview says about files; the progress goes to the
// window's status bar.
class PreviewObserver : public ImportObserver
{
public:
    explicit PreviewObserver(TForm1 &window) : m_window(window) { }

    void progress(const QString &text) override
    {
        m_window.setStatusText(text);
        m_window.repaint();
    }
    void fileMessage(const QString &text) override { messages << text; }
    void fileFailed(const QString &text, const QString &reason, int line) override
    {
        messages << (line > 0 ? QStringLiteral("%1: %2 (%3 行目)").arg(text, reason).arg(line)
                              : QStringLiteral("%1: %2").arg(text, reason));
    }
    void fatal(const QString &text) override { messages << text; }

    QStringList messages;

private:
    TForm1 &m_window;
};

void setupGrid(TDBGridEx *grid)
{
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    auto *all = new QAction(QStringLiteral("全項目ｺﾋﾟｰ"), grid);
    QObject::connect(all, &QAction::triggered, grid, &TDBGridEx::CopyAllFields);
    grid->addAction(all);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
}

} // namespace

TFtorikomiKakunin::TFtorikomiKakunin(const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("FtorikomiKakunin"), paths, parent),
      m_linesModel(new ImportPreviewModel(this)),
      m_detailsModel(
          new HistoryModel({HistoryModel::Column::Row, HistoryModel::Column::ColumnName,
                            HistoryModel::Column::OldValue, HistoryModel::Column::NewValue},
                           this)),
      m_linesGrid(new TDBGridEx), m_detailsGrid(new TDBGridEx), m_summaryLBL(new QLabel),
      m_detailsLBL(new QLabel), m_messages(new QPlainTextEdit)
{
    setWindowTitle(QStringLiteral("取込内容の確認"));
    resize(760, 620);

    auto *title = new QLabel(
        QStringLiteral("読み込むと次のように変更されます（まだ何も書き込んでいません）"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    m_summaryLBL->setObjectName(QStringLiteral("SummaryLBL"));

    m_linesGrid->setObjectName(QStringLiteral("KakuninGrid"));
    m_linesGrid->setModel(m_linesModel);
    setupGrid(m_linesGrid);
    m_linesGrid->horizontalHeader()->setStretchLastSection(false);
    m_linesGrid->setColumnWidth(0, 150);
    m_linesGrid->setColumnWidth(1, 120);
    m_linesGrid->setColumnWidth(2, 80);
    for (int c = 3; c < 7; ++c)
        m_linesGrid->setColumnWidth(c, 60);
    connect(m_linesGrid, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { showDetails(index.row()); });
    connect(m_linesGrid, &QAbstractItemView::activated, this,
            [this](const QModelIndex &index) { showDetails(index.row()); });

    m_detailsLBL->setObjectName(QStringLiteral("DetailsLBL"));
    m_detailsLBL->setText(QStringLiteral("行をダブルクリックすると変更内容を表示します"));
    m_detailsGrid->setObjectName(QStringLiteral("HenkoGrid"));
    m_detailsGrid->setModel(m_detailsModel);
    setupGrid(m_detailsGrid);
    m_detailsGrid->setColumnWidth(0, 200);
    m_detailsGrid->setColumnWidth(1, 130);
    m_detailsGrid->setColumnWidth(2, 180);

    m_messages->setObjectName(QStringLiteral("MessageMemo"));
    m_messages->setReadOnly(true);
    m_messages->setMaximumHeight(80);
    m_messages->hide();

    auto *upper = new QWidget;
    auto *upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->addWidget(m_linesGrid);
    auto *lower = new QWidget;
    auto *lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(m_detailsLBL);
    lowerLayout->addWidget(m_detailsGrid);
    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(upper);
    splitter->addWidget(lower);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto *closeBTN = new QPushButton(QStringLiteral("閉じる"));
    closeBTN->setObjectName(QStringLiteral("CloseBTN"));
    connect(closeBTN, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeBTN);

    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(title);
    layout->addWidget(m_summaryLBL);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_messages);
    layout->addLayout(buttons);
}

void TFtorikomiKakunin::showPreview(QWidget *parent, TDMdata &dm, const QString &folder,
                                    const ImportOptions &options, const ProgramPaths &paths)
{
    TFtorikomiKakunin window(paths, parent);
    PreviewObserver observer(window);
    ImportPreview preview(dm);
    ImportSummary summary;
    {
        WaitCursor wait;
        summary = ImportRun(dm, observer).preview(folder, options, preview);
    }
    window.setResult(preview, summary, observer.messages);
    window.exec();
}

void TFtorikomiKakunin::setResult(const ImportPreview &preview, const ImportSummary &summary,
                                  const QStringList &messages)
{
    m_linesModel->setPreview(preview);
    m_detailsModel->setLines({});
    QString text
        = QStringLiteral("ファイル %1 件: 取込 %2 件、エラー %3 件、空 %4 件、対象外 %5 件")
              .arg(summary.files)
              .arg(summary.imported)
              .arg(summary.failed)
              .arg(summary.empty)
              .arg(summary.skipped);
    if (summary.stopped)
        text += QStringLiteral("、中断");
    if (preview.lines().isEmpty() && !summary.stopped)
        text += QStringLiteral("　変更はありません");
    m_summaryLBL->setText(text);
    m_messages->setPlainText(messages.join(u'\n'));
    m_messages->setVisible(!messages.isEmpty());
}

void TFtorikomiKakunin::showDetails(int row)
{
    const ImportPreview::Line *line = m_linesModel->line(row);
    QVector<HistoryLine> lines;
    if (line) {
        for (const ImportPreview::Detail &d : line->details) {
            HistoryLine h;
            h.rowName = d.rowName;
            h.column = d.column;
            h.oldValue = d.oldValue;
            h.newValue = d.newValue;
            lines.append(h);
        }
        m_detailsLBL->setText(
            QStringLiteral("%1　%2　%3 の変更内容").arg(line->file, line->key, line->table));
    } else {
        m_detailsLBL->setText(QStringLiteral("行をダブルクリックすると変更内容を表示します"));
    }
    m_detailsModel->setLines(lines);
}
