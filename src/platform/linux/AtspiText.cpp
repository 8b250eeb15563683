// AT-SPI's GLib headers use "signals" as a name: they come before Qt's.
#include <atspi/atspi.h>

#include "platform/linux/AtspiAccessibility.h"

#include "core/Text.h"
#include "platform/linux/AtspiCall.h"
#include "platform/linux/AtspiElementRef.h"

namespace qv::linuxdesktop {

using platform::TextRange;

Toolkit AtspiAccessibility::toolkitOf(qint64 pid)
{
    const auto it = m_toolkits.constFind(pid);
    if (it != m_toolkits.constEnd())
        return *it;
    const Owned<AtspiAccessible> app = appForPid(pid);
    if (!app)
        return Toolkit::Unknown;
    OwnedString name;
    {
        Call call(*this, pid);
        name = call.keep(OwnedString(atspi_accessible_get_toolkit_name(app.get(), call.error())));
    }
    if (!name)
        return Toolkit::Unknown; // not cached: ask again next time
    const QString n = QString::fromUtf8(name.get());
    const Toolkit toolkit = toolkits::fromName(n);
    m_toolkits.insert(pid, toolkit);
    m_toolkitNames.insert(pid, n);
    return toolkit;
}

std::optional<AtspiAccessibility::TextState> AtspiAccessibility::textState(AtspiAccessible *accessible, qint64 pid)
{
    if (!accessible || !admits(pid))
        return std::nullopt;
    const Owned<AtspiText> text = iface(atspi_accessible_get_text_iface, accessible, pid);
    if (!text)
        return std::nullopt;
    // Qt places a cursor at the end asked for: when the text got shorter
    // since the count was read (a key landed), it refuses with a warning and
    // answers from the wrong place. Asked for the end as it is then (-1), it
    // answers right.
    const Toolkit toolkit = toolkitOf(pid);
    const bool toTheEnd = toolkit == Toolkit::Qt;
    gint count = 0;
    OwnedString utf8;
    {
        Call call(*this, pid);
        count = atspi_text_get_character_count(text.get(), call.error());
        if (!call.failed())
            utf8.reset(atspi_text_get_text(text.get(), 0, toTheEnd ? -1 : count, call.error()));
        // A failed call still hands back an empty string.
        utf8 = call.keep(std::move(utf8));
    }
    if (!utf8)
        return std::nullopt;
    TextState state;
    state.text = QString::fromUtf8(utf8.get());
    if (toolkit == Toolkit::Gecko) {
        // Its offsets count UTF-16 units of the text without its marks.
        state.text = offsets::withoutAstralMarks(state.text);
        state.unit = OffsetUnit::Utf16;
        return state;
    }
    state.unit = offsets::resolve(state.text, count, m_toolkitNames.value(pid));
    // Chromium reads a text area whose value ends in a line break with one
    // more line break after it (the empty last line it draws); the value
    // itself holds one fewer. Offsets before the end are unaffected.
    if (state.text.endsWith(QLatin1Char('\n')) && toolkit == Toolkit::Chromium
        && role(accessible, pid) == int(ATSPI_ROLE_ENTRY) && hasState(accessible, pid, ATSPI_STATE_MULTI_LINE))
        state.text.chop(1);
    return state;
}

std::optional<TextRange> AtspiAccessibility::ownSelection(AtspiText *text, AtspiAccessible *accessible, qint64 pid,
                                                          const TextState &state, Call &call)
{
    const gint n = atspi_text_get_n_selections(text, call.error());
    if (call.failed() || n <= 0)
        return std::nullopt;
    const Allocated<AtspiRange> r = call.keep(Allocated<AtspiRange>(atspi_text_get_selection(text, 0, call.error())));
    if (!r)
        return std::nullopt;
    const gint start = std::min(r->start_offset, r->end_offset);
    const gint end = std::max(r->start_offset, r->end_offset);
    if (toolkitOf(pid) != Toolkit::Chromium || state.text.size() == text::codePointCount(state.text)) {
        const qint64 a = offsets::toUtf16(state.text, start, state.unit);
        return TextRange{a, offsets::toUtf16(state.text, end, state.unit) - a};
    }
    // Chromium miscounts its selection report around astral characters;
    // its caret, which is the selection's moving end, it counts right.
    const gint caret = atspi_text_get_caret_offset(text, call.error());
    if (call.failed() || caret < 0)
        return std::nullopt;
    std::optional<std::pair<qint64, qint64>> written;
    if (m_written && m_written->text == state.text && AtspiElementRef::same(m_written->accessible.get(), accessible))
        written = std::pair{m_written->range.location, m_written->range.end()};
    const auto range = offsets::reportedSelection(state.text, start, end,
                                                  offsets::toUtf16(state.text, caret, state.unit), state.unit, written);
    if (!range)
        return std::nullopt;
    return TextRange{range->first, range->second - range->first};
}

std::optional<TextRange> AtspiAccessibility::selectedRange(AtspiAccessible *accessible, qint64 pid,
                                                           const TextState &state)
{
    if (!admits(pid))
        return std::nullopt;
    const Owned<AtspiText> text = iface(atspi_accessible_get_text_iface, accessible, pid);
    if (!text)
        return std::nullopt;
    Call call(*this, pid);
    if (std::optional<TextRange> own = ownSelection(text.get(), accessible, pid, state, call))
        return own;
    if (call.failed())
        return std::nullopt;
    const gint caret = atspi_text_get_caret_offset(text.get(), call.error());
    if (call.failed() || caret < 0)
        return std::nullopt;
    return TextRange{offsets::toUtf16(state.text, caret, state.unit), 0};
}

bool AtspiAccessibility::writeRange(AtspiAccessible *accessible, qint64 pid, const TextRange &range)
{
    if (range.location < 0 || range.length < 0)
        return false;
    const auto state = textState(accessible, pid);
    if (!state)
        return false;
    const auto app = offsets::toWrite(state->text, range.location, range.end(), state->unit);
    if (!app)
        return false; // inside a surrogate pair: some editors would split the character
    const auto [start, end] = *app;
    const Owned<AtspiText> text = iface(atspi_accessible_get_text_iface, accessible, pid);
    if (!text)
        return false;
    bool ok = false;
    {
        Call call(*this, pid);
        if (start == end) {
            // The selection goes before the caret is set: a browser applies
            // both late and in order, and a removal applied after the caret
            // write collapses to the old selection's end instead.
            if (atspi_text_get_n_selections(text.get(), nullptr) > 0)
                atspi_text_remove_selection(text.get(), 0, nullptr);
            ok = atspi_text_set_caret_offset(text.get(), gint(start), call.error());
        } else {
            // A code editor's view keeps its caret where it was when a
            // selection is set: the next key would land there, not in place
            // of the selection. The caret goes to the range's end first, as
            // a selection made by hand leaves it.
            if (toolkitOf(pid) == Toolkit::Qt)
                atspi_text_set_caret_offset(text.get(), gint(end), nullptr);
            ok = atspi_text_set_selection(text.get(), 0, gint(start), gint(end), call.error());
            if (!ok && !call.failed())
                ok = atspi_text_add_selection(text.get(), gint(start), gint(end), call.error());
        }
        ok = ok && !call.failed();
    }
    // What Chromium cannot report back is judged against what was written.
    m_written.reset();
    if (ok && range.length > 0 && toolkitOf(pid) == Toolkit::Chromium)
        m_written = WrittenRange{ref(accessible), state->text, range};
    return ok;
}

} // namespace qv::linuxdesktop
