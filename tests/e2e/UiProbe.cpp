#include "UiProbe.h"

#include <atspi/atspi.h>

#include <algorithm>
#include <functional>

namespace qv::e2e {

namespace {

struct Unref {
    void operator()(gpointer p) const
    {
        if (p)
            g_object_unref(p);
    }
};
using Acc = std::unique_ptr<AtspiAccessible, Unref>;

void ensureInit()
{
    static const bool ready = [] {
        atspi_init();
        return true;
    }();
    (void)ready;
}

QString takeString(gchar *s)
{
    const QString out = s ? QString::fromUtf8(s) : QString();
    g_free(s);
    return out;
}

Acc applicationOf(qint64 pid)
{
    ensureInit();
    Acc desktop(atspi_get_desktop(0));
    if (!desktop)
        return {};
    const gint count = atspi_accessible_get_child_count(desktop.get(), nullptr);
    for (gint i = 0; i < count; ++i) {
        Acc app(atspi_accessible_get_child_at_index(desktop.get(), i, nullptr));
        if (!app)
            continue;
        GError *error = nullptr;
        const guint appPid = atspi_accessible_get_process_id(app.get(), &error);
        if (error) {
            g_error_free(error);
            continue;
        }
        if (qint64(appPid) == pid) {
            atspi_accessible_clear_cache(app.get());
            return app;
        }
    }
    return {};
}

bool stateOf(AtspiAccessible *acc, AtspiStateType state)
{
    AtspiStateSet *set = atspi_accessible_get_state_set(acc);
    if (!set)
        return false;
    const bool on = atspi_state_set_contains(set, state);
    g_object_unref(set);
    return on;
}

// Depth first through showing elements; stops at the first match.
Acc search(AtspiAccessible *node, const std::function<bool(AtspiAccessible *)> &match, int depth = 0)
{
    if (depth > 40)
        return {};
    const gint count = atspi_accessible_get_child_count(node, nullptr);
    for (gint i = 0; i < count; ++i) {
        Acc child(atspi_accessible_get_child_at_index(node, i, nullptr));
        if (!child || !stateOf(child.get(), ATSPI_STATE_SHOWING))
            continue;
        if (match(child.get()))
            return child;
        if (Acc found = search(child.get(), match, depth + 1))
            return found;
    }
    return {};
}

std::function<bool(AtspiAccessible *)> named(const QString &name, const QString &role)
{
    return [name, role](AtspiAccessible *acc) {
        if (takeString(atspi_accessible_get_name(acc, nullptr)) != name)
            return false;
        return role.isEmpty() || takeString(atspi_accessible_get_role_name(acc, nullptr)) == role;
    };
}

QRect extentsOf(AtspiAccessible *acc)
{
    QRect out;
    AtspiComponent *component = atspi_accessible_get_component_iface(acc);
    if (!component)
        return out;
    GError *error = nullptr;
    AtspiRect *rect = atspi_component_get_extents(component, ATSPI_COORD_TYPE_SCREEN, &error);
    if (rect) {
        out = QRect(rect->x, rect->y, rect->width, rect->height);
        g_free(rect);
    }
    if (error)
        g_error_free(error);
    g_object_unref(component);
    return out;
}

bool checkedOf(AtspiAccessible *acc) { return stateOf(acc, ATSPI_STATE_CHECKED) || stateOf(acc, ATSPI_STATE_PRESSED); }

void collect(AtspiAccessible *node, QList<UiProbe::Element> &out, int window, int parent, int depth = 0)
{
    if (depth > 40)
        return;
    const gint count = atspi_accessible_get_child_count(node, nullptr);
    for (gint i = 0; i < count; ++i) {
        Acc child(atspi_accessible_get_child_at_index(node, i, nullptr));
        if (!child || !stateOf(child.get(), ATSPI_STATE_SHOWING))
            continue;
        UiProbe::Element e;
        e.name = takeString(atspi_accessible_get_name(child.get(), nullptr));
        e.role = takeString(atspi_accessible_get_role_name(child.get(), nullptr));
        e.extents = extentsOf(child.get());
        e.children = std::max(0, int(atspi_accessible_get_child_count(child.get(), nullptr)));
        e.checked = checkedOf(child.get());
        e.window = depth == 0 ? i : window;
        e.topLevel = depth == 0;
        e.parent = parent;
        out.append(e);
        collect(child.get(), out, e.window, int(out.size()) - 1, depth + 1);
    }
}

} // namespace

UiProbe::UiProbe(qint64 pid) : m_pid(pid) {}

bool UiProbe::setText(const QString &name, const QString &text, const QString &role) const
{
    Acc app = applicationOf(m_pid);
    if (!app)
        return false;
    Acc found = search(app.get(), named(name, role));
    if (!found)
        return false;
    AtspiEditableText *editable = atspi_accessible_get_editable_text_iface(found.get());
    if (!editable)
        return false;
    GError *error = nullptr;
    const bool ok = atspi_editable_text_set_text_contents(editable, text.toUtf8().constData(), &error);
    if (error)
        g_error_free(error);
    g_object_unref(editable);
    return ok;
}

std::optional<UiProbe::Found> UiProbe::find(const QString &name, const QString &role, const QString &within) const
{
    Acc app = applicationOf(m_pid);
    if (!app)
        return std::nullopt;
    Acc root;
    AtspiAccessible *from = app.get();
    if (!within.isEmpty()) {
        root = search(app.get(), named(within, {}));
        if (!root)
            return std::nullopt;
        from = root.get();
    }
    Acc found = search(from, named(name, role));
    if (!found)
        return std::nullopt;
    Found out;
    out.role = takeString(atspi_accessible_get_role_name(found.get(), nullptr));
    out.checked = checkedOf(found.get());
    out.enabled = stateOf(found.get(), ATSPI_STATE_ENABLED);
    out.extents = extentsOf(found.get());
    return out;
}

std::optional<QString> UiProbe::text(const QString &name, const QString &role) const
{
    Acc app = applicationOf(m_pid);
    if (!app)
        return std::nullopt;
    Acc found = search(app.get(), named(name, role));
    if (!found)
        return std::nullopt;
    AtspiText *text = atspi_accessible_get_text_iface(found.get());
    if (!text)
        return std::nullopt;
    GError *error = nullptr;
    const gint length = atspi_text_get_character_count(text, &error);
    std::optional<QString> out;
    if (!error)
        out = takeString(atspi_text_get_text(text, 0, length, &error));
    if (error) {
        g_error_free(error);
        out.reset();
    }
    g_object_unref(text);
    return out;
}

QList<UiProbe::Element> UiProbe::all() const
{
    QList<Element> out;
    if (Acc app = applicationOf(m_pid))
        collect(app.get(), out, 0, -1);
    return out;
}

} // namespace qv::e2e
