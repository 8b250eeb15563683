#include "engine/OwnedTail.h"

#include "core/Scheduler.h"
#include "engine/ElementAccess.h"

#include <algorithm>

namespace qv::engine {

void OwnedTail::begin(platform::Element field, std::optional<QString> before, std::optional<QString> after)
{
    m_field = std::move(field);
    m_watching = !m_field.isNull();
    m_before = std::move(before);
    m_afterCaret = std::move(after);
    m_ownedFrom = 0;
    m_lengthBesides = (m_before ? m_before->size() : 0) + (m_afterCaret ? m_afterCaret->size() : 0);
    m_caretLeft = false;
    m_seenAfter.reset();
    m_caretBase.reset();
    if (m_before)
        m_caretBase = m_before->size();
}

void OwnedTail::end()
{
    m_watching = false;
    m_field = {};
    m_before.reset();
    m_afterCaret.reset();
    m_seenAfter.reset();
    m_caretBase.reset();
}

OwnedTail::Verdict OwnedTail::judge(const QString &buffer, int from, const QString &pending)
{
    m_seenAfter.reset();
    m_seenCaret.reset();
    m_seenText.reset();
    const std::optional<QString> live = m_elements.readFocusedText(m_field);
    const std::optional<platform::TextRange> selection = m_elements.selectedTextRange(m_field);
    if (!live || !selection || selection->location < 0 || selection->end() > live->size())
        return Verdict::Owned; // no evidence against it
    m_seenText = live;
    m_seenAfter = live->mid(selection->end());
    m_seenCaret = selection->location;
    // A Backspace would take a selection of the user's.
    if (selection->length != 0)
        return Verdict::Moved;
    const QStringView front = QStringView(*live).left(selection->location);
    const qsizetype end = buffer.size() + pending.size();
    // The text after the caret as it was and the field as long as the
    // run's keys made it: nothing went in anywhere, and the caret stands
    // where the run left it (a field that rewrites a typed character, a
    // quote or a dash, is told apart from the user's typing so).
    if (m_afterCaret && *m_seenAfter == *m_afterCaret && live->size() == m_lengthBesides + end)
        return Verdict::Owned;
    // Else the units to delete must stand in front of the caret with more
    // of the run's own text before them (from the run's start, of the text
    // it followed), so that a character the user typed there, or a click
    // after the same few letters, is not taken for the run's.
    QString own = buffer.mid(m_ownedFrom) + pending;
    if (m_ownedFrom == 0 && m_before)
        own.prepend(*m_before);
    const qsizetype wanted = std::max<qsizetype>(end - from, kContextUnits);
    if (own.size() < wanted)
        return Verdict::Moved;
    if (!front.endsWith(QStringView(own).right(wanted)))
        return Verdict::NotYet;
    m_lengthBesides = live->size() - end;
    return Verdict::Owned;
}

QCoro::Task<bool> OwnedTail::mayDelete(QString typed, int from, QString pending)
{
    if (!m_watching)
        co_return true;
    // Typed before the caret last moved: it stands where the caret left it.
    if (from < m_ownedFrom)
        co_return false;
    const qsizetype end = typed.size() + pending.size();
    // The caret where the run's keys took it is read alone first (keys on
    // their way waited for): reading a large field's whole text before
    // every correction would slow the application down.
    if (m_caretBase) {
        for (int waited = 0;; waited += ElementAccess::kCaretPollMs) {
            const std::optional<platform::TextRange> selection = m_elements.selectedTextRange(m_field);
            if (!selection)
                co_return true; // no evidence against it
            if (selection->length == 0 && selection->location == *m_caretBase + end)
                co_return true;
            if (waited >= ElementAccess::kCaretWaitMs)
                break;
            co_await m_scheduler.sleep(ElementAccess::kCaretPollMs);
        }
    }
    Verdict verdict = judge(typed, from, pending);
    // Keys on their way show late; a caret that moved shows no better.
    for (int waited = 0; verdict == Verdict::NotYet && waited < ElementAccess::kCaretWaitMs;
         waited += ElementAccess::kCaretPollMs) {
        co_await m_scheduler.sleep(ElementAccess::kCaretPollMs);
        verdict = judge(typed, from, pending);
    }
    if (verdict == Verdict::Owned) {
        if (m_seenAfter)
            m_afterCaret = m_seenAfter;
        if (m_seenCaret)
            m_caretBase = *m_seenCaret - end;
        co_return true;
    }
    // Everything typed so far is out of reach; keys typed from here on
    // stand in front of the caret again, before the text now after it.
    m_caretLeft = true;
    m_ownedFrom = int(end);
    if (m_seenText)
        m_lengthBesides = m_seenText->size() - end;
    m_afterCaret = m_seenAfter;
    m_caretBase.reset();
    if (m_seenCaret)
        m_caretBase = *m_seenCaret - end;
    co_return false;
}

QCoro::Task<bool> OwnedTail::caretStillAfter(QString typed)
{
    if (!m_watching || m_caretLeft)
        co_return !m_caretLeft;
    // Strictly: the text after the caret as it was and nothing added
    // anywhere. Keys typed after a click may well stand in front of the
    // caret again; that the run's text is in one piece only this tells.
    const qsizetype end = typed.size();
    for (int waited = 0;; waited += ElementAccess::kCaretPollMs) {
        const std::optional<QString> live = m_elements.readFocusedText(m_field);
        const std::optional<platform::TextRange> selection = m_elements.selectedTextRange(m_field);
        if (!live || !selection || selection->end() > live->size())
            co_return true; // no evidence against it
        if (selection->length == 0 && m_afterCaret && live->mid(selection->end()) == *m_afterCaret
            && live->size() == m_lengthBesides + end)
            co_return true;
        if (waited >= ElementAccess::kCaretWaitMs)
            break;
        co_await m_scheduler.sleep(ElementAccess::kCaretPollMs);
    }
    m_caretLeft = true;
    co_return false;
}

} // namespace qv::engine
