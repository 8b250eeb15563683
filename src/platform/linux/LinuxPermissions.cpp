#include <gio/gio.h>

#include "platform/linux/LinuxPermissions.h"

#include "platform/linux/GlibOwners.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace qv::linuxdesktop {

namespace {

constexpr int kBusTimeoutMs = 1000;

Owned<GDBusConnection> sessionBus()
{
    ErrorSlot error;
    return Owned<GDBusConnection>(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, error.out()));
}

std::optional<bool> a11yEnabled()
{
    const Owned<GDBusConnection> bus = sessionBus();
    if (!bus)
        return std::nullopt;
    ErrorSlot error;
    const OwnedVariant reply(
        g_dbus_connection_call_sync(bus.get(), "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties",
                                    "Get", g_variant_new("(ss)", "org.a11y.Status", "IsEnabled"), G_VARIANT_TYPE("(v)"),
                                    G_DBUS_CALL_FLAGS_NONE, kBusTimeoutMs, nullptr, error.out()));
    if (!reply)
        return std::nullopt;
    GVariant *value = nullptr;
    g_variant_get(reply.get(), "(v)", &value);
    const OwnedVariant boxed(value);
    if (boxed && g_variant_is_of_type(boxed.get(), G_VARIANT_TYPE_BOOLEAN))
        return bool(g_variant_get_boolean(boxed.get()));
    return std::nullopt;
}

} // namespace

LinuxPermissions::LinuxPermissions(bool xtestAvailable) : m_xtest(xtestAvailable) {}

bool LinuxPermissions::isWaylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE").compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool LinuxPermissions::accessibilityReady() { return a11yEnabled().value_or(false); }

bool LinuxPermissions::inputSynthesisReady() { return m_xtest && !isWaylandSession(); }

void LinuxPermissions::requestAccessibility()
{
    // The desktop's own switch: applications started from now on expose
    // their interfaces.
    const Owned<GDBusConnection> bus = sessionBus();
    if (!bus)
        return;
    ErrorSlot error;
    const OwnedVariant reply(g_dbus_connection_call_sync(
        bus.get(), "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
        g_variant_new("(ssv)", "org.a11y.Status", "IsEnabled", g_variant_new_boolean(TRUE)), nullptr,
        G_DBUS_CALL_FLAGS_NONE, kBusTimeoutMs, nullptr, error.out()));
}

void LinuxPermissions::requestInputSynthesis()
{
    // X11 has nothing to ask; Wayland offers no way for us.
}

void LinuxPermissions::openAccessibilitySettings()
{
    struct Panel {
        const char *program;
        QStringList arguments;
    };
    const Panel panels[] = {
        {"gnome-control-center", {QStringLiteral("universal-access")}},
        {"systemsettings", {QStringLiteral("kcm_access")}},
        {"xfce4-accessibility-settings", {}},
        {"mate-at-properties", {}},
    };
    for (const Panel &panel : panels) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(panel.program));
        if (!path.isEmpty() && QProcess::startDetached(path, panel.arguments))
            return;
    }
    if (m_helpUrl.isValid())
        QDesktopServices::openUrl(m_helpUrl);
}

void LinuxPermissions::openInputSettings()
{
    // There is no setting for synthetic input: its part of the help page
    // explains the X11 session it needs. Where keys already reach other
    // programs there is nothing to explain, and the accessibility guide may
    // just have opened the same page.
    if (inputSynthesisReady() || !m_helpUrl.isValid())
        return;
    QUrl guide = m_helpUrl;
    guide.setFragment(QStringLiteral("input-monitoring"));
    QDesktopServices::openUrl(guide);
}

} // namespace qv::linuxdesktop
