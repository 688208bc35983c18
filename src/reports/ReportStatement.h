#pragma once

#include <QSet>
#include <QStringList>
#include <QVariantMap>

// A statement of a report as lines of text with named parameters; the
// values reach the store bound, never in the text.
struct ReportStatement
{
    QStringList lines;
    QVariantMap params;
    // When not empty, rows whose first key column is not in the set are
    // passed over (for more keys than a statement can bind).
    QSet<QString> onlyKeys;

    QString text() const { return lines.join(u'\n'); }
    bool isEmpty() const { return lines.isEmpty(); }
};
