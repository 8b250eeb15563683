#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>

namespace qv::state {

class Preferences;

// The keys the application state owns, and how each is read with its own
// default. Stored values are never validated: any stored text is taken as is.
namespace keys {
inline const QString autoUpdateEnabled = QStringLiteral("qv_autoUpdateEnabled");
inline const QString reduceMotion = QStringLiteral("qv_reduce_motion");
inline const QString showSmartBrief = QStringLiteral("qv_show_smart_brief");
inline const QString defaultMode = QStringLiteral("qv_default_mode");
inline const QString defaultGrade = QStringLiteral("qv_default_grade");
inline const QString defaultReview = QStringLiteral("qv_default_review");
inline const QString defaultPreset = QStringLiteral("qv_default_preset");
inline const QString resumeProgress = QStringLiteral("qv_resume_progress");
inline const QString profileName = QStringLiteral("qv_profile_name");
inline const QString profileImage = QStringLiteral("qv_profile_image");
inline const QString session = QStringLiteral("qv_session");
} // namespace keys

namespace prefs {
bool autoUpdateEnabled(const Preferences &p);                 // false when absent
bool reduceMotion(const Preferences &p);                      // false when absent
bool showSmartBrief(const Preferences &p);                    // its Bool if it is one, else true
QString defaultMode(const Preferences &p);                    // "wpm"
QString defaultGrade(const Preferences &p);                   // "12"
QString defaultReview(const Preferences &p);                  // "medium"
QString defaultPreset(const Preferences &p);                  // "balanced"
QString profileName(const Preferences &p);                    // empty
std::optional<QByteArray> profileImage(const Preferences &p); // none
// Project id text to character index; empty when any value is not an integer.
QMap<QString, qint64> resumeProgress(const Preferences &p);
} // namespace prefs

} // namespace qv::state
