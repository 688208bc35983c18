#include "CtlOutput.h"

#include "CtlCommand.h"

#include <QDate>
#include <QDateTime>
#include <QDir>

namespace CtlOutput {

QString cell(const QVariant &value)
{
    if (value.isNull())
        return QString();
    QString text;
    switch (value.typeId()) {
    case QMetaType::QDate:
        text = value.toDate().toString(Qt::ISODate);
        break;
    case QMetaType::QDateTime:
        text = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        break;
    default:
        text = value.toString();
    }
    text.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    return text;
}

int written(const CtlContext &context, const CsvExport::Result &result, const QString &file)
{
    if (!result.ok) {
        context.err << result.error << Qt::endl;
        return CtlFailure;
    }
    context.verbose << QStringLiteral("%1 件を出力しました: %2")
                           .arg(result.rows)
                           .arg(QDir::toNativeSeparators(file))
                    << Qt::endl;
    return CtlSuccess;
}

} // namespace CtlOutput
