#include <gio/gio.h>

#include "platform/linux/LinuxDesktop.h"

#include "platform/linux/GlibOwners.h"

#include <QCryptographicHash>

namespace qv::linuxdesktop {

LinuxDesktop::LinuxDesktop(QString desktopFileId) : m_desktopFileId(std::move(desktopFileId)) {}

void LinuxDesktop::setBadgeLabel(const QString &label)
{
    if (label == m_label)
        return;
    m_label = label;
    ErrorSlot error;
    const Owned<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, error.out()));
    if (!bus)
        return; // no session bus, nobody to show it
    // The entry carries a count, not text: a number shows as itself, any
    // other label as 1, an empty one hides the badge.
    bool numeric = false;
    const qint64 number = label.toLongLong(&numeric);
    const qint64 count = label.isEmpty() ? 0 : (numeric ? number : 1);
    const QByteArray uri = "application://" + m_desktopFileId.toUtf8() + ".desktop";
    const QByteArray path = "/com/canonical/unity/launcherentry/"
                            + QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex();
    GVariantBuilder props;
    g_variant_builder_init(&props, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&props, "{sv}", "count", g_variant_new_int64(count));
    g_variant_builder_add(&props, "{sv}", "count-visible", g_variant_new_boolean(!label.isEmpty()));
    g_dbus_connection_emit_signal(bus.get(), nullptr, path.constData(), "com.canonical.Unity.LauncherEntry", "Update",
                                  g_variant_new("(sa{sv})", uri.constData(), &props), nullptr);
    g_dbus_connection_flush_sync(bus.get(), nullptr, nullptr);
}

bool LinuxDesktop::reduceMotion()
{
    // Absent schema or key: the desktop has no such setting, so motion stays.
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return false;
    const OwnedSchema schema(g_settings_schema_source_lookup(source, "org.gnome.desktop.interface", TRUE));
    if (!schema || !g_settings_schema_has_key(schema.get(), "enable-animations"))
        return false;
    const Owned<GSettings> settings(g_settings_new_full(schema.get(), nullptr, nullptr));
    return !g_settings_get_boolean(settings.get(), "enable-animations");
}

} // namespace qv::linuxdesktop
