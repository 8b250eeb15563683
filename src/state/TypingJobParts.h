#pragma once

// What the parts of the typing job share and no other file uses: its
// status lines, the detection notes of the typing panel, and the progress
// fraction.

#include <QString>

#include <algorithm>
#include <optional>

namespace qv::state::jobparts {

namespace says {
inline const QString idle = QStringLiteral("Idle");
inline const QString needAccessibility = QStringLiteral("Enable Accessibility permissions (Settings opened)");
inline const QString needInput = QStringLiteral("Enable Input Monitoring permissions (Settings opened)");
inline const QString clickToStart = QStringLiteral("Click into the document text box (outside Quorvel) to start");
inline const QString clickToBegin = QStringLiteral("Click into the document text box (outside Quorvel) to begin");
inline const QString typing = QStringLiteral("Typing...");
inline const QString editing = QStringLiteral("Editing...");
inline const QString done = QStringLiteral("Done");
inline const QString paused = QStringLiteral("Paused");
inline const QString pausedByEngine = QStringLiteral("Paused \u2014 click the target text box to continue");
inline const QString pausedByClick = QStringLiteral(
    "Paused \u2014 click back into the text box (outside Quorvel) to continue");
inline const QString clickToContinue = QStringLiteral("Click back into the text box (outside Quorvel) to continue");
inline const QString clickToResume = QStringLiteral("Click back into the text box (outside Quorvel) to resume");
inline const QString stopped = QStringLiteral("Stopped");
inline const QString unchecked = QStringLiteral("Done \u2014 not checked: the text box can\u2019t be read back");
inline QString differs(std::optional<int> characters)
{
    if (!characters || *characters < 1)
        return QStringLiteral("Finished, but the text box differs from the project");
    return QStringLiteral("Finished, but the text box differs from the project by %1 character%2")
        .arg(*characters)
        .arg(*characters == 1 ? QString() : QStringLiteral("s"));
}
} // namespace says

namespace notes {
inline const QString ownFrontmost = QStringLiteral("Frontmost = Quorvel (ignored)");
inline const QString nothingFound = QStringLiteral("No editable element from click or focus");
inline const QString noFocus = QStringLiteral("Focus: none or not editable");
inline const QString focus = QStringLiteral("Focus: ");
inline const QString startFromFocus = QStringLiteral("Start from focus: ");
} // namespace notes

inline double fraction(qint64 typed, qint64 total)
{
    return std::min(double(typed) / double(std::max<qint64>(total, 1)), 1.0);
}

} // namespace qv::state::jobparts
