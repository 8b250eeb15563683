#pragma once

#include <QStringList>

class QWidget;

namespace qv {
class NoticeBanner;
namespace state {
class Preferences;
}
} // namespace qv

namespace qv::editor {

// The notice of a window that keeps some of its values in the preferences
// (the editor's draft, the panel's resume positions). A write of the store
// that fails while one of `keys` waits to be written is shown here, where the
// user acted, and not only behind this window on the dashboard. `what` names
// the values in the sentence ("your draft").
NoticeBanner *makePreferencesNotice(state::Preferences &preferences, const QStringList &keys, const QString &what,
                                    QWidget *parent);

} // namespace qv::editor
