#pragma once

#include "kit/Unit1.h"
#include "store/HistoryReader.h"

#include <functional>

class HistoryModel;
class QComboBox;
class QLabel;
class QLineEdit;
class TDBGridEx;
class TDMdata;

// "変更履歴": the recorded changes of the whole store for a period,
// filtered by department, table and operation, newest first; copied like
// the other grids and saved as CSV.
class TFhenkoRireki : public TForm1
{
    Q_OBJECT

public:
    // Asks for the CSV file's name: the chosen name, empty when cancelled;
    // sets selectedFilter to the filter chosen.
    using SaveDialog = std::function<QString(QWidget *parent, const QString &caption,
                                             const QString &filter, QString *selectedFilter)>;

    TFhenkoRireki(TDMdata &dm, const ProgramPaths &paths, QWidget *parent = nullptr);

    // Tests answer the dialog themselves.
    void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }

    // The filter of the boxes; false, with the user told why, when a date
    // cannot be read.
    bool filter(HistoryFilter &filter);
    // "表示": reads the lines of the filter.
    void HyojiBTNClick();
    // "CSV出力...": the lines shown as a CSV file.
    void CsvBTNClick();

    TDBGridEx *grid() const { return m_grid; }
    HistoryModel *model() const { return m_model; }

protected:
    void formShow() override;

private:
    bool dateOf(QLineEdit *edit, QDate &date);

    TDMdata &m_dm;
    QLineEdit *m_sinceEDT;
    QLineEdit *m_untilEDT;
    QComboBox *m_buCB;
    QComboBox *m_tableCB;
    QComboBox *m_operationCB;
    QLabel *m_countLBL;
    TDBGridEx *m_grid;
    HistoryModel *m_model;
    SaveDialog m_saveDialog;
};
