// AT-SPI's GLib headers use "signals" as a name: they come before Qt's.
#include <atspi/atspi.h>

#include "platform/linux/AtspiAccessibility.h"

#include "core/Scheduler.h"
#include "platform/linux/AtspiCall.h"
#include "platform/linux/AtspiElementRef.h"

#include <QQueue>

#include <algorithm>
#include <cstring>
#include <utility>

namespace qv::linuxdesktop {

using platform::Attribute;
using platform::TextRange;
using Break = DocumentText::Break;

namespace {

constexpr QChar kObject(0xFFFC); // where a text holds an embedded object
constexpr int kMaxFlowParts = 4000;
constexpr int kMaxDocumentChildren = 256;
constexpr int kMaxSpelledParts = 2000;
constexpr int kMaxSpellDepth = 12;
constexpr int kMaxClimb = 8;
constexpr int kMaxContainerClimb = 3;
constexpr int kMaxWindowSearch = 600;
constexpr int kMaxEditorDepth = 16;
constexpr int kMaxEditorChildren = 64;

// Objects a browser lays out as blocks: each starts a line of its own.
bool isBlockRole(int role)
{
    switch (role) {
    case ATSPI_ROLE_SECTION:
    case ATSPI_ROLE_PARAGRAPH:
    case ATSPI_ROLE_HEADING:
    case ATSPI_ROLE_BLOCK_QUOTE:
    case ATSPI_ROLE_LIST:
    case ATSPI_ROLE_LIST_ITEM:
    case ATSPI_ROLE_ARTICLE:
    case ATSPI_ROLE_FORM:
    case ATSPI_ROLE_PANEL:
    case ATSPI_ROLE_TABLE:
    case ATSPI_ROLE_TABLE_ROW:
    case ATSPI_ROLE_FOOTER:
    case ATSPI_ROLE_HEADER:
        return true;
    default:
        return false;
    }
}

// Roles that only hold other objects: the place to look for the editor
// the focus really is in.
bool isContainerRole(int role)
{
    switch (role) {
    case ATSPI_ROLE_FILLER:
    case ATSPI_ROLE_PANEL:
    case ATSPI_ROLE_GROUPING:
    case ATSPI_ROLE_SCROLL_PANE:
    case ATSPI_ROLE_LAYERED_PANE:
    case ATSPI_ROLE_VIEWPORT:
    case ATSPI_ROLE_SPLIT_PANE:
    case ATSPI_ROLE_PAGE_TAB:
    case ATSPI_ROLE_UNKNOWN:
        return true;
    default:
        return false;
    }
}

} // namespace

Owned<AtspiAccessible> AtspiAccessibility::parentOf(AtspiAccessible *accessible, qint64 pid)
{
    if (!accessible || !admits(pid))
        return nullptr;
    Call call(*this, pid);
    return call.keep(Owned<AtspiAccessible>(atspi_accessible_get_parent(accessible, call.error())));
}

bool AtspiAccessibility::hasText(AtspiAccessible *accessible, qint64 pid)
{
    return iface(atspi_accessible_get_text_iface, accessible, pid) != nullptr;
}

// ---- promotion ---------------------------------------------------------------

Owned<AtspiAccessible> AtspiAccessibility::promote(Owned<AtspiAccessible> accessible, qint64 pid)
{
    if (!accessible || !admits(pid))
        return accessible;
    const std::optional<int> r = role(accessible.get(), pid);
    if (!r)
        return accessible;

    // A word processor's paragraph: the document it belongs to.
    if (*r == ATSPI_ROLE_PARAGRAPH || *r == ATSPI_ROLE_HEADING) {
        Owned<AtspiAccessible> parent = parentOf(accessible.get(), pid);
        if (parent && role(parent.get(), pid) == ATSPI_ROLE_DOCUMENT_TEXT && !hasText(parent.get(), pid))
            return parent;
    }

    const bool editableText = hasState(accessible.get(), pid, ATSPI_STATE_EDITABLE) && hasText(accessible.get(), pid);
    if (!editableText && isContainerRole(*r)) {
        if (Owned<AtspiAccessible> editor = editorAround(accessible.get(), pid))
            return promote(std::move(editor), pid); // a paragraph: its document
        return accessible;
    }
    if (!editableText)
        return accessible;

    // A line of a rich-text field: the field itself, the outermost editable
    // text around it.
    Owned<AtspiAccessible> current = std::move(accessible);
    for (int up = 0; up < kMaxClimb; ++up) {
        Owned<AtspiAccessible> parent = parentOf(current.get(), pid);
        if (!parent)
            break;
        const std::optional<int> parentRole = role(parent.get(), pid);
        if (!parentRole || *parentRole == ATSPI_ROLE_DOCUMENT_WEB || *parentRole == ATSPI_ROLE_DOCUMENT_FRAME
            || !hasState(parent.get(), pid, ATSPI_STATE_EDITABLE) || !hasText(parent.get(), pid))
            break;
        current = std::move(parent);
    }
    return current;
}

Owned<AtspiAccessible> AtspiAccessibility::editorAround(AtspiAccessible *container, qint64 pid)
{
    // The editor inside the focused container; or, for a container of its
    // own that some editors report focused (a popup of word completions),
    // the editor inside a container around it.
    Owned<AtspiAccessible> around = ref(container);
    for (int up = 0; around && up < kMaxContainerClimb; ++up) {
        if (Owned<AtspiAccessible> editor = editorInside(around.get(), pid))
            return editor;
        Owned<AtspiAccessible> parent = parentOf(around.get(), pid);
        const std::optional<int> parentRole = parent ? role(parent.get(), pid) : std::nullopt;
        around = parentRole && isContainerRole(*parentRole) ? std::move(parent) : nullptr;
    }
    // Last, the focused editor anywhere in the window: some toolkits report
    // focus on a popup that is no part of the editor's tree.
    Owned<AtspiAccessible> window = ref(container);
    for (int up = 0; window && up < kMaxClimb * 2; ++up) {
        const std::optional<int> windowRole = role(window.get(), pid);
        if (windowRole
            && (*windowRole == ATSPI_ROLE_FRAME || *windowRole == ATSPI_ROLE_WINDOW
                || *windowRole == ATSPI_ROLE_DIALOG))
            break;
        window = parentOf(window.get(), pid);
    }
    if (!window)
        return nullptr;
    return editorInside(window.get(), pid, true, kMaxWindowSearch);
}

Owned<AtspiAccessible> AtspiAccessibility::editorInside(AtspiAccessible *container, qint64 pid, bool focusedOnly,
                                                        int maxNodes)
{
    // Breadth first, bounded: the focused editable text wins; otherwise the
    // only editable text showing.
    QQueue<QPair<std::shared_ptr<AtspiAccessible>, int>> queue;
    queue.enqueue({ref(container), 0});
    Owned<AtspiAccessible> only;
    int editors = 0;
    int visited = 0;
    while (!queue.isEmpty()) {
        auto [node, depth] = queue.dequeue();
        const bool look = visited < maxNodes && admits(pid);
        ++visited;
        const auto bits = look ? states(node.get(), pid) : std::nullopt;
        const auto has = [&](int state) { return bits && (*bits & (quint64(1) << state)); };
        // Some toolkits leave the showing state off the containers between
        // a window and its editor: the search goes through them all.
        if (depth > 0 && has(ATSPI_STATE_EDITABLE) && hasText(node.get(), pid)) {
            if (has(ATSPI_STATE_FOCUSED))
                return ref(node.get());
            if (!focusedOnly && has(ATSPI_STATE_SHOWING) && ++editors == 1)
                only = ref(node.get());
        } else if (bits && depth < kMaxEditorDepth
                   && (!has(ATSPI_STATE_MANAGES_DESCENDANTS) || role(node.get(), pid) == ATSPI_ROLE_DOCUMENT_TEXT)) {
            // A word processor's document manages its paragraphs, but those
            // on screen are its children: few, and where the caret is.
            for (Owned<AtspiAccessible> &child : children(node.get(), pid, kMaxEditorChildren))
                queue.enqueue({std::move(child), depth + 1});
        }
    }
    if (editors == 1)
        return only;
    return nullptr;
}

// ---- assembling a document -----------------------------------------------------

bool AtspiAccessibility::flowDocument(AtspiAccessible *root, qint64 pid, Document &document)
{
    // The paragraphs on screen are the document's children; the others are
    // reached through each paragraph's flow to the next and from the one
    // before.
    const auto flowTarget = [&](AtspiAccessible *from, AtspiRelationType type) -> Owned<AtspiAccessible> {
        OwnedObjectArray relations;
        {
            Call call(*this, pid);
            relations = call.keep(OwnedObjectArray(atspi_accessible_get_relation_set(from, call.error())));
        }
        if (!relations)
            return nullptr;
        for (guint i = 0; i < relations->len; ++i) {
            AtspiRelation *relation = g_array_index(relations.get(), AtspiRelation *, i);
            if (atspi_relation_get_relation_type(relation) == type && atspi_relation_get_n_targets(relation) > 0)
                return Owned<AtspiAccessible>(atspi_relation_get_target(relation, 0));
        }
        return nullptr;
    };

    Owned<AtspiAccessible> first;
    int childCount = 0;
    {
        Call call(*this, pid);
        childCount = atspi_accessible_get_child_count(root, call.error());
        for (int i = 0; i < childCount && i < kMaxDocumentChildren && !first && !call.failed(); ++i) {
            Owned<AtspiAccessible> child(atspi_accessible_get_child_at_index(root, i, nullptr));
            if (child && hasText(child.get(), pid))
                first = std::move(child);
        }
    }
    if (!first)
        return childCount == 0; // an empty document holds no text at all
    for (int back = 0; back < kMaxFlowParts; ++back) {
        Owned<AtspiAccessible> before = flowTarget(first.get(), ATSPI_RELATION_FLOWS_FROM);
        if (!before)
            break;
        first = std::move(before);
    }
    Owned<AtspiAccessible> current = std::move(first);
    QList<DocumentText::Part> layout;
    while (current) {
        if (document.parts.size() >= kMaxFlowParts || !admits(pid)) {
            document.whole = false;
            break;
        }
        const std::optional<TextState> state = textState(current.get(), pid);
        if (!state)
            return false;
        if (state->text.contains(kObject))
            document.whole = false; // a frame or a picture inside the paragraph
        Owned<AtspiAccessible> next = flowTarget(current.get(), ATSPI_RELATION_FLOWS_TO);
        document.parts.append({std::move(current), *state, 0, state->text.size()});
        layout.append({state->text, layout.isEmpty() ? Break::None : Break::Always});
        current = std::move(next);
    }
    document.pieces = layout;
    document.layout = DocumentText(layout);
    document.flows = true;
    return true;
}

void AtspiAccessibility::spellOut(AtspiAccessible *accessible, qint64 pid, const TextState &state, int depth,
                                  QList<DocumentPart> &parts, QList<DocumentText::Part> &layout, Break &pending,
                                  bool &whole)
{
    // Each embedded object stands for a child's text: runs of the element's
    // own text become parts, and each object is spelled out in its place.
    const Owned<AtspiHypertext> hypertext = iface(atspi_accessible_get_hypertext_iface, accessible, pid);
    const auto addRun = [&](qint64 from, qint64 to) {
        if (to <= from)
            return;
        parts.append({ref(accessible), state, from, to - from});
        layout.append({state.text.mid(from, to - from), pending});
        pending = Break::None;
    };
    qint64 runStart = 0;
    int link = 0;
    for (qint64 i = 0; i < state.text.size(); ++i) {
        if (state.text.at(i) != kObject)
            continue;
        addRun(runStart, i);
        runStart = i + 1;
        Owned<AtspiAccessible> child;
        if (hypertext && depth < kMaxSpellDepth && parts.size() < kMaxSpelledParts && admits(pid)) {
            Call call(*this, pid);
            const Owned<AtspiHyperlink> hyperlink(atspi_hypertext_get_link(hypertext.get(), link, call.error()));
            if (hyperlink && !call.failed())
                child.reset(atspi_hyperlink_get_object(hyperlink.get(), 0, call.error()));
            child = call.keep(std::move(child));
        }
        ++link;
        const std::optional<TextState> childState = child ? textState(child.get(), pid) : std::nullopt;
        if (!childState) {
            // A picture or a control: the text cannot say what it is.
            whole = false;
            parts.append({ref(accessible), state, i, 1});
            layout.append({QString(kObject), pending});
            pending = Break::None;
            continue;
        }
        const std::optional<int> childRole = role(child.get(), pid);
        const bool block = childRole && isBlockRole(*childRole);
        if (block)
            pending = Break::IfNeeded;
        const qsizetype before = parts.size();
        spellOut(child.get(), pid, *childState, depth + 1, parts, layout, pending, whole);
        if (parts.size() == before && block) {
            // An empty line still counts as one.
            parts.append({ref(child.get()), *childState, 0, 0});
            layout.append({QString(), pending});
        }
        if (block)
            pending = Break::IfNeeded;
    }
    addRun(runStart, state.text.size());
}

std::optional<AtspiAccessibility::Document> AtspiAccessibility::assembleDocument(AtspiAccessible *accessible,
                                                                                 qint64 pid)
{
    if (!accessible || !admits(pid))
        return std::nullopt;
    const std::optional<TextState> state = textState(accessible, pid);
    Document document;
    if (!state) {
        if (role(accessible, pid) != ATSPI_ROLE_DOCUMENT_TEXT || !flowDocument(accessible, pid, document))
            return std::nullopt;
        return document;
    }
    // A browser reads the empty line it draws after a rich-text field's
    // last line break as one more line break: the field holds one fewer.
    const bool spelled = state->text.contains(kObject);
    const bool drawnLastLine = (spelled || state->text.endsWith(QLatin1Char('\n'))) && drawsLastLine(accessible, pid);
    if (!spelled && !drawnLastLine)
        return std::nullopt;
    QList<DocumentText::Part> layout;
    Break pending = Break::None;
    spellOut(accessible, pid, *state, 0, document.parts, layout, pending, document.whole);
    document.dropsLastLine = drawnLastLine;
    if (drawnLastLine && !layout.isEmpty() && layout.last().text.endsWith(QLatin1Char('\n'))) {
        layout.last().text.chop(1);
        document.parts.last().length -= 1;
    }
    document.pieces = layout;
    document.layout = DocumentText(layout);
    return document;
}

AtspiAccessibility::Document *AtspiAccessibility::documentOf(AtspiAccessible *accessible, qint64 pid,
                                                             std::optional<int> *caretAt)
{
    if (caretAt)
        caretAt->reset();
    if (!accessible || !admits(pid))
        return nullptr;
    int at = -1;
    const bool kept = m_document && m_document->pid == pid && AtspiElementRef::same(m_document->root.get(), accessible);
    if (kept && !m_document->document.flows && m_documentChanges.assembledThisTurn()
        && stillCurrent(m_document->document, pid, at)) {
        // A rich-text field put together in this turn of the loop already,
        // and no key of ours has gone out since (caret and selection writes
        // leave the text as it is): a second whole read would only keep the
        // loop waiting again. Only when the caret is no longer found in its
        // parts is it put together again. A word processor's paragraphs are
        // not kept across its events: its objects change as the caret
        // moves, and its review's caret writes must be seen to take.
        if (caretAt)
            *caretAt = at;
        return &m_document->document;
    }
    if (kept && !m_documentChanges.outdated() && stillCurrent(m_document->document, pid, at)
        // An event that came while it was brought up to date may have
        // said objects came or went.
        && !m_documentChanges.outdated()) {
        if (caretAt)
            *caretAt = at;
        return &m_document->document;
    }
    // An element found to be no document made of parts this turn is not
    // read whole again to find that out.
    if (m_notDocument && m_notDocument->pid == pid && AtspiElementRef::same(m_notDocument->root.get(), accessible))
        return nullptr;
    // Events that come while it is put together leave it out of date.
    m_document.reset();
    m_documentChanges.startAssembly();
    ++m_assemblies;
    std::optional<Document> document = assembleDocument(accessible, pid);
    m_documentChanges.finishAssembly();
    if (!m_turnTimer) {
        m_turnTimer = true;
        m_scheduler.singleShot(0, [this, alive = std::weak_ptr<bool>(m_alive)] {
            if (alive.expired())
                return;
            m_turnTimer = false;
            m_notDocument.reset();
            m_documentChanges.nextTurn();
        });
    }
    if (!document) {
        m_notDocument = NotDocument{ref(accessible), pid};
        return nullptr;
    }
    m_document = KeptDocument{ref(accessible), pid, std::move(*document)};
    return &m_document->document;
}

std::optional<int> AtspiAccessibility::caretPart(Document &document, qint64 pid)
{
    const auto holdsCaret = [&](int i) {
        const DocumentPart &part = document.parts.at(i);
        const Owned<AtspiText> text = iface(atspi_accessible_get_text_iface, part.accessible.get(), pid);
        if (!text)
            return false;
        Call call(*this, pid);
        const gint caret = atspi_text_get_caret_offset(text.get(), call.error());
        if (call.failed() || caret < 0)
            return false;
        const qint64 c = offsets::toUtf16(part.state.text, caret, part.state.unit);
        const bool onObject = c < part.state.text.size() && part.state.text.at(c) == kObject;
        return c >= part.base && c <= part.base + part.length && !onObject;
    };
    // Arrows and edits move it to a part near the one it was in: those are
    // asked first, nearest first.
    const qsizetype count = document.parts.size();
    const int hint = document.caretPart >= 0 && document.caretPart < count ? document.caretPart : 0;
    for (int distance = 0; distance < count && admits(pid); ++distance) {
        const int below = hint - distance;
        const int above = hint + distance;
        const int found = below >= 0 && holdsCaret(below)                      ? below
                          : distance > 0 && above < count && holdsCaret(above) ? above
                                                                               : -1;
        if (found >= 0) {
            document.caretPart = found;
            return found;
        }
    }
    return std::nullopt;
}

bool AtspiAccessibility::stillCurrent(Document &document, qint64 pid, int &caretAt)
{
    // Keys land where the caret is, and an application that tells nothing
    // of its changes is caught there too: that part is read again, and so
    // are those its events said changed (text typed before the caret
    // moved on). Events that come meanwhile are kept for the next read.
    const std::optional<int> at = caretPart(document, pid);
    if (!at)
        return false;
    QList<int> changed = m_documentChanges.takeChangedParts();
    if (!changed.contains(*at))
        changed.append(*at);
    for (const int part : std::as_const(changed))
        if (!refreshPart(document, part, pid))
            return false;
    caretAt = *at;
    return true;
}

bool AtspiAccessibility::refreshPart(Document &document, int at, qint64 pid)
{
    if (at < 0 || at >= document.parts.size())
        return false;
    DocumentPart &part = document.parts[at];
    const std::optional<TextState> now = textState(part.accessible.get(), pid);
    if (!now)
        return false;
    if (now->text == part.state.text)
        return true;
    // Typing inside a paragraph changes that part alone; a part that is a
    // run between embedded objects, or that gains or loses one, or the
    // last line a field draws, changes the document's make-up.
    const bool wholeText = part.base == 0 && part.length == part.state.text.size();
    const bool last = at == document.parts.size() - 1;
    if (!wholeText || part.state.text.contains(kObject) || now->text.contains(kObject)
        || (last && document.dropsLastLine
            && (part.state.text.endsWith(QLatin1Char('\n')) || now->text.endsWith(QLatin1Char('\n')))))
        return false;
    part.state = *now;
    part.length = now->text.size();
    document.pieces[at].text = now->text;
    document.layout = DocumentText(document.pieces);
    return true;
}

void AtspiAccessibility::noteChange(AtspiAccessible *source, const QByteArray &type)
{
    if (!source)
        return;
    if (m_documentChanges.assembling()) {
        m_documentChanges.note(type, std::nullopt);
        return;
    }
    if (!m_document)
        return;
    const AtspiObject *a = ATSPI_OBJECT(source);
    const AtspiObject *b = ATSPI_OBJECT(m_document->root.get());
    if (!a || !b || !a->app || !b->app || !a->app->bus_name || !b->app->bus_name
        || std::strcmp(a->app->bus_name, b->app->bus_name) != 0)
        return;
    m_documentChanges.note(type, type.startsWith("object:text-changed") ? wholePartOf(source) : std::nullopt);
}

std::optional<int> AtspiAccessibility::wholePartOf(AtspiAccessible *source) const
{
    // The part with the caret is asked first: keys land there. A run
    // between embedded objects, or the root, is no whole part.
    const Document &document = m_document->document;
    const qsizetype count = document.parts.size();
    const int hint = document.caretPart >= 0 && document.caretPart < count ? document.caretPart : 0;
    for (qsizetype n = 0; n < count; ++n) {
        const int i = int((hint + n) % count);
        const DocumentPart &part = document.parts.at(i);
        if (!AtspiElementRef::same(source, part.accessible.get()))
            continue;
        if (part.base != 0 || part.length != part.state.text.size())
            return std::nullopt;
        return i;
    }
    return std::nullopt;
}

bool AtspiAccessibility::drawsLastLine(AtspiAccessible *accessible, qint64 pid)
{
    const Toolkit toolkit = toolkitOf(pid);
    if (toolkit != Toolkit::Gecko && toolkit != Toolkit::Chromium)
        return false;
    // A text area or a one-line field reads as it holds.
    const std::optional<int> r = role(accessible, pid);
    return r && *r != ATSPI_ROLE_ENTRY && *r != ATSPI_ROLE_PASSWORD_TEXT && *r != ATSPI_ROLE_TEXT
           && hasState(accessible, pid, ATSPI_STATE_EDITABLE);
}

std::optional<bool> AtspiAccessibility::textIsWhole(AtspiAccessible *accessible, qint64 pid)
{
    const std::optional<TextState> state = textState(accessible, pid);
    if (!state)
        return std::nullopt;
    // A paragraph reached on its own is only part of its document.
    const Owned<AtspiAccessible> parent = parentOf(accessible, pid);
    return !(parent && role(parent.get(), pid) == ATSPI_ROLE_DOCUMENT_TEXT && !hasText(parent.get(), pid));
}

// ---- reading and writing a document ---------------------------------------------

std::optional<TextRange> AtspiAccessibility::partSelection(const Document &document, int i, qint64 pid, bool &inside,
                                                           std::optional<qint64> &caret, bool &onObject)
{
    inside = false;
    caret.reset();
    onObject = false;
    const DocumentPart &part = document.parts.at(i);
    const Owned<AtspiText> text = iface(atspi_accessible_get_text_iface, part.accessible.get(), pid);
    if (!text)
        return std::nullopt;
    Call call(*this, pid);
    std::optional<TextRange> selection;
    if (const std::optional<TextRange> own = ownSelection(text.get(), part.accessible.get(), pid, part.state, call)) {
        const qint64 a = std::max(own->location, part.base);
        const qint64 b = std::min(own->end(), part.base + part.length);
        if (!call.failed() && a < b) {
            // A selection that reaches the part's start or end may go on
            // into the next one.
            inside = a == own->location && b == own->end() && a > part.base && b < part.base + part.length;
            const qint64 from = document.layout.toWhole(i, a - part.base);
            selection = TextRange{from, document.layout.toWhole(i, b - part.base) - from};
        }
    }
    const gint offset = call.failed() ? -1 : atspi_text_get_caret_offset(text.get(), call.error());
    if (!call.failed() && offset >= 0) {
        const qint64 c = offsets::toUtf16(part.state.text, offset, part.state.unit);
        if (c >= part.base && c <= part.base + part.length) {
            // A caret on an embedded object points into the child, which
            // reports it itself.
            onObject = c < part.state.text.size() && part.state.text.at(c) == kObject;
            caret = document.layout.toWhole(i, c - part.base);
        }
    }
    return selection;
}

std::optional<TextRange> AtspiAccessibility::documentSelection(Document &document, qint64 pid,
                                                               std::optional<int> caretAt)
{
    bool inside = false;
    std::optional<qint64> caret;
    bool onObject = false;
    // The part with the caret, alone, while it holds all of the selection
    // or a caret with none (a caret that moved on since is found below).
    if (const std::optional<int> at = caretAt ? caretAt : caretPart(document, pid)) {
        const std::optional<TextRange> own = partSelection(document, *at, pid, inside, caret, onObject);
        if (own && inside)
            return own;
        if (!own && caret && !onObject)
            return TextRange{*caret, 0};
    }
    std::optional<qint64> selFrom;
    std::optional<qint64> selTo;
    std::optional<qint64> strongCaret;
    std::optional<qint64> weakCaret;
    for (int i = 0; i < document.parts.size() && admits(pid); ++i) {
        if (const std::optional<TextRange> own = partSelection(document, i, pid, inside, caret, onObject)) {
            selFrom = selFrom ? std::min(*selFrom, own->location) : own->location;
            selTo = selTo ? std::max(*selTo, own->end()) : own->end();
        }
        if (caret && !onObject && !strongCaret) {
            strongCaret = caret;
            document.caretPart = i;
        } else if (caret && onObject && !weakCaret) {
            weakCaret = caret;
        }
    }
    if (selFrom && selTo)
        return TextRange{*selFrom, *selTo - *selFrom};
    if (strongCaret)
        return TextRange{*strongCaret, 0};
    if (weakCaret)
        return TextRange{*weakCaret, 0};
    return std::nullopt;
}

std::optional<QVariant> AtspiAccessibility::readDocument(Document &document, qint64 pid, Attribute attribute,
                                                         std::optional<int> caretAt)
{
    switch (attribute) {
    case Attribute::Value:
        return QVariant(document.layout.text());
    case Attribute::NumberOfCharacters:
        return QVariant(qint64(document.layout.text().size()));
    case Attribute::TextIsWhole:
        return QVariant(document.whole);
    case Attribute::SelectedTextRange:
    case Attribute::SelectedText: {
        const std::optional<TextRange> range = documentSelection(document, pid, caretAt);
        if (!range)
            return std::nullopt;
        if (attribute == Attribute::SelectedTextRange)
            return QVariant::fromValue(*range);
        return QVariant(document.layout.text().mid(range->location, range->length));
    }
    default:
        return std::nullopt;
    }
}

bool AtspiAccessibility::writeDocumentRange(Document &document, qint64 pid, const TextRange &range)
{
    // A selection that spans parts cannot be made through accessibility
    // here: the caller falls back on the keyboard.
    const auto inPart = document.layout.rangeInOnePart(range);
    if (!inPart)
        return false;
    document.caretPart = inPart->first; // where it is looked for first
    const DocumentPart &part = document.parts.at(inPart->first);
    const TextRange local{part.base + inPart->second.location, inPart->second.length};
    return writeRange(part.accessible.get(), pid, local);
}

bool AtspiAccessibility::focusDocument(const Document &document, qint64 pid)
{
    for (const DocumentPart &part : document.parts)
        if (hasState(part.accessible.get(), pid, ATSPI_STATE_FOCUSED))
            return true;
    return !document.parts.isEmpty() && grabFocus(document.parts.first().accessible.get(), pid);
}

} // namespace qv::linuxdesktop
