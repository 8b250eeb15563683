#include "state/ResumeStore.h"

#include "state/PreferenceKeys.h"
#include "state/Preferences.h"

#include <algorithm>
#include <limits>

namespace qv::state {

QString ResumeStore::keyFor(const Project &project) { return project.id.toString(QUuid::WithoutBraces).toUpper(); }

int ResumeStore::resumeIndex(const Project &project) const
{
    const qint64 stored = prefs::resumeProgress(m_preferences).value(keyFor(project), 0);
    // A hand-edited store may hold anything; positions are counts of characters.
    return int(std::clamp<qint64>(stored, 0, std::numeric_limits<int>::max()));
}

void ResumeStore::setResumeIndex(qint64 index, const Project &project)
{
    QMap<QString, qint64> store = prefs::resumeProgress(m_preferences);
    store.insert(keyFor(project), std::max<qint64>(index, 0));
    m_preferences.setIntDictionary(keys::resumeProgress, store);
}

void ResumeStore::clearResumeIndex(const Project &project)
{
    QMap<QString, qint64> store = prefs::resumeProgress(m_preferences);
    store.remove(keyFor(project));
    m_preferences.setIntDictionary(keys::resumeProgress, store);
}

} // namespace qv::state
