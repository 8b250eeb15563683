#include "engine/TypingEngine.h"

#include "core/Scheduler.h"
#include "engine/PasteboardSnapshot.h"
#include "platform/Platform.h"

namespace qv::engine {

TypingEngine::TypingEngine(platform::Platform &platform, Scheduler &scheduler, Random &random)
    : m_platform(platform),
      m_scheduler(scheduler),
      m_random(random),
      m_keys(platform.keyboard(), scheduler, random),
      m_elements(platform.accessibility(), platform.workspace(), scheduler, m_keys)
{
}

TypingEngine::~TypingEngine() = default;

void TypingEngine::clearRunFields()
{
    debugSink = nullptr;
    allowClipboardOps = false;
}

void TypingEngine::debug(const QString &line) const
{
    if (debugSink)
        debugSink(line);
}

bool TypingEngine::clipboardAllowedFor(const platform::Element &target)
{
    return m_elements.isTextInputElementRelaxed(target) && !m_elements.isTerminal(target);
}

QCoro::Task<ClipboardRead> TypingEngine::readAllTextViaClipboard(StopFlag stopFlag)
{
    return readViaClipboard(true, std::move(stopFlag));
}

QCoro::Task<ClipboardRead> TypingEngine::readSelectionViaClipboard(StopFlag stopFlag)
{
    return readViaClipboard(false, std::move(stopFlag));
}

QCoro::Task<ClipboardRead> TypingEngine::readViaClipboard(bool selectAll, StopFlag stopFlag)
{
    ClipboardRead result;
    if (stopFlag && stopFlag())
        co_return result;
    if (!allowClipboardOps || m_elements.isTerminal(m_elements.focusedElement()))
        co_return result;

    platform::Pasteboard &pasteboard = m_platform.pasteboard();
    const PasteboardSnapshot snapshot(pasteboard);
    const qint64 before = pasteboard.changeCount();
    if (selectAll) {
        co_await m_keys.sendCommandShortcut(SpecialKey::A);
        co_await m_scheduler.sleep(kSelectAllWaitMs);
    }
    co_await m_keys.sendCommandShortcut(SpecialKey::C);
    co_await m_scheduler.sleep(kCopyWaitMs);

    if (pasteboard.changeCount() == before) {
        result.outcome = ClipboardRead::Outcome::Unchanged;
    } else if (const std::optional<QString> text = pasteboard.plainText()) {
        result.outcome = ClipboardRead::Outcome::Text;
        result.text = *text;
    } else {
        result.outcome = ClipboardRead::Outcome::NoText;
    }
    snapshot.restore(pasteboard);
    co_return result;
}

QCoro::Task<> TypingEngine::rewriteTail(int deleteCount, QString replacement, QString &buffer,
                                        QList<DeferredError> &deferredErrors, StopFlag stopFlag)
{
    const TailEdit edit = tailEdit(buffer, deleteCount, replacement);
    if (!edit.deleted.isEmpty())
        co_await m_keys.backspaceChars(edit.deleted, stopFlag);
    if (!edit.replacement.isEmpty())
        co_await m_keys.retypeText(edit.replacement, stopFlag);
    applyBufferEdit(buffer, deferredErrors, edit.start, int(edit.deleted.size()), edit.replacement);
}

} // namespace qv::engine
