#pragma once

#include <QByteArray>
#include <QDate>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Makes collector files of the kind the Invaro collector leaves: one PC per
// file, CP932, CR LF, the header line, then one record per attribute.
// The same seed gives the same files.
class SampleGenerator
{
public:
    struct Options
    {
        quint32 seed = 1;
        QString keyPrefix = QStringLiteral("PC");
        QDate date = QDate(2026, 11, 30);
        int minApplications = 40;
        int maxApplications = 320;
    };

    explicit SampleGenerator(const Options &options);

    // The key of the PC of file number index (from 0).
    QString key(int index) const;
    // The records of one PC, without the header line, as text lines.
    QStringList records(int index);
    // The whole file (header and records) in CP932 with CR LF.
    QByteArray file(int index);

    // Writes files index first .. first+count-1 into folder as KEY.csv.
    // Returns the number of records written; -1 with error on failure.
    qint64 writeFolder(const QString &folder, int first, int count, QString *error = nullptr);

    static QString header();

private:
    QString pick(const QStringList &list);
    int between(int low, int high);

    Options m_options;
    QRandomGenerator m_random;
};
