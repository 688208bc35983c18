#pragma once

#include <QStringList>
#include <QVariantMap>

// A statement of a report as lines of text with named parameters; the
// values reach the store bound, never in the text.
struct ReportStatement
{
    QStringList lines;
    QVariantMap params;

    QString text() const { return lines.join(u'\n'); }
    bool isEmpty() const { return lines.isEmpty(); }
};
