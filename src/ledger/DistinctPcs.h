#pragma once

#include <QPair>
#include <QSet>
#include <QString>

class KeptStatements;
class TDMdata;

// The pairs of PCs that share evidence of being one PC but that the user
// marked 「別のPC」 (Schema::distinctPcTable): the search for duplicates
// leaves them out for good. A pair is kept with the smaller key first.
namespace DistinctPcs {

using Pair = QPair<QString, QString>;

// The pair of two keys in stored order.
Pair pair(const QString &a, const QString &b);

// Every marked pair; none in a store without the table (an older store
// opened for reading). Throws StoreError.
QSet<Pair> read(TDMdata &dm);

// Marks two PCs as distinct, in a transaction of its own; marking a pair
// twice keeps the first mark. Throws StoreError.
void mark(TDMdata &dm, const QString &a, const QString &b);

// Inside the caller's transaction, when oldKey is merged into newKey: the
// marks of oldKey become marks of newKey (the merged PC is still distinct
// from those), and oldKey keeps none. Throws StoreError.
void carryOver(KeptStatements &statements, const QString &oldKey, const QString &newKey);

} // namespace DistinctPcs
