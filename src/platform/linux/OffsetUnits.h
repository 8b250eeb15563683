#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace qv::linuxdesktop {

// What an application's text offsets count. Positions at our interface are
// UTF-16 units; toolkits differ, so every offset is converted at the edge.
enum class OffsetUnit { CodePoints, Utf16 };

namespace offsets {

// Decides the unit from an element's current text and the character count
// the application reports for it. Undecided (nullopt) when the text has no
// character outside the Basic Multilingual Plane (both units agree there)
// or when the count matches neither length.
std::optional<OffsetUnit> detect(QStringView text, qint64 reportedCount);

// The unit to use: the detected one, else the toolkit's habit (Qt counts
// UTF-16 units, the others code points).
OffsetUnit resolve(QStringView text, qint64 reportedCount, const QString &toolkitName);

// An application offset as a UTF-16 offset of `text`. Offsets past the end
// keep their distance from the end; negative ones give 0.
qint64 toUtf16(QStringView text, qint64 offset, OffsetUnit unit);

// A UTF-16 offset of `text` as an application offset; nullopt for a
// negative offset or one that falls inside a surrogate pair (some editors
// split the character there).
std::optional<qint64> fromUtf16(QStringView text, qint64 offset, OffsetUnit unit);

} // namespace offsets
} // namespace qv::linuxdesktop
