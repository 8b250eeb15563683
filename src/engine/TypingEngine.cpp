#include "engine/TypingEngine.h"

#include "core/Scheduler.h"
#include "core/Random.h"
#include "core/Text.h"
#include "engine/PasteboardSnapshot.h"
#include "engine/TypingRun.h"
#include "platform/Platform.h"

#include <algorithm>

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
    runPid.reset();
}

void TypingEngine::debug(const QString &line) const
{
    if (debugSink)
        debugSink(line);
}

void TypingEngine::reportFieldDiffers(const QString &reason, std::optional<int> characters)
{
    debug(QStringLiteral("outcome: field differs (%1) characters=%2")
              .arg(reason, characters ? QString::number(*characters) : QStringLiteral("unknown")));
    if (!m_difference) {
        m_difference = FieldDifference{characters, reason};
        return;
    }
    m_difference->reason = reason;
    if (characters)
        m_difference->characters = characters;
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
    // Named first: a braced temporary inside co_await is destroyed twice by
    // some compilers.
    TailChange change{edit.start, int(edit.deleted.size()), edit.replacement};
    co_await replaceTail(std::move(change), edit.start, buffer, deferredErrors, std::move(stopFlag));
}

QCoro::Task<bool> TypingEngine::replaceTail(TailChange change, int retypeFrom, QString &buffer,
                                            QList<DeferredError> &deferredErrors, StopFlag stopFlag)
{
    if (stopFlag && stopFlag())
        co_return false;
    const int length = int(buffer.size());
    const int start = std::clamp(change.start, 0, length);
    const int count = std::clamp(change.deleteCount, 0, length - start);
    const int from = text::boundaryAtOrBefore(buffer, std::clamp(retypeFrom, 0, start));
    QString changed = buffer;
    QList<DeferredError> changedErrors = deferredErrors;
    applyBufferEdit(changed, changedErrors, start, count, change.replacement);
    const QString deleted = buffer.mid(from);
    const QString typed = changed.mid(from);

    // An edit abandoned while another application is in front: the field
    // holds a prefix of the old or of the changed text, and the buffer
    // must say which, so that it never claims text the field lacks.
    auto keepPrefix = [&buffer, &deferredErrors](const QString &source, const QList<DeferredError> &errors,
                                                 int prefix) {
        buffer = source.left(prefix);
        QList<DeferredError> kept;
        for (const DeferredError &error : errors)
            if (error.index + error.wrong.size() <= prefix)
                kept.append(error);
        deferredErrors = kept;
    };

    // Cluster by cluster from the end, so a stop never leaves half a
    // character behind and we know exactly what is gone.
    const QStringList clusters = text::graphemes(deleted);
    int gone = 0;
    for (qsizetype i = clusters.size() - 1; i >= 0; --i) {
        if (gone > 0 && stopFlag && stopFlag()) {
            // Put back what was deleted: nothing typed is lost.
            const QStringList putBack = clusters.mid(i + 1);
            const int restored = co_await typeClusters(putBack, stopFlag);
            if (restored < gone) {
                const QList<DeferredError> errors = deferredErrors;
                keepPrefix(QString(buffer), errors, length - gone + restored);
            }
            co_return false;
        }
        const bool inFront = co_await holdForRunApplication(stopFlag);
        if (!inFront) {
            const QList<DeferredError> errors = deferredErrors;
            keepPrefix(QString(buffer), errors, length - gone);
            co_return false;
        }
        const QString &cluster = clusters.at(i);
        for (int press = m_keys.backspacePresses(cluster); press > 0; --press) {
            co_await m_keys.sendKey(SpecialKey::Delete);
            co_await m_scheduler.sleep(KeyOutput::kBackspaceSpacingMs);
        }
        gone += int(cluster.size());
    }
    const QStringList typedClusters = text::graphemes(typed);
    const int retyped = co_await typeClusters(typedClusters, stopFlag);
    if (retyped < typed.size()) {
        keepPrefix(changed, changedErrors, from + retyped);
        co_return true;
    }
    buffer = changed;
    deferredErrors = changedErrors;
    co_return true;
}

QCoro::Task<int> TypingEngine::typeClusters(QStringList clusters, StopFlag stopFlag)
{
    // As retypeText, but a stop does not cut it short: only the wait for the
    // run's application to come back can end it early.
    int typed = 0;
    for (const QString &cluster : clusters) {
        const bool inFront = co_await holdForRunApplication(stopFlag);
        if (!inFront)
            break;
        co_await m_keys.sendKey(cluster);
        typed += int(cluster.size());
        co_await m_scheduler.sleep(m_random.uniformReal(30, 70));
    }
    co_return typed;
}

QCoro::Task<bool> TypingEngine::holdForRunApplication(const StopFlag &stopFlag)
{
    while (runPid) {
        const std::optional<platform::AppInfo> front = m_platform.workspace().frontmostApplication();
        if (front && front->pid == *runPid)
            break;
        if (stopFlag && stopFlag())
            co_return false;
        co_await m_scheduler.sleep(200);
    }
    co_return true;
}

QCoro::Task<> TypingEngine::typeText(QString text, QString grade, QString review, bool humanize, int targetWpm,
                                     platform::Element targetElement, int startIndex, StopFlag stopFlag,
                                     PauseFlag pauseFlag, ProgressSink onProgress, PhaseSink onPhase,
                                     DebugSink onDebug)
{
    TypingRun run(*this, {std::move(text), std::move(grade), std::move(review), humanize, targetWpm,
                          std::move(targetElement), startIndex, std::move(stopFlag), std::move(pauseFlag),
                          std::move(onProgress), std::move(onPhase), std::move(onDebug)});
    co_await run.run();
}

} // namespace qv::engine
