#include "platform/sim/TextEditing.h"

#include "core/Text.h"

#include <algorithm>

namespace qv::sim::editing {

using platform::TextRange;

namespace {
// The grapheme boundaries of the text the last arrow crossed. Arrows leave
// the text alone, so a run of them segments it once instead of per press.
const QList<int> &boundariesOf(const QString &text)
{
    static QString cachedText;
    static QList<int> cached = {0};
    if (!text.isSharedWith(cachedText) && text != cachedText) {
        cachedText = text;
        cached = text::graphemeBoundaries(text);
    }
    return cached;
}

int neighbourBoundary(const QString &text, int offset, bool forward)
{
    const QList<int> &b = boundariesOf(text);
    if (forward)
        return *std::upper_bound(b.begin(), b.end(), offset);
    return *(std::lower_bound(b.begin(), b.end(), offset) - 1);
}
} // namespace

TextRange clampRange(TextRange range, qsizetype length)
{
    const qint64 loc = std::clamp<qint64>(range.location, 0, length);
    const qint64 len = std::clamp<qint64>(range.length, 0, length - loc);
    return {loc, len};
}

TextRange snapToGraphemes(const QString &text, TextRange range)
{
    const TextRange r = clampRange(range, text.size());
    const int start = text::boundaryAtOrBefore(text, int(r.location));
    const int end = text::boundaryAtOrAfter(text, int(r.end()));
    return {start, end - start};
}

QString selectedText(const EditState &state)
{
    const TextRange r = clampRange(state.selection, state.text.size());
    return state.text.mid(r.location, r.length);
}

void replaceSelection(EditState &state, const QString &inserted)
{
    const TextRange r = clampRange(state.selection, state.text.size());
    state.text.replace(r.location, r.length, inserted);
    state.selection = {r.location + inserted.size(), 0};
}

void backspace(EditState &state, BackspaceUnit unit)
{
    const TextRange r = clampRange(state.selection, state.text.size());
    if (r.length > 0) {
        replaceSelection(state, QString());
        return;
    }
    const int caret = int(r.location);
    if (caret == 0) {
        state.selection = {0, 0};
        return;
    }
    int from = caret - 1;
    if (unit == BackspaceUnit::Grapheme) {
        from = text::boundaryAtOrBefore(state.text, caret - 1);
    } else if (state.text.at(from).isLowSurrogate() && from > 0 && state.text.at(from - 1).isHighSurrogate()) {
        --from;
    }
    state.text.remove(from, caret - from);
    state.selection = {from, 0};
}

void moveLeft(EditState &state)
{
    const TextRange r = clampRange(state.selection, state.text.size());
    if (r.length > 0) {
        state.selection = {r.location, 0};
        return;
    }
    const int caret = int(r.location);
    state.selection = {caret > 0 ? neighbourBoundary(state.text, caret, false) : 0, 0};
}

void moveRight(EditState &state)
{
    const TextRange r = clampRange(state.selection, state.text.size());
    if (r.length > 0) {
        state.selection = {r.end(), 0};
        return;
    }
    const int caret = int(r.location);
    const int size = int(state.text.size());
    state.selection = {caret < size ? neighbourBoundary(state.text, caret, true) : size, 0};
}

namespace {
qsizetype lineStart(const QString &text, qsizetype pos)
{
    const qsizetype nl = pos > 0 ? text.lastIndexOf(QChar('\n'), pos - 1) : -1;
    return nl + 1;
}

qsizetype lineEnd(const QString &text, qsizetype pos)
{
    const qsizetype nl = text.indexOf(QChar('\n'), pos);
    return nl < 0 ? text.size() : nl;
}
} // namespace

void moveUp(EditState &state, bool multiLine)
{
    const TextRange r = clampRange(state.selection, state.text.size());
    const QString &t = state.text;
    const qsizetype start = lineStart(t, r.location);
    if (!multiLine || start == 0) {
        state.selection = {0, 0};
        return;
    }
    const qsizetype column = r.location - start;
    const qsizetype prevStart = lineStart(t, start - 1);
    const qsizetype target = std::min(prevStart + column, start - 1);
    state.selection = {text::boundaryAtOrBefore(t, int(target)), 0};
}

void moveDown(EditState &state, bool multiLine)
{
    const TextRange r = clampRange(state.selection, state.text.size());
    const QString &t = state.text;
    const qsizetype end = lineEnd(t, r.end());
    if (!multiLine || end == t.size()) {
        state.selection = {t.size(), 0};
        return;
    }
    const qsizetype column = r.end() - lineStart(t, r.end());
    const qsizetype nextStart = end + 1;
    const qsizetype target = std::min(nextStart + column, lineEnd(t, nextStart));
    state.selection = {text::boundaryAtOrBefore(t, int(target)), 0};
}

void selectAll(EditState &state) { state.selection = {0, state.text.size()}; }

} // namespace qv::sim::editing
