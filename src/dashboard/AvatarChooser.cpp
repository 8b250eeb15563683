#include "dashboard/AvatarChooser.h"

#include "core/RegularFile.h"
#include "platform/FileChooser.h"
#include "state/AppState.h"
#include "state/PreferenceKeys.h"
#include "state/Preferences.h"
#include "state/PreferencesFile.h"

#include <QMimeDatabase>
#include <QPointer>

namespace qv::dashboard {

AvatarChooser::AvatarChooser(state::AppState &appState, platform::FileChooser *chooser)
    : m_appState(appState), m_chooser(chooser)
{
}

bool AvatarChooser::isAcceptedPicture(const QString &path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    for (const char *accepted : {"image/png", "image/jpeg", "image/tiff"})
        if (type.inherits(QString::fromLatin1(accepted)))
            return true;
    return false;
}

void AvatarChooser::choose(QObject *context)
{
    if (!m_chooser)
        return;
    platform::FileChooserRequest request;
    request.title = QStringLiteral("Choose a Profile Picture");
    request.nameFilters = {QStringLiteral("Images (*.png *.jpg *.jpeg *.tif *.tiff)")};
    // The state object outlives every window; the context guards the asker.
    state::AppState *app = &m_appState;
    platform::FileChooser *chooser = m_chooser;
    m_chooser->chooseFile(request, context, [app, chooser](std::optional<QString> path) {
        if (path)
            AvatarChooser(*app, chooser).take(*path);
    });
}

bool AvatarChooser::take(const QString &path)
{
    if (!isAcceptedPicture(path))
        return false;
    // A named pipe or a device under a picture's name would hold the window
    // or never end: only a regular file the preferences can hold again.
    const RegularFileRead file = readRegularFile(path, state::PreferencesFile::kMaxFileBytes);
    if (file.outcome != RegularFileRead::Outcome::read)
        return false;
    const QByteArray &bytes = file.bytes;
    // Stored as read: no conversion, no scaling.
    m_appState.setProfileImageData(bytes);
    m_appState.preferences().setData(state::keys::profileImage, bytes);
    return true;
}

} // namespace qv::dashboard
