#include "ExportCommand.h"

#include "export/CsvExport.h"
#include "kit/MessageBoxes.h"
#include "kit/StoreRequired.h"
#include "kit/WaitCursor.h"
#include "store/UDMdata.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

QString askSaveFile(QWidget *parent, const QString &caption, const QString &fileName,
                    const QString &filter, QString *selectedFilter)
{
    // An existing file is overwritten without a question.
    return QFileDialog::getSaveFileName(parent, caption, fileName, filter, selectedFilter,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace

ExportCommand::ExportCommand(QWidget &window, StoreSource store)
    : QObject(&window), m_window(window), m_store(std::move(store)), m_saveDialog(askSaveFile)
{
    setObjectName(QStringLiteral("ExportCommand"));
}

QString ExportCommand::dialogCaption()
{
    return QStringLiteral("PC情報保存");
}

QString ExportCommand::dialogFilter()
{
    return QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.csv)");
}

QString ExportCommand::withDefaultExtension(const QString &name, const QString &selectedFilter)
{
    const bool firstFilter = selectedFilter.isEmpty() || selectedFilter == dialogFilter();
    if (firstFilter && !QFileInfo(name).fileName().contains(u'.'))
        return name + QStringLiteral(".csv");
    return name;
}

void ExportCommand::run(TableId table)
{
    TDMdata *dm = m_store();
    if (!StoreRequired::ensureConnected(&m_window, dm))
        return;
    CsvExport exporter(*dm, table);
    if (!exporter.isAvailable())
        return;

    QString selectedFilter;
    QString name
        = m_saveDialog(&m_window, dialogCaption(), m_fileName, dialogFilter(), &selectedFilter);
    if (name.isEmpty())
        return;
    name = withDefaultExtension(name, selectedFilter);
    m_fileName = name;

    CsvExport::Result result;
    {
        WaitCursor wait;
        result = exporter.writeFile(name);
    }
    if (!result.ok)
        MessageBoxes::error(&m_window, result.error);
}
