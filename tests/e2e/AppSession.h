#pragma once

#include "SyntheticInput.h"
#include "TargetApp.h"
#include "UiProbe.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <optional>
#include <ostream>
#include <string>

// Readable failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

// What the tests that run the application itself share: its environment
// and looking for its controls while it runs.
namespace qv::e2e {

// Roles as the accessibility bus names them.
inline const QString kButton = QStringLiteral("push button");
inline const QString kLabel = QStringLiteral("label");

// A home and configuration of its own, the accessibility bridge on, X11.
inline QProcessEnvironment appEnvironment(const QTemporaryDir &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

// The element once it shows; nothing when the time is up or the program ended.
inline std::optional<UiProbe::Found> waitForShown(const UiProbe &ui, const QProcess &app, const QString &name,
                                                  const QString &role, int timeoutMs, const QString &within)
{
    std::optional<UiProbe::Found> found;
    waitUntil(
        [&] {
            found = ui.find(name, role, within);
            return found.has_value() || app.state() == QProcess::NotRunning;
        },
        timeoutMs);
    return found;
}

// Looks into one reading of the program's elements (UiProbe::all()).
namespace look {

// The first element named `name` (and of role `role`, when given).
inline const UiProbe::Element *named(const QList<UiProbe::Element> &all, const QString &name, const QString &role = {})
{
    for (const UiProbe::Element &e : all)
        if (e.name == name && (role.isEmpty() || e.role == role))
            return &e;
    return nullptr;
}

// The screen rectangle of the window that holds `e` (its top-level element).
inline QRect windowOf(const QList<UiProbe::Element> &all, const UiProbe::Element &e)
{
    for (const UiProbe::Element &w : all)
        if (w.topLevel && w.window == e.window)
            return w.extents;
    return {};
}

// The main window: the largest one.
inline QRect mainWindow(const QList<UiProbe::Element> &all)
{
    QRect best;
    for (const UiProbe::Element &w : all)
        if (w.topLevel && w.extents.width() * w.extents.height() > best.width() * best.height())
            best = w.extents;
    return best;
}

inline std::string describe(const QRect &r)
{
    return QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()).toStdString();
}

} // namespace look

// Clicks the middle of a control once it shows.
inline bool clickShown(const UiProbe &ui, const QProcess &app, const QString &name, const QString &role, int timeoutMs,
                       const QString &within)
{
    const auto found = waitForShown(ui, app, name, role, timeoutMs, within);
    return found && !found->extents.isEmpty() && input::click(found->extents.center());
}

} // namespace qv::e2e
