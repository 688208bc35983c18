#pragma once

#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVector>

// Reading rendered PDF files back with pdftotext (poppler-utils, which the
// setup installs): the words with their boxes, and the text of each page.
namespace PdfText {

struct Word
{
    int page; // from 1
    QRectF box; // in layout units (1/96 inch) from the paper's top-left
    QString text;
};

inline bool available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

inline QByteArray run(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

inline QVector<Word> words(const QString &pdf)
{
    const QString html
        = QString::fromUtf8(run({QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    static const QRegularExpression pattern(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QVector<Word> list;
    int page = 0;
    const double toUnits = 96.0 / 72.0;
    for (auto it = pattern.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) * toUnits,
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()) * toUnits);
        QString text = m.captured(5);
        text.replace(QLatin1String("&amp;"), QLatin1String("&"))
            .replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&apos;"), QLatin1String("'"));
        list.append({page, box, text});
    }
    return list;
}

// The first word with this text (on any page when page is 0).
inline const Word *find(const QVector<Word> &list, const QString &text, int page = 0)
{
    for (const Word &w : list) {
        if (w.text == text && (page == 0 || w.page == page))
            return &w;
    }
    return nullptr;
}

// The text of every page, lines as pdftotext lays them out.
inline QStringList pages(const QString &pdf)
{
    QStringList list = QString::fromUtf8(run({QStringLiteral("-layout"), pdf, QStringLiteral("-")}))
                           .split(u'\f');
    if (!list.isEmpty() && list.last().trimmed().isEmpty())
        list.removeLast();
    return list;
}

} // namespace PdfText
