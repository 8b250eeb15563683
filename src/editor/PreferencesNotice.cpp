#include "editor/PreferencesNotice.h"

#include "model/SaveResult.h"
#include "state/Preferences.h"
#include "theme/NoticeBanner.h"

#include <algorithm>

namespace qv::editor {

NoticeBanner *makePreferencesNotice(state::Preferences &preferences, const QStringList &keys, const QString &what,
                                    QWidget *parent)
{
    auto *notice = new NoticeBanner(parent);
    QObject::connect(&preferences, &state::Preferences::saveFailed, notice,
                     [notice, &preferences, keys, what](const QString &reason) {
                         const QSet<QString> &unsaved = preferences.unsavedKeys();
                         const bool ours = std::any_of(keys.begin(), keys.end(),
                                                       [&](const QString &key) { return unsaved.contains(key); });
                         if (ours)
                             notice->present(saveFailureText(what, SaveResult::failure(reason)));
                     });
    return notice;
}

} // namespace qv::editor
