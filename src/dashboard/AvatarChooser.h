#pragma once

#include <QString>

class QObject;

namespace qv {
namespace platform {
class FileChooser;
}
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

// Lets the user pick a new profile picture: a PNG, JPEG or TIFF file whose
// bytes, as read, become the avatar and are kept in the preferences.
class AvatarChooser {
public:
    AvatarChooser(state::AppState &appState, platform::FileChooser *chooser);

    // Asks for a file without blocking; the answer is dropped when `context`
    // has gone by then. Without a file chooser nothing happens.
    void choose(QObject *context);
    // What an answer does: a file of another kind counts as a cancel, one
    // that cannot be read changes nothing. Returns whether it was stored.
    bool take(const QString &path);

    // PNG, JPEG or TIFF by the file's name.
    static bool isAcceptedPicture(const QString &path);

private:
    state::AppState &m_appState;
    platform::FileChooser *m_chooser;
};

} // namespace qv::dashboard
