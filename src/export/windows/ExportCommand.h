#pragma once

#include "store/Schema.h"

#include <QObject>
#include <QString>
#include <functional>

class QWidget;
class TDMdata;

// The four export commands of the main window's File menu ("PC情報(&P)",
// "ﾄﾞﾗｲﾌﾞ情報(&D)", "ﾌﾟﾘﾝﾀ情報(&E)", "ｱﾌﾟﾘ情報(&A)"): one save dialog for
// all four, which remembers the last name, then the table written as CSV.
// Without a connected store the user is told so; a failed export shows the
// file's or the store's error text.
//
// It lives as a child of the window that shows its dialogs and asks that
// window's caller for the store each time it runs.
class ExportCommand : public QObject
{
    Q_OBJECT

public:
    // Asks for the file: the chosen name, empty when cancelled; sets
    // selectedFilter to the filter the user chose.
    using SaveDialog
        = std::function<QString(QWidget *parent, const QString &caption, const QString &fileName,
                                const QString &filter, QString *selectedFilter)>;

    using StoreSource = std::function<TDMdata *()>;

    ExportCommand(QWidget &window, StoreSource store);

    // Tests answer the dialog themselves.
    void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }
    // The name the dialog opens with: the last one chosen.
    QString fileName() const { return m_fileName; }

    void run(TableId table);

    void PCP2Click() { run(TableId::PC); }
    void D2Click() { run(TableId::Drive); }
    void E1Click() { run(TableId::Printer); }
    void A1Click() { run(TableId::Appli); }

    static QString dialogCaption();
    static QString dialogFilter();
    // ".csv" added to a name without extension when the first filter was
    // chosen (or the dialog reported none).
    static QString withDefaultExtension(const QString &name, const QString &selectedFilter);

private:
    QWidget &m_window;
    StoreSource m_store;
    SaveDialog m_saveDialog;
    QString m_fileName;
};
