#include "UappliPcHyojiSettei.h"

#include "views/AppliPcStatement.h"

namespace {

QString titleOf(const QString &field)
{
    for (const QueryRowsModel::Column &c : AppliPcStatement::appliPcColumns())
        if (c.field == field)
            return c.title;
    return field;
}

QStringList titles()
{
    QStringList result;
    for (const QueryRowsModel::Column &c : AppliPcStatement::appliPcColumns())
        result << c.title;
    return result;
}

} // namespace

TFappliPcHyojiSeetei::TFappliPcHyojiSeetei(const HyojiJyunValues &current,
                                           const ProgramPaths &paths, QWidget *parent)
    : TFhyojiJyun({QStringLiteral("FappliPcHyojiSeetei"), QStringLiteral("表示設定"),
                   QSize(500, 340), titleOf, titles(), false},
                  current, paths, parent)
{ }
