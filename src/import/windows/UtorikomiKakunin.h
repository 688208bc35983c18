#pragma once

#include "import/ImportRun.h"
#include "kit/Unit1.h"

class HistoryModel;
class ImportPreview;
class ImportPreviewModel;
class QLabel;
class QPlainTextEdit;
class TDBGridEx;
class TDMdata;

// "取込内容の確認": what the import of a folder would change, before it
// runs. Per file, PC and table the rows it would add, change and delete
// and the hand-entered values it would touch; a double click on a line
// lists that line's changed rows and values. Nothing is written: the
// import is the folder window's OK.
class TFtorikomiKakunin : public TForm1
{
    Q_OBJECT

public:
    TFtorikomiKakunin(const ProgramPaths &paths, QWidget *parent = nullptr);

    // Runs the preview of the folder's import and shows it modally.
    static void showPreview(QWidget *parent, TDMdata &dm, const QString &folder,
                            const ImportOptions &options, const ProgramPaths &paths);

    // Shows a preview's result: the lines, the run's summary and the
    // messages about files.
    void setResult(const ImportPreview &preview, const ImportSummary &summary,
                   const QStringList &messages);

    TDBGridEx *linesGrid() const { return m_linesGrid; }
    TDBGridEx *detailsGrid() const { return m_detailsGrid; }
    // Lists the changes of a line of the upper grid in the lower one.
    void showDetails(int row);

private:
    ImportPreviewModel *m_linesModel;
    HistoryModel *m_detailsModel;
    TDBGridEx *m_linesGrid;
    TDBGridEx *m_detailsGrid;
    QLabel *m_summaryLBL;
    QLabel *m_detailsLBL;
    QPlainTextEdit *m_messages;
};
