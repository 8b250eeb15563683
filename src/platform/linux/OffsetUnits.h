#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

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

// A range to write, [from, to) in UTF-16 units of `text`, as application
// offsets. Ends past the text's end are cut to it: the text may be shorter
// than the writer thinks (keys still on their way), and a toolkit that
// checks (Qt) refuses such a write whole where others cut it themselves.
// Nullopt for a negative or reversed range or an end inside a surrogate
// pair.
std::optional<std::pair<qint64, qint64>> toWrite(QStringView text, qint64 from, qint64 to, OffsetUnit unit);

// Gecko follows every character outside the Basic Multilingual Plane with
// a U+FEFF in the text it reports, so that its character offsets are the
// UTF-16 offsets of its real text. The real text: one such mark dropped
// after each of those characters (a U+FEFF of the text's own stays).
QString withoutAstralMarks(QStringView reported);

// Chromium counts the offsets of the selection it reports twice: its UTF-16
// offset turned into code points, and that number turned into code points
// once more as if it were UTF-16 (its caret offsets and its selection writes
// count once). What it reports for a UTF-16 offset of `text`; nullopt where
// the first count falls inside a surrogate pair of the text, where it
// reports no selection at all.
std::optional<qint64> countedTwice(QStringView text, qint64 utf16);

// A selection a Chromium element reported, [start, end) in its unit, as
// UTF-16 offsets of `text`. `caret` (UTF-16) is the selection's moving end,
// which every application counts once: it picks between the report read
// once and read twice, so a browser that counts once is read right too.
// `written` is the range last written to this text: a report that fits it
// either way is it, and when the report lost a selection that exists
// (start == end) it stands if Chromium would lose it too and the caret is
// at its end. Nullopt when nothing fits.
std::optional<std::pair<qint64, qint64>> reportedSelection(QStringView text, qint64 start, qint64 end, qint64 caret,
                                                           OffsetUnit unit,
                                                           std::optional<std::pair<qint64, qint64>> written);

} // namespace offsets
} // namespace qv::linuxdesktop
