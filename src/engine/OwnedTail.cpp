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
    m_caretLeft = false;
    m_seenAfter.reset();
}

void OwnedTail::end()
{
    m_watching = false;
    m_field = {};
    m_before.reset();
    m_afterCaret.reset();
    m_seenAfter.reset();
}

OwnedTail::Verdict OwnedTail::judge(const QString &buffer, int from, const QString &pending)
{
    const std::optional<QString> live = m_elements.readFocusedText(m_field);
    const std::optional<platform::TextRange> selection = m_elements.selectedTextRange(m_field);
    if (!live || !selection || selection->location < 0 || selection->end() > live->size())
        return Verdict::Owned; // no evidence against it
    m_seenAfter = live->mid(selection->end());
    // A Backspace would take a selection of the user's.
    if (selection->length != 0)
        return Verdict::Moved;
    const QStringView front = QStringView(*live).left(selection->location);
    const QString stretch = buffer.mid(from) + pending;
    if (m_afterCaret && *m_seenAfter == *m_afterCaret)
        return front.endsWith(stretch) ? Verdict::Owned : Verdict::NotYet;
    // The text after the caret changed: only a long enough stretch of the
    // run's own text (and, from the run's start, of the text it followed)
    // tells that the caret still stands after it.
    QString own = buffer.mid(m_ownedFrom) + pending;
    if (m_ownedFrom == 0 && m_before)
        own.prepend(*m_before);
    const qsizetype wanted = std::max<qsizetype>(stretch.size(), kContextUnits);
    if (own.size() < wanted)
        return Verdict::Moved;
    return front.endsWith(QStringView(own).right(wanted)) ? Verdict::Owned : Verdict::NotYet;
}

QCoro::Task<bool> OwnedTail::mayDelete(QString typed, int from, QString pending)
{
    if (!m_watching)
        co_return true;
    // Typed before the caret last moved: it stands where the caret left it.
    if (from < m_ownedFrom)
        co_return false;
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
        co_return true;
    }
    // Everything typed so far is out of reach; keys typed from here on
    // stand in front of the caret again, before the text now after it.
    m_caretLeft = true;
    m_ownedFrom = int(typed.size() + pending.size());
    m_afterCaret = m_seenAfter;
    co_return false;
}

} // namespace qv::engine
