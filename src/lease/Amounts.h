#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// Amounts of the lease tables added up with a check: a sum beyond what 64
// bits hold stops with a message instead of turning negative.
namespace Amounts {

// An amount as the store holds it, as a whole number; no value counts 0
// (and so does a text that is no number, as before). Nothing when it is a
// number beyond 64 bits.
std::optional<qint64> of(const QVariant &amount);
// a + b; nothing when either is nothing or the sum does not fit.
std::optional<qint64> add(std::optional<qint64> a, std::optional<qint64> b);

QString overflowText();

} // namespace Amounts
