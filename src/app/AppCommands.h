#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace qv::app {

// The "Quorvel" menu: "New Project" (Ctrl+N) posts the open-new-project
// notification; "Check for Updates" asks for an update check that always
// answers. The menu appears in the desktop's global menu where there is one;
// a bar inside the frameless window has no place, so the same menu also
// opens from a button on the window-controls island, on every desktop. Ctrl+N
// works from every window of the application.
class AppCommands final : public QObject {
    Q_OBJECT
public:
    explicit AppCommands(std::function<void()> checkForUpdates, QObject *parent = nullptr);

    // Registers the actions on `window` for the whole application and gives
    // it the menu bar (shown only as a global menu).
    void install(QWidget *window);

    QAction *newProjectAction() const { return m_newProject; }
    QAction *checkForUpdatesAction() const { return m_checkForUpdatesAction; }
    QMenu *menu() const { return m_menu; }
    // The same two commands, for the window-controls island's menu button.
    QMenu *islandMenu() const { return m_islandMenu; }
    QMenuBar *menuBar() const { return m_menuBar; }

private:
    std::function<void()> m_checkForUpdates;
    QAction *m_newProject;
    QAction *m_checkForUpdatesAction;
    QMenu *m_menu = nullptr;
    QMenu *m_islandMenu = nullptr;
    QMenuBar *m_menuBar = nullptr;
};

} // namespace qv::app
