// AT-SPI's GLib headers use "signals" as a name: they come before Qt's.
#include <atspi/atspi.h>

#include "platform/linux/AtspiAccessibility.h"

#include "platform/linux/AtspiCall.h"
#include "platform/linux/AtspiElementRef.h"
#include "platform/linux/AtspiRoles.h"
#include "platform/linux/X11Workspace.h"

#include <QRect>

#include <algorithm>
#include <deque>

namespace qv::linuxdesktop {

using platform::Element;

namespace {

constexpr int kMaxWalkNodes = 600;
constexpr int kMaxWalkDepth = 40;
constexpr int kMaxHitDepth = 40;

bool has(quint64 bits, int state) { return bits & (quint64(1) << state); }

} // namespace

// ---- look-ups ----------------------------------------------------------------

Owned<AtspiAccessible> AtspiAccessibility::appForPid(qint64 pid)
{
    if (!admits(pid))
        return nullptr;
    const Owned<AtspiAccessible> desktop(atspi_get_desktop(0));
    if (!desktop)
        return nullptr;
    ErrorSlot countError;
    const int count = atspi_accessible_get_child_count(desktop.get(), countError.out());
    for (int i = 0; i < count; ++i) {
        ErrorSlot childError;
        Owned<AtspiAccessible> app(atspi_accessible_get_child_at_index(desktop.get(), i, childError.out()));
        if (app && pidOf(app.get()) == pid)
            return app;
    }
    return nullptr;
}

std::vector<Owned<AtspiAccessible>> AtspiAccessibility::children(AtspiAccessible *accessible, qint64 pid, int limit)
{
    std::vector<Owned<AtspiAccessible>> out;
    Call call(*this, pid);
    const int count = atspi_accessible_get_child_count(accessible, call.error());
    for (int i = 0; i < count && i < limit && !call.failed(); ++i)
        if (Owned<AtspiAccessible> child{atspi_accessible_get_child_at_index(accessible, i, nullptr)})
            out.push_back(std::move(child));
    return out;
}

std::optional<quint64> AtspiAccessibility::states(AtspiAccessible *accessible, qint64 pid)
{
    if (!accessible || !admits(pid))
        return std::nullopt;
    Owned<AtspiStateSet> set;
    {
        Call call(*this, pid);
        set = call.keep(Owned<AtspiStateSet>(atspi_accessible_get_state_set(accessible)));
    }
    if (!set)
        return std::nullopt;
    quint64 bits = 0;
    if (const OwnedArray list{atspi_state_set_get_states(set.get())}) {
        for (guint i = 0; i < list->len; ++i) {
            const int s = g_array_index(list.get(), AtspiStateType, i);
            if (s >= 0 && s < 64)
                bits |= quint64(1) << s;
        }
    }
    return bits;
}

bool AtspiAccessibility::hasState(AtspiAccessible *accessible, qint64 pid, int state)
{
    const auto bits = states(accessible, pid);
    return bits && has(*bits, state);
}

std::optional<int> AtspiAccessibility::role(AtspiAccessible *accessible, qint64 pid)
{
    if (!accessible || !admits(pid))
        return std::nullopt;
    Call call(*this, pid);
    const AtspiRole r = atspi_accessible_get_role(accessible, call.error());
    if (call.failed())
        return std::nullopt;
    return int(r);
}

std::optional<bool> AtspiAccessibility::lineKind(AtspiAccessible *accessible, qint64 pid, int atspiRole)
{
    const auto bits = states(accessible, pid);
    if (!bits)
        return std::nullopt;
    return roles::lineKind(atspiRole, has(*bits, ATSPI_STATE_MULTI_LINE), has(*bits, ATSPI_STATE_SINGLE_LINE),
                           has(*bits, ATSPI_STATE_EDITABLE), toolkitOf(pid));
}

// ---- the focused element -------------------------------------------------------

Owned<AtspiAccessible> AtspiAccessibility::focusedByCollection(AtspiAccessible *window, qint64 pid, bool &answered)
{
    answered = false;
    const Owned<AtspiCollection> collection = iface(atspi_accessible_get_collection_iface, window, pid);
    if (!collection)
        return nullptr;
    // Some toolkits leave the focused state on hidden objects (a tab behind
    // another): the focused object showing on screen first.
    for (const bool showing : {true, false}) {
        if (!admits(pid))
            break;
        const Owned<AtspiStateSet> wanted(atspi_state_set_new(nullptr));
        atspi_state_set_add(wanted.get(), ATSPI_STATE_FOCUSED);
        if (showing)
            atspi_state_set_add(wanted.get(), ATSPI_STATE_SHOWING);
        const Owned<AtspiMatchRule> rule(
            atspi_match_rule_new(wanted.get(), ATSPI_Collection_MATCH_ALL, nullptr, ATSPI_Collection_MATCH_ALL, nullptr,
                                 ATSPI_Collection_MATCH_ALL, nullptr, ATSPI_Collection_MATCH_ALL, FALSE));
        OwnedObjectArray matches;
        {
            Call call(*this, pid);
            matches.reset(atspi_collection_get_matches(collection.get(), rule.get(),
                                                       ATSPI_Collection_SORT_ORDER_CANONICAL, 1, TRUE, call.error()));
        }
        if (!matches)
            continue;
        answered = true;
        if (matches->len > 0)
            return ref(g_array_index(matches.get(), AtspiAccessible *, 0));
    }
    return nullptr;
}

Owned<AtspiAccessible> AtspiAccessibility::findFocused(AtspiAccessible *app, qint64 pid)
{
    if (!app || !admits(pid))
        return nullptr;
    std::vector<Owned<AtspiAccessible>> windows = children(app, pid, kMaxChildrenPerNode);
    // The active window first.
    std::stable_partition(windows.begin(), windows.end(),
                          [&](const Owned<AtspiAccessible> &w) { return hasState(w.get(), pid, ATSPI_STATE_ACTIVE); });
    for (const Owned<AtspiAccessible> &window : windows) {
        if (!admits(pid))
            break;
        // One query where the application can search itself.
        bool answered = false;
        if (Owned<AtspiAccessible> found = focusedByCollection(window.get(), pid, answered))
            return found;
        if (answered)
            continue;
        // Otherwise a bounded walk of the window.
        std::deque<std::pair<Owned<AtspiAccessible>, int>> queue;
        queue.emplace_back(ref(window.get()), 0);
        for (int visited = 0; !queue.empty() && visited < kMaxWalkNodes && admits(pid); ++visited) {
            auto [node, depth] = std::move(queue.front());
            queue.pop_front();
            const auto bits = states(node.get(), pid);
            if (bits && has(*bits, ATSPI_STATE_FOCUSED))
                return std::move(node);
            const bool descend = bits && depth < kMaxWalkDepth && has(*bits, ATSPI_STATE_SHOWING)
                                 && !has(*bits, ATSPI_STATE_MANAGES_DESCENDANTS);
            if (descend)
                for (Owned<AtspiAccessible> &child : children(node.get(), pid, kMaxChildrenPerNode))
                    queue.emplace_back(std::move(child), depth + 1);
        }
    }
    return nullptr;
}

Element AtspiAccessibility::systemFocusedElement()
{
    const qint64 pid = m_workspace.frontmostPid();
    if (!admits(pid))
        return {};
    if (!focusCacheHolds(pid)) {
        const Owned<AtspiAccessible> app = appForPid(pid);
        if (!app)
            return {};
        const Owned<AtspiAccessible> focused = findFocused(app.get(), pid);
        if (!focused)
            return {};
        setFocusCache(focused.get(), pid);
    }
    // What the focus stands in, worked out once per focus change.
    if (!m_promoted)
        m_promoted = promote(ref(m_focused.get()), pid);
    return wrap(ref(m_promoted.get()));
}

Element AtspiAccessibility::applicationElement(qint64 pid) { return wrap(appForPid(pid)); }

// ---- the element at a point ------------------------------------------------------

Owned<AtspiAccessible> AtspiAccessibility::deepestAt(AtspiAccessible *root, qint64 pid, QPoint global)
{
    Owned<AtspiAccessible> current = ref(root);
    for (int depth = 0; depth < kMaxHitDepth && admits(pid); ++depth) {
        const Owned<AtspiComponent> component = iface(atspi_accessible_get_component_iface, current.get(), pid);
        if (!component)
            break;
        Owned<AtspiAccessible> child;
        {
            Call call(*this, pid);
            child = call.keep(Owned<AtspiAccessible>(atspi_component_get_accessible_at_point(
                component.get(), global.x(), global.y(), ATSPI_COORD_TYPE_SCREEN, call.error())));
        }
        if (!child || AtspiElementRef::same(child.get(), current.get()))
            break;
        current = std::move(child);
    }
    return current;
}

Owned<AtspiAccessible> AtspiAccessibility::windowAt(AtspiAccessible *app, qint64 pid, QPoint global)
{
    Owned<AtspiAccessible> window;
    for (const Owned<AtspiAccessible> &w : children(app, pid, kMaxChildrenPerNode)) {
        if (!admits(pid))
            break;
        const Owned<AtspiComponent> component = iface(atspi_accessible_get_component_iface, w.get(), pid);
        if (!component)
            continue;
        Allocated<AtspiRect> rect;
        {
            Call call(*this, pid);
            rect = call.keep(Allocated<AtspiRect>(
                atspi_component_get_extents(component.get(), ATSPI_COORD_TYPE_SCREEN, call.error())));
        }
        if (!rect || !QRect(rect->x, rect->y, rect->width, rect->height).contains(global))
            continue;
        if (hasState(w.get(), pid, ATSPI_STATE_ACTIVE))
            return ref(w.get());
        if (!window)
            window = ref(w.get());
    }
    return window;
}

Element AtspiAccessibility::elementAtPoint(QPoint global)
{
    const qint64 pid = m_workspace.pidOfWindowAt(global);
    if (!admits(pid))
        return {};
    const Owned<AtspiAccessible> app = appForPid(pid);
    if (!app)
        return {};
    const Owned<AtspiAccessible> window = windowAt(app.get(), pid, global);
    if (!window)
        return {};
    Owned<AtspiAccessible> hit = deepestAt(window.get(), pid, global);
    // A browser's first hit test may stop at the whole document: ask again.
    if (hit && role(hit.get(), pid) == ATSPI_ROLE_DOCUMENT_WEB)
        hit = deepestAt(hit.get(), pid, global);
    return wrap(promote(std::move(hit), pid));
}

} // namespace qv::linuxdesktop
