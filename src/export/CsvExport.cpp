#include "CsvExport.h"

#include "base/Cp932.h"
#include "base/DateText.h"
#include "base/FileErrorText.h"
#include "base/WholeFile.h"
#include "store/StoreError.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QDir>
#include <QFile>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cerrno>
#include <memory>

namespace {

const QString Quote = QStringLiteral("\"");

CsvExport::FieldKind kindOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Integer:
    case ColumnType::Float:
        return CsvExport::FieldKind::Number;
    case ColumnType::Timestamp:
        return CsvExport::FieldKind::Timestamp;
    case ColumnType::Date:
        return CsvExport::FieldKind::Date;
    case ColumnType::Character:
    case ColumnType::Memo:
        break;
    }
    return CsvExport::FieldKind::Text;
}

// A column the catalog does not know is written after the type the store
// reports for it.
CsvExport::FieldKind kindOf(const QMetaType &type)
{
    switch (type.id()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return CsvExport::FieldKind::Number;
    case QMetaType::QDateTime:
        return CsvExport::FieldKind::Timestamp;
    case QMetaType::QDate:
        return CsvExport::FieldKind::Date;
    default:
        return CsvExport::FieldKind::Text;
    }
}

QString quoted(const QString &text)
{
    return Quote + text + Quote;
}

QString plainText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return Cp932::decode(value.toByteArray());
    return value.toString();
}

// A date or timestamp in the short date form; a value that is no date
// (text written into the column by other means) as it stands.
QString dateText(const CsvExport::Column &column, const QVariant &value)
{
    const QVariant typed = column.def ? StoreValue::fromStore(*column.def, value) : value;
    switch (typed.typeId()) {
    case QMetaType::QDate:
        return DateText::shortDate(typed.toDate());
    case QMetaType::QDateTime:
        return DateText::shortDate(typed.toDateTime());
    default:
        return plainText(value);
    }
}

QString fileError(const QString &path, const QFileDevice &file, int errorNumber = 0)
{
    return QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path),
                                        FileErrorText(file, errorNumber));
}

} // namespace

CsvExport::CsvExport(TDMdata &dm, TableId table) : m_dm(dm), m_table(Schema::table(table)) { }

bool CsvExport::isAvailable() const
{
    return m_dm.isConnected() && !columns().isEmpty();
}

QVector<CsvExport::Column> CsvExport::columns() const
{
    QVector<Column> result;
    if (!m_dm.isConnected() || !m_dm.tableExists(m_table.name))
        return result;
    const bool lowerCase = m_dm.engine() == Engine::PostgreSQL;
    const QSqlRecord record
        = m_dm.database().record(lowerCase ? m_table.name.toLower() : m_table.name);
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        if (const ColumnDef *def = m_table.column(field.name())) {
            result.append(column(*def));
        } else {
            Column c;
            c.name = field.name();
            c.kind = kindOf(field.metaType());
            result.append(c);
        }
    }
    return result;
}

CsvExport::Column CsvExport::column(const ColumnDef &def)
{
    Column c;
    c.def = &def;
    c.name = def.name;
    c.kind = kindOf(def.type);
    return c;
}

QString CsvExport::field(const Column &column, const QVariant &value)
{
    const bool isNull = value.isNull() || !value.isValid();
    switch (column.kind) {
    case FieldKind::Number:
        return isNull ? QString() : plainText(value);
    case FieldKind::Timestamp:
    case FieldKind::Date:
        return quoted(isNull ? QString() : dateText(column, value));
    case FieldKind::Text:
        break;
    }
    return quoted(isNull ? QString() : plainText(value));
}

ColumnDef CsvExport::definition(const Column &column)
{
    if (column.def)
        return *column.def;
    ColumnDef def;
    def.name = column.name;
    def.type = ColumnType::Memo;
    return def;
}

CsvExport::Result CsvExport::writeFile(const QString &path)
{
    const QVector<Column> cols = columns();
    if (cols.isEmpty()) {
        Result result;
        result.error = m_dm.isConnected()
            ? QStringLiteral("テーブル %1 がありません").arg(m_table.name)
            : QStringLiteral("データベースに接続していません");
        return result;
    }
    return writeRows(
        path, cols, [&] { return storePages(cols); }, &CsvExport::field);
}

CsvExport::PageSource CsvExport::storePages(const QVector<Column> &columns) const
{
    // Where the key columns stand in a row, for the next page's start.
    QStringList keyNames;
    QVector<int> keyIndexes;
    for (const QString &key : m_table.primaryKey) {
        for (int i = 0; i < columns.size(); ++i) {
            if (columns[i].name.compare(key, Qt::CaseInsensitive) == 0) {
                keyNames << m_dm.dialect().identifier(key);
                keyIndexes << i;
            }
        }
    }
    const QString select = QStringLiteral("SELECT * FROM %1").arg(m_table.name);
    // Pages follow the primary key; a table without one (none of the
    // catalog) is read in one go.
    const bool paged = !keyNames.isEmpty();
    const QString order = paged
        ? QStringLiteral(" ORDER BY %1 LIMIT :PAGEROWS").arg(keyNames.join(QStringLiteral(", ")))
        : QString();
    const int columnCount = int(columns.size());
    const int pageRows = m_pageRows;
    TDMdata *dm = &m_dm;
    // The state between pages: the last key read, and whether the end is
    // reached.
    auto lastKey = std::make_shared<QVariantList>();
    auto done = std::make_shared<bool>(false);
    return [=](QVector<QVariantList> &rows, QString &error) {
        rows.clear();
        if (*done)
            return true;
        QString sql = select;
        QVariantMap params;
        if (paged)
            params.insert(QStringLiteral(":PAGEROWS"), pageRows);
        if (!lastKey->isEmpty()) {
            // Row values compare like the ORDER BY, key after key.
            QStringList holders;
            for (int k = 0; k < lastKey->size(); ++k) {
                const QString holder = QStringLiteral(":LASTKEY%1").arg(k);
                holders << holder;
                params.insert(holder, lastKey->at(k));
            }
            sql += QStringLiteral(" WHERE (%1) > (%2)")
                       .arg(keyNames.join(QStringLiteral(", ")),
                            holders.join(QStringLiteral(", ")));
        }
        sql += order;
        try {
            QSqlQuery q = dm->exec(sql, params);
            while (q.next()) {
                QVariantList row;
                row.reserve(columnCount);
                for (int i = 0; i < columnCount; ++i)
                    row << q.value(i);
                rows << row;
            }
            q.finish();
        } catch (const StoreError &e) {
            error = e.message();
            return false;
        }
        if (!paged || rows.size() < pageRows) {
            *done = true;
        } else {
            lastKey->clear();
            for (int i : keyIndexes)
                *lastKey << rows.last().value(i);
        }
        return true;
    };
}

namespace {

// The lines of one page of rows.
QString pageText(const QVector<CsvExport::Column> &cols, const QVector<QVariantList> &rows,
                 const CsvExport::FieldFormat &format)
{
    QString text;
    for (const QVariantList &row : rows) {
        for (int i = 0; i < cols.size(); ++i) {
            if (i > 0)
                text += u',';
            text += format(cols[i], row.value(i));
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

// Whether every row that pages gives can be written in CP932; false with
// error set when the rows cannot be read.
bool allCp932(const QVector<CsvExport::Column> &cols, const CsvExport::PageSource &pages,
              const CsvExport::FieldFormat &format, bool &cp932, QString &error)
{
    cp932 = true;
    QVector<QVariantList> rows;
    for (;;) {
        if (!pages(rows, error))
            return false;
        if (rows.isEmpty())
            return true;
        if (!Cp932::roundTrips(pageText(cols, rows, format))) {
            cp932 = false;
            return true;
        }
    }
}

enum class Attempt { Done, StartOverInUtf8 };

// One writing of the file, in CP932 or in UTF-8 behind its byte order mark.
// Meeting a text that CP932 cannot hold, a CP932 writing to a new file
// gives up so that the caller starts over in UTF-8.
Attempt writeOnce(const QString &path, const QVector<CsvExport::Column> &cols,
                  const CsvExport::PageSource &pages, const CsvExport::FieldFormat &format,
                  bool utf8, CsvExport::Result &result)
{
    result = CsvExport::Result();
    // The export goes to a new file that takes the name only when it is
    // complete: a failed export leaves an earlier file of that name as it
    // was. A device (not a plain file) is written to as it is.
    WholeFile output(path);
    QFileDevice &file = output.file();
    if (!output.open()) {
        result.error
            = QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), output.errorText());
        return Attempt::Done;
    }
    const auto cancel = [&] { output.discard(); };
    bool startOver = false;
    // Each piece goes to the disk before the next page is read, so a full
    // disk stops the export at once.
    auto put = [&](const QString &text) {
        QByteArray bytes;
        if (utf8) {
            bytes = text.toUtf8();
        } else if (Cp932::roundTrips(text)) {
            bytes = Cp932::encode(text);
        } else {
            cancel();
            if (!output.inPlace())
                startOver = true;
            else
                result.error = QStringLiteral("%1\n書き込み中に Shift-JIS (CP932) で表せない文字"
                                              "が現れました。もう一度やり直してください")
                                   .arg(QDir::toNativeSeparators(path));
            return false;
        }
        errno = 0;
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            result.error = fileError(path, file, errno);
            cancel();
            return false;
        }
        return true;
    };

    QStringList names;
    for (const CsvExport::Column &c : cols)
        names << c.name;
    const QString header = names.join(u',') + QStringLiteral("\r\n");
    if (utf8) {
        const QByteArray mark = Cp932::utf8Mark();
        errno = 0;
        if (file.write(mark) != mark.size()) {
            result.error = fileError(path, file, errno);
            cancel();
            return Attempt::Done;
        }
    }
    if (!put(header))
        return startOver ? Attempt::StartOverInUtf8 : Attempt::Done;

    QVector<QVariantList> rows;
    for (;;) {
        if (!pages(rows, result.error)) {
            cancel();
            return Attempt::Done;
        }
        if (rows.isEmpty())
            break;
        if (!put(pageText(cols, rows, format)))
            return startOver ? Attempt::StartOverInUtf8 : Attempt::Done;
        result.rows += rows.size();
    }
    if (!output.commit()) {
        result.error
            = QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), output.errorText());
        return Attempt::Done;
    }
    result.ok = true;
    return Attempt::Done;
}

} // namespace

CsvExport::Result CsvExport::writeRows(const QString &path, const QVector<Column> &cols,
                                       const PageSourceMaker &pages, const FieldFormat &format)
{
    Result result;
    // A device cannot be written twice: the rows are looked through first
    // to choose the encoding. A file is written in CP932 and, should a text
    // need it, once more in UTF-8.
    const QFileInfo target(path);
    bool utf8 = false;
    if (target.exists() && !target.isFile()) {
        bool cp932 = true;
        if (!allCp932(cols, pages(), format, cp932, result.error))
            return result;
        utf8 = !cp932;
    }
    if (writeOnce(path, cols, pages(), format, utf8, result) == Attempt::StartOverInUtf8)
        writeOnce(path, cols, pages(), format, true, result);
    return result;
}
