#pragma once

#include <QString>

// What the table check tells the window that runs it.
class TableCheckObserver
{
public:
    virtual ~TableCheckObserver() = default;
    // A status text ("ＰＣテーブルのチェック", ...) or the empty text.
    virtual void status(const QString &text) = 0;
    // The PC upgrade found count PCs with an address but no IP16.
    virtual void ip16BackfillNeeded(int count) = 0;
};
