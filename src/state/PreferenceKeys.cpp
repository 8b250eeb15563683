#include "state/PreferenceKeys.h"

#include "state/Preferences.h"

namespace qv::state::prefs {

bool autoUpdateEnabled(const Preferences &p) { return p.boolValue(keys::autoUpdateEnabled).value_or(false); }
bool reduceMotion(const Preferences &p) { return p.boolValue(keys::reduceMotion).value_or(false); }
bool showSmartBrief(const Preferences &p) { return p.boolValue(keys::showSmartBrief).value_or(true); }
QString defaultMode(const Preferences &p) { return p.stringValue(keys::defaultMode).value_or(QStringLiteral("wpm")); }
QString defaultGrade(const Preferences &p) { return p.stringValue(keys::defaultGrade).value_or(QStringLiteral("12")); }
QString defaultReview(const Preferences &p)
{
    return p.stringValue(keys::defaultReview).value_or(QStringLiteral("medium"));
}
QString defaultPreset(const Preferences &p)
{
    return p.stringValue(keys::defaultPreset).value_or(QStringLiteral("balanced"));
}
QString profileName(const Preferences &p) { return p.stringValue(keys::profileName).value_or(QString()); }
std::optional<QByteArray> profileImage(const Preferences &p) { return p.dataValue(keys::profileImage); }
QMap<QString, qint64> resumeProgress(const Preferences &p)
{
    return p.intDictionaryValue(keys::resumeProgress).value_or(QMap<QString, qint64>());
}

} // namespace qv::state::prefs
