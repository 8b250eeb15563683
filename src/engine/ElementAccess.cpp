#include "engine/ElementAccess.h"

#include "core/Scheduler.h"
#include "core/Text.h"
#include "engine/FocusMonitor.h"
#include "platform/Workspace.h"

#include <QQueue>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qv::engine {

namespace Roles = platform::Roles;

namespace {
bool isNumberType(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool holdsElement(const QVariant &v) { return v.metaType() == QMetaType::fromType<platform::Element>(); }

QList<platform::Element> elementsIn(const QVariant &v, bool *isList)
{
    *isList = true;
    if (v.metaType() == QMetaType::fromType<QList<platform::Element>>())
        return v.value<QList<platform::Element>>();
    if (v.typeId() == QMetaType::QVariantList) {
        QList<platform::Element> out;
        for (const QVariant &item : v.toList())
            if (holdsElement(item) && !item.value<platform::Element>().isNull())
                out.append(item.value<platform::Element>());
        return out;
    }
    *isList = false;
    return {};
}
} // namespace

ElementAccess::ElementAccess(platform::Accessibility &accessibility, platform::Workspace &workspace,
                             Scheduler &scheduler, KeyOutput &keys)
    : m_accessibility(accessibility), m_workspace(workspace), m_scheduler(scheduler), m_keys(keys)
{
}

ElementAccess::~ElementAccess() = default;

FocusMonitor &ElementAccess::focusMonitor()
{
    if (!m_focusMonitor)
        m_focusMonitor = std::make_unique<FocusMonitor>(m_accessibility, m_workspace, m_scheduler);
    return *m_focusMonitor;
}

std::optional<bool> ElementAccess::readBoolAttribute(const Element &element, Attribute attribute)
{
    if (element.isNull())
        return std::nullopt;
    const std::optional<QVariant> v = m_accessibility.read(element, attribute);
    if (!v || !v->isValid())
        return std::nullopt;
    if (v->typeId() == QMetaType::Bool)
        return v->toBool();
    if (isNumberType(*v))
        return v->toDouble() != 0.0;
    return std::nullopt;
}

std::optional<QString> ElementAccess::readStringAttribute(const Element &element, Attribute attribute)
{
    if (element.isNull())
        return std::nullopt;
    const std::optional<QVariant> v = m_accessibility.read(element, attribute);
    if (!v || v->typeId() != QMetaType::QString)
        return std::nullopt;
    return v->toString();
}

std::optional<qint64> ElementAccess::readIntAttribute(const Element &element, Attribute attribute)
{
    if (element.isNull())
        return std::nullopt;
    const std::optional<QVariant> v = m_accessibility.read(element, attribute);
    if (!v || !v->isValid())
        return std::nullopt;
    if (v->typeId() == QMetaType::Double || v->typeId() == QMetaType::Float) {
        const double d = v->toDouble();
        if (!std::isfinite(d))
            return std::nullopt;
        return qint64(std::trunc(d)); // a number's integer value drops the fraction
    }
    if (isNumberType(*v))
        return v->toLongLong();
    if (v->typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 n = v->toString().trimmed().toLongLong(&ok);
        if (ok)
            return n;
    }
    return std::nullopt;
}

bool ElementAccess::isTextInputElementRelaxed(const Element &element)
{
    if (element.isNull())
        return false;
    if (readBoolAttribute(element, Attribute::Enabled) == false)
        return false;

    // Read once, and only when a rule needs it.
    std::optional<std::optional<bool>> editableRead;
    const auto editable = [&] {
        if (!editableRead)
            editableRead = readBoolAttribute(element, Attribute::Editable);
        return *editableRead;
    };
    if (const auto role = readStringAttribute(element, Attribute::Role)) {
        if (*role == Roles::SecureTextField)
            return false;
        if (*role == Roles::TextField || *role == Roles::TextArea || *role == Roles::TextView
            || *role == Roles::SearchField)
            return editable() != false;
        if (*role == Roles::WebArea && editable() == true)
            return true;
    }
    if (const std::optional<bool> flag = editable())
        return *flag;

    if (const auto description = readStringAttribute(element, Attribute::RoleDescription)) {
        const QString d = description->toLower();
        for (const char *word : {"text", "edit", "field", "editor"})
            if (d.contains(QLatin1String(word)))
                return true;
    }
    if (const auto domRole = readStringAttribute(element, Attribute::DomRole)) {
        const QString d = domRole->toLower();
        for (const char *word : {"textbox", "searchbox", "combobox", "textarea"})
            if (d == QLatin1String(word))
                return true;
    }
    if (m_accessibility.isSettable(element, Attribute::SelectedTextRange) == true)
        return true;
    if (m_accessibility.isSettable(element, Attribute::Value) == true)
        return true;
    if (m_accessibility.read(element, Attribute::SelectedTextRange).has_value())
        return true;
    return m_accessibility.read(element, Attribute::Value).has_value();
}

bool ElementAccess::isTerminal(const Element &element)
{
    return !element.isNull() && m_accessibility.isTerminal(element);
}

ElementAccess::Element ElementAccess::editableAncestor(const Element &element)
{
    Element current = element;
    for (int tested = 0; tested < kAncestorLimit && !current.isNull(); ++tested) {
        if (isTextInputElementRelaxed(current))
            return current;
        const std::optional<QVariant> parent = m_accessibility.read(current, Attribute::Parent);
        if (!parent || !holdsElement(*parent))
            return {};
        current = parent->value<Element>();
    }
    return {};
}

ElementAccess::Element ElementAccess::editableDescendant(const Element &element)
{
    if (element.isNull())
        return {};
    QQueue<std::pair<Element, int>> queue;
    queue.enqueue({element, 0});
    int taken = 0;
    while (taken < kDescendantEntryLimit && !queue.isEmpty()) {
        const auto [candidate, depth] = queue.dequeue();
        ++taken;
        if (depth >= kDescendantDepthLimit)
            continue;
        if (isTextInputElementRelaxed(candidate))
            return candidate;
        const std::optional<QVariant> children = m_accessibility.read(candidate, Attribute::Children);
        if (!children)
            continue;
        bool isList = false;
        const QList<Element> list = elementsIn(*children, &isList);
        for (const Element &child : list)
            if (!child.isNull())
                queue.enqueue({child, depth + 1});
    }
    return {};
}

ElementAccess::Element ElementAccess::elementAtMouseLocation()
{
    // One pointer location, already in top-left global coordinates: a
    // bottom-left point looked up here would hit an unrelated element.
    const std::optional<QPoint> pointer = m_workspace.pointerLocation();
    if (!pointer)
        return {};
    return m_accessibility.elementAtPoint(*pointer);
}

std::optional<qint64> ElementAccess::frontmostPid()
{
    const auto front = m_workspace.frontmostApplication();
    if (!front)
        return std::nullopt;
    return front->pid;
}

ElementAccess::Element ElementAccess::freshCachedFocus()
{
    FocusMonitor &monitor = focusMonitor();
    if (monitor.isFresh(frontmostPid(), kFreshFocusSeconds))
        return monitor.lastFocused();
    return {};
}

ElementAccess::Element ElementAccess::focusedElement()
{
    const Element cached = freshCachedFocus();
    if (!cached.isNull())
        return cached;
    return m_accessibility.systemFocusedElement();
}

ElementAccess::Element ElementAccess::targetOr(const Element &target)
{
    return target.isNull() ? focusedElement() : target;
}

ElementAccess::Element ElementAccess::resolveTextInput(const Element &candidate)
{
    if (candidate.isNull())
        return {};
    if (isTextInputElementRelaxed(candidate))
        return candidate;
    const Element ancestor = editableAncestor(candidate);
    if (!ancestor.isNull() && isTextInputElementRelaxed(ancestor))
        return ancestor;
    return editableDescendant(candidate);
}

QCoro::Task<bool> ElementAccess::waitForTextInputFocus(StopFlag stopFlag, StopFlag pauseFlag,
                                                       std::optional<double> timeoutMs)
{
    const qint64 startNs = m_scheduler.nowNs();
    const auto stopped = [&] { return stopFlag && stopFlag(); };
    while (true) {
        if (stopped())
            co_return false;
        while (pauseFlag && pauseFlag() && !stopped())
            co_await m_scheduler.sleep(120);

        Element found = resolveTextInput(focusedElement());
        if (found.isNull())
            found = resolveTextInput(freshCachedFocus());
        if (found.isNull())
            found = resolveTextInput(elementAtMouseLocation());
        if (!found.isNull()) {
            focus(found);
            co_return true;
        }

        if (timeoutMs && double(m_scheduler.nowNs() - startNs) / 1e6 >= *timeoutMs)
            co_return false;
        co_await m_scheduler.sleep(180);
    }
}

bool ElementAccess::isTextWhole(const Element &element)
{
    return readBoolAttribute(element, Attribute::TextIsWhole) != false;
}

QCoro::Task<bool> ElementAccess::waitForKeysTaken(Element element)
{
    // Synthetic keys reach the application on their own path: nothing
    // says when it has handled them, except that its text stops changing.
    std::optional<QString> lastText;
    std::optional<TextRange> lastRange;
    int quiet = 0;
    for (int waited = 0; waited <= kSettleLimitMs; waited += kSettlePollMs) {
        const std::optional<QString> text = readFocusedText(element);
        const std::optional<TextRange> range = selectedTextRange(element);
        if (!text && !range)
            co_return true;
        quiet = (waited > 0 && text == lastText && range == lastRange) ? quiet + 1 : 0;
        if (quiet >= kSettleQuietPolls)
            co_return true;
        lastText = text;
        lastRange = range;
        co_await m_scheduler.sleep(kSettlePollMs);
    }
    co_return false;
}

QCoro::Task<bool> ElementAccess::waitForFieldQuiet(Element element, std::function<bool(const QString &)> asMeant,
                                                  bool readableBefore, StopFlag stopFlag)
{
    const qint64 startNs = m_scheduler.nowNs();
    std::optional<QString> lastText;
    std::optional<TextRange> lastRange;
    qint64 stillSinceNs = startNs;
    bool meant = false;
    while (true) {
        if (stopFlag && stopFlag())
            co_return false;
        const std::optional<QString> text = readFocusedText(element);
        const std::optional<TextRange> range = selectedTextRange(element);
        const qint64 now = m_scheduler.nowNs();
        if (!text) {
            if (!readableBefore)
                co_return true; // nothing to watch
            lastText.reset();
        } else if (!lastText || text != lastText || range != lastRange) {
            lastText = text;
            lastRange = range;
            stillSinceNs = now;
            meant = asMeant && asMeant(*text);
        } else if (now - stillSinceNs >= Scheduler::msToNs(meant ? kEndQuietMs : kEndQuietLongMs)) {
            co_return true;
        }
        if (now - startNs >= Scheduler::msToNs(kEndSettleLimitMs))
            co_return false;
        co_await m_scheduler.sleep(kEndPollMs);
    }
}

std::optional<platform::TextRange> ElementAccess::selectedTextRange(const Element &target)
{
    const Element element = targetOr(target);
    if (element.isNull())
        return std::nullopt;
    const std::optional<QVariant> v = m_accessibility.read(element, Attribute::SelectedTextRange);
    if (!v || v->metaType() != QMetaType::fromType<TextRange>())
        return std::nullopt;
    return v->value<TextRange>();
}

std::optional<qint64> ElementAccess::caretPosition(const Element &target)
{
    const auto range = selectedTextRange(target);
    if (!range)
        return std::nullopt;
    return range->location;
}

std::optional<qint64> ElementAccess::textLengthEstimate(const Element &element)
{
    if (element.isNull())
        return std::nullopt;
    const std::optional<QString> value = readStringAttribute(element, Attribute::Value);
    const std::optional<qint64> count = readIntAttribute(element, Attribute::NumberOfCharacters);
    if (!value && !count)
        return std::nullopt;
    return std::max(value ? qint64(value->size()) : 0, count.value_or(0));
}

std::optional<QString> ElementAccess::readFocusedText(const Element &target)
{
    const Element element = targetOr(target);
    if (element.isNull())
        return std::nullopt;
    return readStringAttribute(element, Attribute::Value);
}

std::optional<QString> ElementAccess::readSelectedText(const Element &target)
{
    const Element element = targetOr(target);
    if (element.isNull())
        return std::nullopt;
    return readStringAttribute(element, Attribute::SelectedText);
}

QCoro::Task<std::optional<QString>> ElementAccess::readFocusedTextWithRetry(Element element, int attempts)
{
    // A whole read of a large field keeps the loop waiting on the
    // application: it starts a turn of its own, not the end of the last one.
    co_await m_scheduler.sleep(0);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const Element target = targetOr(element);
        if (!target.isNull()) {
            if (auto text = readStringAttribute(target, Attribute::Value))
                co_return text;
        }
        if (!element.isNull())
            focus(element);
        if (attempt + 1 < attempts)
            co_await m_scheduler.sleep(250);
    }
    co_return std::nullopt;
}

bool ElementAccess::setCaretPosition(qint64 position, const Element &target)
{
    return setSelectionRange({std::max<qint64>(position, 0), 0}, target);
}

bool ElementAccess::setSelectionRange(TextRange range, const Element &target)
{
    const Element element = targetOr(target);
    if (element.isNull())
        return false;
    if (m_accessibility.isSettable(element, Attribute::SelectedTextRange) != true)
        return false;
    return m_accessibility.write(element, Attribute::SelectedTextRange, QVariant::fromValue(range));
}

bool ElementAccess::focus(const Element &element)
{
    return !element.isNull() && m_accessibility.write(element, Attribute::Focused, true);
}

QCoro::Task<bool> ElementAccess::writeSelectionConfirmed(TextRange range, Element element)
{
    // The write and the reads that confirm it each keep the loop waiting on
    // the application: they go in turns of their own.
    co_await m_scheduler.sleep(0);
    const Element target = targetOr(element);
    if (!setSelectionRange(range, target))
        co_return false;
    co_await m_scheduler.sleep(0);
    // A range past the end of the text is cut to it by the application.
    TextRange clamped = range;
    if (const std::optional<qint64> length = textLengthEstimate(target)) {
        clamped.location = std::clamp<qint64>(range.location, 0, *length);
        clamped.length = std::clamp<qint64>(range.length, 0, *length - clamped.location);
    }
    for (int waited = 0;; waited += kConfirmPollMs) {
        const std::optional<TextRange> now = selectedTextRange(target);
        if (!now || *now == range || *now == clamped)
            break;
        if (waited >= kConfirmWaitMs)
            co_return false;
        co_await m_scheduler.sleep(kConfirmPollMs);
    }
    co_return true;
}

QCoro::Task<bool> ElementAccess::waitForDeletion(QString expected, Element element, qint64 caret)
{
    if (!m_deletionsLandFirst)
        co_return true;
    co_return co_await waitForText(std::move(expected), std::move(element), caret);
}

QCoro::Task<bool> ElementAccess::placeCaretConfirmed(qint64 position, Element element)
{
    return writeSelectionConfirmed({std::max<qint64>(position, 0), 0}, std::move(element));
}

QCoro::Task<bool> ElementAccess::moveCursor(qint64 wanted, QString text, Element element, StopFlag stopFlag)
{
    const qint64 goal = std::clamp<qint64>(wanted, 0, text.size());
    if (stopFlag && stopFlag())
        co_return false;
    const Element target = targetOr(element);
    if (!target.isNull() && m_accessibility.isSettable(target, Attribute::SelectedTextRange) == true) {
        const bool placed = co_await placeCaretConfirmed(goal, target);
        if (placed)
            co_return true;
    }
    const bool arrived = co_await arrowsTo(goal, text, target, stopFlag);
    co_return arrived;
}

QCoro::Task<bool> ElementAccess::arrowsTo(qint64 goal, QString text, Element element, StopFlag stopFlag)
{
    const qint64 length = text.size();
    const QList<int> bounds = text::graphemeBoundaries(text);
    // The grapheme index of an offset (an offset inside a cluster counts as
    // the cluster's start).
    const auto indexOf = [&bounds](qint64 offset) {
        return int(std::upper_bound(bounds.begin(), bounds.end(), int(offset)) - bounds.begin()) - 1;
    };
    const std::optional<qint64> read = caretPosition(element);
    const bool readable = read.has_value();
    qint64 at = std::clamp<qint64>(read.value_or(length), 0, length);
    const int planned = std::abs(indexOf(goal) - indexOf(at));
    int chunksLeft = (planned + kArrowChunk - 1) / kArrowChunk + kExtraChunks;
    while (at != goal) {
        if (stopFlag && stopFlag())
            co_return false;
        if (chunksLeft-- <= 0)
            co_return false;
        const int from = indexOf(at);
        const int to = indexOf(goal);
        const int presses = std::min(std::abs(to - from), kArrowChunk);
        if (presses == 0)
            co_return false; // inside one cluster: arrows cannot get there
        const int next = to < from ? from - presses : from + presses;
        const qint64 landing = next == to ? goal : qint64(bounds.at(next));
        const SpecialKey key = to < from ? SpecialKey::Left : SpecialKey::Right;
        for (int i = 0; i < presses; ++i)
            co_await m_keys.sendKey(key);
        // Synthetic keys and accessibility calls reach the application by
        // separate paths: wait until the caret shows this chunk's end before
        // the next one, longer for more presses.
        const double waitMs = kChunkWaitMs + kChunkWaitPerPressMs * presses;
        if (!readable) {
            co_await m_scheduler.sleep(waitMs);
            at = landing;
            continue;
        }
        const bool landed = co_await waitForCaret(landing, element, waitMs);
        if (landed) {
            at = landing;
            continue;
        }
        // Elsewhere: let presses still queued there finish (the caret holds
        // still) before planning again from where it stands.
        std::optional<qint64> now = caretPosition(element);
        for (int settle = 0; now && settle < 3; ++settle) {
            co_await m_scheduler.sleep(kChunkWaitMs);
            const std::optional<qint64> again = caretPosition(element);
            if (again == now)
                break;
            now = again;
        }
        if (!now)
            co_return true; // no longer readable: nothing better to go by
        // Not one press took effect: the application is behind or ignores
        // them, and pressing more would only pile keys up there.
        if (*now == at)
            co_return false;
        at = std::clamp<qint64>(*now, 0, length);
    }
    co_return true;
}

QCoro::Task<> ElementAccess::pressArrows(SpecialKey key, int presses)
{
    for (int sent = 0; sent < presses;) {
        const int chunk = std::min(presses - sent, kArrowChunk);
        for (int i = 0; i < chunk; ++i)
            co_await m_keys.sendKey(key);
        sent += chunk;
        co_await m_scheduler.sleep(kChunkWaitMs + kChunkWaitPerPressMs * chunk);
    }
}

QCoro::Task<bool> ElementAccess::waitForCaret(qint64 goal, Element element, double waitMs)
{
    for (int waited = 0;; waited += kCaretPollMs) {
        const std::optional<qint64> caret = caretPosition(element);
        // An unreadable caret cannot be confirmed; nothing better to go by.
        if (!caret || *caret == goal)
            co_return true;
        if (waited >= waitMs)
            co_return false;
        co_await m_scheduler.sleep(kCaretPollMs);
    }
}

QCoro::Task<bool> ElementAccess::waitForText(QString expected, Element element, std::optional<qint64> caretAfter)
{
    for (int waited = 0;; waited += kCaretPollMs) {
        const std::optional<QString> value = readFocusedText(element);
        const std::optional<TextRange> range = caretAfter ? selectedTextRange(element) : std::nullopt;
        const bool caretThere = !range || *range == TextRange{*caretAfter, 0};
        if (!value || (*value == expected && caretThere))
            co_return true;
        if (waited >= kCaretWaitMs)
            co_return false;
        co_await m_scheduler.sleep(kCaretPollMs);
    }
}

} // namespace qv::engine
