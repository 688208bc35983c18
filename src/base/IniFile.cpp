#include "IniFile.h"

#include "Cp932.h"
#include "FileErrorText.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <cerrno>

// The file is parsed into sections of lines. Key lines remember their key and
// value; every other line (comments, blanks, text without "=") is kept as it
// stands and written back unchanged. A section named twice is kept as two
// blocks; reads and writes use the first, as the Windows profile functions do.

namespace {

constexpr qint64 MaxBytes = 4 * 1024 * 1024;

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A value must stay on its line: line breaks inside become blanks.
QString oneLine(QString value)
{
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

} // namespace

IniFile::IniFile(const QString &path) : m_path(path)
{
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        m_readError = FileErrorText(file);
        m_error = m_readError;
        return;
    }
    // A settings file is a few kilobytes; anything beyond a few megabytes
    // (a damaged file, a device that never ends) is not read at all.
    const QByteArray bytes = file.read(MaxBytes + 1);
    if (bytes.size() > MaxBytes) {
        m_readError
            = QStringLiteral("設定ファイルが大きすぎます (%1 バイトを超えています)").arg(MaxBytes);
        m_error = m_readError;
        return;
    }
    const QString text = Cp932::decodeFile(bytes);

    Section *current = nullptr;
    // Lines end in CR LF, LF or a lone CR, as the writer breaks a value's
    // line breaks into blanks: a CR read as part of a value would not come
    // back from the next write.
    QString unified = text;
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    unified.replace(u'\r', u'\n');
    QStringList lines = unified.split(u'\n');
    // A final line break does not start another line.
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (const QString &raw : std::as_const(lines)) {
        const QString trimmed = raw.trimmed();
        if (trimmed.startsWith(u'[')) {
            qsizetype close = trimmed.indexOf(u']');
            if (close < 0)
                close = trimmed.size();
            m_sections.append(Section {trimmed.mid(1, close - 1).trimmed(), raw, {}});
            current = &m_sections.last();
            continue;
        }
        Line line {raw, QString(), QString()};
        const qsizetype eq = raw.indexOf(u'=');
        if (current && eq > 0 && !trimmed.startsWith(u';')) {
            line.key = raw.left(eq).trimmed();
            line.value = raw.mid(eq + 1).trimmed();
        }
        if (current)
            current->lines.append(line);
        else
            m_preamble.append(line);
    }
}

const IniFile::Line *IniFile::findLine(const QString &section, const QString &key) const
{
    for (const Section &s : m_sections) {
        if (!sameName(s.name, section))
            continue;
        for (const Line &line : s.lines) {
            if (!line.key.isEmpty() && sameName(line.key, key))
                return &line;
        }
        return nullptr;
    }
    return nullptr;
}

IniFile::Section &IniFile::sectionFor(const QString &section)
{
    for (Section &s : m_sections) {
        if (sameName(s.name, section))
            return s;
    }
    m_sections.append(Section {section, QString(), {}});
    return m_sections.last();
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const Line *line = findLine(section, key);
    return line ? line->value : defaultValue;
}

std::optional<int> IniFile::parseInteger(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype i = 0;
    if (i < trimmed.size() && (trimmed.at(i) == u'+' || trimmed.at(i) == u'-'))
        ++i;
    if (i == trimmed.size())
        return std::nullopt;
    for (qsizetype j = i; j < trimmed.size(); ++j) {
        if (trimmed.at(j) < u'0' || trimmed.at(j) > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int value = trimmed.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const Line *line = findLine(section, key);
    if (!line)
        return defaultValue;
    return parseInteger(line->value).value_or(defaultValue);
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    const Line *line = findLine(section, key);
    if (!line)
        return defaultValue;
    const std::optional<int> value = parseInteger(line->value);
    return value ? *value != 0 : defaultValue;
}

double IniFile::readFloat(const QString &section, const QString &key, double defaultValue) const
{
    const Line *line = findLine(section, key);
    if (!line)
        return defaultValue;
    bool ok = false;
    const double value = QLocale::c().toDouble(line->value.trimmed(), &ok);
    return ok ? value : defaultValue;
}

bool IniFile::sectionExists(const QString &section) const
{
    for (const Section &s : m_sections) {
        if (sameName(s.name, section))
            return true;
    }
    return false;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    return findLine(section, key) != nullptr;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    Section &s = sectionFor(section);
    const QString clean = oneLine(value);
    for (Line &line : s.lines) {
        if (!line.key.isEmpty() && sameName(line.key, key)) {
            // Keep the key as the file spells it.
            line.value = clean;
            line.text = line.key + u'=' + clean;
            return;
        }
    }
    // A new key goes after the section's last non-blank line, so blank lines
    // that separate it from the next section stay where they are.
    qsizetype at = s.lines.size();
    while (at > 0 && s.lines.at(at - 1).key.isEmpty()
           && s.lines.at(at - 1).text.trimmed().isEmpty())
        --at;
    s.lines.insert(at, Line {key + u'=' + clean, key, clean});
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::writeFloat(const QString &section, const QString &key, double value)
{
    writeString(section, key, QLocale::c().toString(value, 'g', 15));
}

QString IniFile::toText() const
{
    static const QString Eol = QStringLiteral("\r\n");
    QString text;
    for (const Line &line : m_preamble)
        text += line.text + Eol;
    for (const Section &s : m_sections) {
        text += (s.header.isEmpty() ? u'[' + s.name + u']' : s.header) + Eol;
        for (const Line &line : s.lines)
            text += line.text + Eol;
    }
    return text;
}

bool IniFile::updateFile()
{
    if (readFailed()) {
        // Writing now would replace a file whose contents were never seen.
        m_error = QStringLiteral("読み込めなかったファイルは上書きしません (%1)").arg(m_readError);
        return false;
    }
    QSaveFile file(m_path);
    // On a folder where no temporary file can be made but the file itself is
    // writable, write in place rather than not at all.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = FileErrorText(file);
        return false;
    }
    // CP932 as the settings file has always been written; a value that code
    // page cannot carry (a folder named "josé", say) would come back changed,
    // so such a file is written as UTF-8 behind its byte order mark instead.
    const QByteArray bytes = Cp932::encodeFile(toText());
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        m_error = FileErrorText(file, errno);
        return false;
    }
    m_error.clear();
    return true;
}
