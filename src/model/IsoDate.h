#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace qv::isodate {

// "2025-03-01T14:05:09Z": UTC, whole seconds, the fraction dropped (not
// rounded). An invalid date, or one whose year does not fit four digits,
// gives nothing.
std::optional<QString> format(const QDateTime &when);

// Reads an internet date-time: date, "T", time with optional fraction of a
// second, then "Z" or a numeric offset (+01:00 or +0100). The result is in
// UTC with millisecond precision (further digits are dropped). Anything
// else, a date alone included, gives nothing, and so does an instant
// outside the years 1 to 9999 in UTC (it could not be written back).
std::optional<QDateTime> parse(QStringView text);

} // namespace qv::isodate
