#include "app/AppCommands.h"

#include "app/NotificationCenter.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace qv::app {

AppCommands::AppCommands(std::function<void()> checkForUpdates, QObject *parent)
    : QObject(parent), m_checkForUpdates(std::move(checkForUpdates)),
      m_newProject(new QAction(QStringLiteral("New Project"), this)),
      m_checkForUpdatesAction(new QAction(QStringLiteral("Check for Updates"), this))
{
    m_newProject->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_newProject->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_newProject, &QAction::triggered, this,
            [] { NotificationCenter::defaultCenter().post(notifications::openNewProject); });
    connect(m_checkForUpdatesAction, &QAction::triggered, this, [this] {
        if (m_checkForUpdates)
            m_checkForUpdates();
    });
}

void AppCommands::install(QWidget *window)
{
    if (!window || m_menuBar)
        return;
    window->addAction(m_newProject);
    window->addAction(m_checkForUpdatesAction);

    m_menuBar = new QMenuBar(window);
    m_menu = m_menuBar->addMenu(QStringLiteral("Quorvel"));
    m_menu->addAction(m_newProject);
    m_menu->addAction(m_checkForUpdatesAction);
    // Only a global menu: a bar inside the frameless window has no place.
    if (!m_menuBar->isNativeMenuBar())
        m_menuBar->hide();
    // A menu of its own for the island: one exported to a global menu is not
    // popped up in the window as well.
    m_islandMenu = new QMenu(QStringLiteral("Quorvel"), window);
    m_islandMenu->addAction(m_newProject);
    m_islandMenu->addAction(m_checkForUpdatesAction);
}

} // namespace qv::app
