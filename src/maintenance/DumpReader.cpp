#include "DumpReader.h"

#include "FieldText.h"
#include "base/Cp932.h"
#include "base/FileErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <cerrno>

namespace {

// Separates the key values of a row in the duplicate check.
constexpr QChar KeySeparator(0x1F);

int lineOf(const QByteArray &bytes, qsizetype offset)
{
    return int(bytes.left(offset).count('\n')) + 1;
}

bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    [[maybe_unused]] const QString decoded = utf8.decode(bytes);
    return !utf8.hasError();
}

// The line of the first text that is not what the file says it is (0 when
// it all is), and what the file seems to be. A dump is CP932, or UTF-8
// behind a byte order mark when it holds a text that CP932 cannot.
int foreignEncodingLine(const QByteArray &bytes, QString &reason)
{
    const QString notCp932 = QStringLiteral("Shift-JIS (CP932) のテキストではありません");
    const bool marked = bytes.startsWith(Cp932::utf8Mark());
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        reason = notCp932 + QStringLiteral(" (UTF-16)");
        return 1;
    }
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0) {
        reason = marked ? QStringLiteral("UTF-8 のテキストではありません") : notCp932;
        return lineOf(bytes, nul);
    }
    if (marked) {
        if (isUtf8(bytes))
            return 0;
        const QList<QByteArray> lines = bytes.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (!isUtf8(lines[i])) {
                reason = QStringLiteral("UTF-8 として読めない文字があります");
                return i + 1;
            }
        }
        return 0;
    }
    qsizetype firstHigh = -1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            firstHigh = i;
            break;
        }
    }
    if (firstHigh < 0)
        return 0;
    // Japanese text in CP932 is almost never valid UTF-8 (its lead bytes
    // are UTF-8's continuation bytes); a file that is, is UTF-8 without the
    // mark that a dump in UTF-8 carries.
    if (isUtf8(bytes)) {
        reason = QStringLiteral("文字コードが UTF-8 (BOM なし) です。Shift-JIS (CP932) "
                                "か BOM 付きの UTF-8 で書かれたファイルを指定してください");
        return lineOf(bytes, firstHigh);
    }
    // Bytes that are no CP932 character decode to U+001A; the line byte
    // (0x0A) is never part of a double-byte character, so lines can be
    // decoded one by one to find the first such byte.
    const QString decoded = Cp932::decode(bytes);
    if (decoded.count(QChar(0x1A)) == bytes.count('\x1A'))
        return 0;
    const QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (Cp932::decode(lines[i]).count(QChar(0x1A)) != lines[i].count('\x1A')) {
            reason = notCp932;
            return i + 1;
        }
    }
    return 0;
}

// Splits the decoded text into records of fields.
class Records
{
public:
    enum class Result { Record, End, Unclosed };

    explicit Records(const QString &text) : m_text(text) { }

    // The next record; fieldLines tells the line each field starts on.
    Result next(QStringList &fields, QVector<int> &fieldLines)
    {
        fields.clear();
        fieldLines.clear();
        skipBlankLines();
        if (m_pos >= m_text.size())
            return Result::End;
        m_recordLine = m_line;
        for (;;) {
            fieldLines << m_line;
            QString value;
            if (m_text[m_pos] == u'"') {
                if (!quoted(value)) {
                    m_unclosedLine = fieldLines.last();
                    return Result::Unclosed;
                }
            } else {
                const qsizetype start = m_pos;
                while (m_pos < m_text.size() && !isEndOfField(m_text[m_pos]))
                    ++m_pos;
                value = m_text.mid(start, m_pos - start);
            }
            fields << value;
            if (m_pos < m_text.size() && m_text[m_pos] == u',') {
                ++m_pos;
                continue;
            }
            lineBreak();
            return Result::Record;
        }
    }

    int recordLine() const { return m_recordLine; }
    int unclosedLine() const { return m_unclosedLine; }

private:
    static bool isEndOfField(QChar c) { return c == u',' || c == u'\r' || c == u'\n'; }

    // A quoted field from its opening quote; false when it never closes.
    bool quoted(QString &value)
    {
        ++m_pos;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c == u'"') {
                const bool last = m_pos + 1 >= m_text.size();
                if (!last && m_text[m_pos + 1] == u'"') {
                    value += u'"';
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                if (last || isEndOfField(m_text[m_pos]))
                    return true;
                // A quote inside the value that is not doubled stands for
                // itself.
                value += u'"';
                continue;
            }
            if (c == u'\n'
                || (c == u'\r' && (m_pos + 1 >= m_text.size() || m_text[m_pos + 1] != u'\n')))
                ++m_line;
            value += c;
            ++m_pos;
        }
        return false;
    }

    // Passes the line break at the position, if any.
    void lineBreak()
    {
        if (m_pos < m_text.size() && m_text[m_pos] == u'\r')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'\n')
            ++m_pos;
        ++m_line;
    }

    void skipBlankLines()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == u'\r' || m_text[m_pos] == u'\n'))
            lineBreak();
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_recordLine = 1;
    int m_unclosedLine = 0;
};

} // namespace

QString DumpReader::Error::text() const
{
    if (line <= 0)
        return reason;
    if (column <= 0)
        return QStringLiteral("%1 行目: %2").arg(line).arg(reason);
    return QStringLiteral("%1 行目 %2 列目 (%3): %4").arg(line).arg(column).arg(columnName, reason);
}

DumpReader::DumpReader(const TableDef &table, const QVector<CsvExport::Column> &columns)
    : m_table(table), m_columns(columns)
{
    for (const CsvExport::Column &c : columns)
        m_defs << CsvExport::definition(c);
    for (const QString &key : table.primaryKey) {
        for (int i = 0; i < columns.size(); ++i) {
            if (columns[i].name.compare(key, Qt::CaseInsensitive) == 0)
                m_keyColumns << i;
        }
    }
}

bool DumpReader::fail(int line, int column, const QString &reason)
{
    m_error.line = line;
    m_error.column = column;
    m_error.columnName = column > 0 ? m_headerNames.value(column - 1) : QString();
    m_error.reason = reason;
    return false;
}

bool DumpReader::fileBytes(const QString &path, QByteArray &bytes, QString &error)
{
    // A folder, a device or a pipe is no dump: it could be endless or never
    // answer.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path),
                                             info.isDir()
                                                 ? SystemErrorText(EISDIR)
                                                 : QStringLiteral("通常のファイルではありません"));
        return false;
    }
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return true;
    }
    error = QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), FileErrorText(file));
    return false;
}

bool DumpReader::readHeader(const QStringList &names, int line, QVector<int> &target)
{
    m_headerNames.clear();
    target.clear();
    QVector<bool> seen(m_columns.size(), false);
    for (int f = 0; f < names.size(); ++f) {
        const QString name = names[f].trimmed();
        int index = -1;
        for (int i = 0; i < m_columns.size(); ++i) {
            if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
                index = i;
        }
        m_headerNames << (index >= 0 ? m_columns[index].name : name);
        if (index < 0)
            return fail(line, f + 1, QStringLiteral("テーブル %1 にない列です").arg(m_table.name));
        if (seen[index])
            return fail(line, f + 1, QStringLiteral("列が重複しています"));
        seen[index] = true;
        target << index;
    }
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!seen[i])
            return fail(line, 0, QStringLiteral("列 %1 がありません").arg(m_columns[i].name));
    }
    return true;
}

bool DumpReader::read(const QByteArray &bytes, const RowSink &sink)
{
    m_error = Error();
    m_rows = 0;
    m_headerNames.clear();
    QString reason;
    if (const int line = foreignEncodingLine(bytes, reason); line > 0)
        return fail(line, 0, reason);

    const QString text = Cp932::decodeFile(bytes);
    Records records(text);
    QStringList fields;
    QVector<int> fieldLines;

    // The header: which column each field fills.
    QVector<int> target;
    switch (records.next(fields, fieldLines)) {
    case Records::Result::End:
        return fail(1, 0, QStringLiteral("ファイルが空です"));
    case Records::Result::Unclosed:
        return fail(records.unclosedLine(), 0, QStringLiteral("引用符が閉じていません"));
    case Records::Result::Record:
        break;
    }
    if (!readHeader(fields, records.recordLine(), target))
        return false;

    QHash<QString, int> keyLines;
    QVariantList row;
    for (;;) {
        const Records::Result result = records.next(fields, fieldLines);
        if (result == Records::Result::End)
            break;
        if (result == Records::Result::Unclosed)
            return fail(records.unclosedLine(), 0, QStringLiteral("引用符が閉じていません"));
        const int line = records.recordLine();
        if (fields.size() != target.size())
            return fail(line, 0,
                        QStringLiteral("項目の数が %1 です (見出しは %2 項目)")
                            .arg(fields.size())
                            .arg(target.size()));
        row = QVariantList(m_columns.size());
        for (int f = 0; f < fields.size(); ++f) {
            const ColumnDef &def = m_defs[target[f]];
            QVariant value;
            if (!FieldText::parse(def, fields[f], value, reason))
                return fail(fieldLines[f], f + 1, reason);
            if (def.notNull && value.isNull())
                return fail(fieldLines[f], f + 1, QStringLiteral("値がありません"));
            row[target[f]] = value;
        }
        if (!m_keyColumns.isEmpty()) {
            QStringList keyTexts;
            for (int k : m_keyColumns)
                keyTexts << FieldText::text(m_defs[k], row[k]);
            const QString key = keyTexts.join(KeySeparator);
            const auto previous = keyLines.constFind(key);
            if (previous != keyLines.cend()) {
                const int f = int(target.indexOf(m_keyColumns.last()));
                return fail(fieldLines[f], f + 1,
                            QStringLiteral("キー %1 が %2 行目と重複しています")
                                .arg(keyTexts.join(QStringLiteral(", ")))
                                .arg(*previous));
            }
            keyLines.insert(key, line);
        }
        if (!sink(row, line, reason))
            return fail(line, 0, reason);
        ++m_rows;
    }
    return true;
}
