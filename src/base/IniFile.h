#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// A settings file of sections and keys, read and written in CP932.
// Section and key names match without regard to case. Lines the program
// does not know (comments, other sections) are kept as they were.
// Reading happens in the constructor; nothing reaches the disk until
// updateFile().
class IniFile
{
public:
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    // A decimal number; the default when the key is missing or not a number.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // True when the integer value is not 0; the default when missing or not a number.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    double readFloat(const QString &section, const QString &key, double defaultValue) const;

    bool sectionExists(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void writeFloat(const QString &section, const QString &key, double value);

    // Writes the file out (creating it). False, with errorString(), when the
    // file cannot be written.
    bool updateFile();
    QString errorString() const { return m_error; }
    // True when the file exists but could not be read: every read gives its
    // default and updateFile() refuses to overwrite the file.
    bool readFailed() const { return !m_readError.isEmpty(); }

    // The file's text as updateFile() writes it (CRLF line ends).
    QString toText() const;

    // A decimal integer with an optional sign, blanks around it ignored.
    static std::optional<int> parseInteger(const QString &text);

private:
    struct Line
    {
        QString text; // the line as it stands (for comments and blanks)
        QString key; // empty for anything that is not a key line
        QString value;
    };
    struct Section
    {
        QString name;
        QString header; // the header line as read, or empty for a new one
        QVector<Line> lines;
    };

    const Line *findLine(const QString &section, const QString &key) const;
    Section &sectionFor(const QString &section);

    QString m_path;
    QString m_error;
    QString m_readError;
    QVector<Line> m_preamble; // lines before the first section
    QVector<Section> m_sections;
};
