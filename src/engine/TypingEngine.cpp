#include "engine/TypingEngine.h"

#include "core/Random.h"
#include "core/Scheduler.h"
#include "core/Text.h"
#include "engine/PasteboardSnapshot.h"
#include "engine/TypingRun.h"
#include "platform/Platform.h"

#include <algorithm>

namespace qv::engine {

TypingEngine::TypingEngine(platform::Platform &platform, Scheduler &scheduler, Random &random)
    : m_platform(platform), m_scheduler(scheduler), m_random(random), m_keys(platform.keyboard(), scheduler, random),
      m_carriedIndent(*this), m_wholeCluster(*this),
      m_elements(platform.accessibility(), platform.workspace(), scheduler, m_keys), m_gate(*this),
      m_owned(m_elements, scheduler)
{
    m_keys.setGate(&m_gate);
    m_keys.setLineBreakWatch(&m_carriedIndent);
    m_keys.setClusterWatch(&m_wholeCluster);
}

TypingEngine::~TypingEngine() = default;

void TypingEngine::clearRunFields()
{
    m_lateCopy.reset();
    m_putBack.reset();
    debugSink = nullptr;
    allowClipboardOps = false;
    m_gate.end();
    m_owned.end();
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

void TypingEngine::reportFieldUnchecked(const QString &reason)
{
    debug(QStringLiteral("outcome: not checked (%1)").arg(reason));
    m_unchecked = reason;
}

void TypingEngine::reportEarlierTextLeft(EarlierTextLeft left) { m_earlierTextLeft = std::move(left); }

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

    co_await settleLateCopy(false);
    if (m_lateCopy) {
        // The target has not taken the last copy yet: another select-all or
        // copy could land after the run.
        debug(QStringLiteral("clipboardRead: skipped (an earlier copy may still land)"));
        result.outcome = ClipboardRead::Outcome::Withheld;
        co_return result;
    }

    platform::Pasteboard &pasteboard = m_platform.pasteboard();
    auto snapshot = std::make_shared<const PasteboardSnapshot>(co_await PasteboardSnapshot::take(pasteboard));
    if (!savedWhole(*snapshot))
        co_return result;
    const qint64 before = pasteboard.changeCount();
    if (selectAll) {
        if (co_await m_keys.sendCommandShortcut(SpecialKey::A) == KeySent::Held)
            co_return result;
        co_await m_scheduler.sleep(kSelectAllWaitMs);
    }
    if (co_await m_keys.sendCommandShortcut(SpecialKey::C) == KeySent::Held)
        co_return result;
    const qint64 copiedNs = m_scheduler.nowNs();
    co_await m_scheduler.sleep(kCopyWaitMs);
    // A busy target takes its keys late; the copy is what shows they were
    // taken (an empty selection copies nothing, so the wait is bounded: by
    // the polls, and by the clock however short each poll turns out).
    for (double waited = kCopyWaitMs;
         pasteboard.changeCount() == before
         && (waited < kCopyLandMs || m_scheduler.nowNs() - copiedNs < Scheduler::msToNs(kCopyLandMs));
         waited += kCopyPollMs)
        co_await m_scheduler.sleep(kCopyPollMs);

    if (pasteboard.changeCount() == before) {
        // Nothing to put back yet; watched in case the copy lands later.
        result.outcome = ClipboardRead::Outcome::Unchanged;
        m_lateCopy = LateCopy{snapshot, before, m_scheduler.nowNs() + qint64(kLateCopyWindowMs * 1e6)};
        co_return result;
    }
    if (const std::optional<QString> text = co_await pasteboard.readPlainText()) {
        result.outcome = ClipboardRead::Outcome::Text;
        result.text = *text;
    } else {
        result.outcome = ClipboardRead::Outcome::NoText;
    }
    putBack(snapshot, result.outcome == ClipboardRead::Outcome::Text ? std::optional<QString>(result.text)
                                                                      : std::nullopt);
    co_return result;
}

bool TypingEngine::savedWhole(const PasteboardSnapshot &snapshot) const
{
    // What could not be read could not be put back: the user's clipboard is
    // left alone then.
    if (!snapshot.complete())
        debug(QStringLiteral("clipboard: not used, it could not be saved whole (%1)")
                  .arg(snapshot.unread.join(QStringLiteral("; "))));
    return snapshot.complete();
}

namespace {
// Clipboard texts alike but for line ends (some owners serve CR LF).
bool sameText(const std::optional<QString> &a, const std::optional<QString> &b)
{
    if (!a || !b)
        return !a && !b;
    return QString(*a).remove(QLatin1Char('\r')) == QString(*b).remove(QLatin1Char('\r'));
}
} // namespace

void TypingEngine::putBack(std::shared_ptr<const PasteboardSnapshot> snapshot, std::optional<QString> copied)
{
    platform::Pasteboard &pasteboard = m_platform.pasteboard();
    snapshot->restore(pasteboard);
    QStringList texts = m_putBack ? m_putBack->copied : QStringList();
    if (copied && !copied->isEmpty() && !texts.contains(*copied))
        texts.append(*copied);
    // The user's text as the snapshot holds it, not as the clipboard reads
    // now: a put-back the system refused (the application's claim carried a
    // later time) leaves the run's copy there.
    std::optional<QString> users;
    for (const PasteboardSnapshot::ItemSnapshot &item : snapshot->items)
        for (const auto &[type, data] : item.dataByType)
            if (!users && type.startsWith(QLatin1String("text/plain")))
                users = QString::fromUtf8(data);
    const bool taken = sameText(pasteboard.plainText(), users);
    m_putBack = PutBack{std::move(snapshot), pasteboard.changeCount(), users, texts,
                        m_scheduler.nowNs() + qint64(kCopyAgainWindowMs * 1e6), taken};
}

bool TypingEngine::isRunsCopy(const QString &text)
{
    if (!m_putBack || text.isEmpty())
        return false;
    if (m_putBack->copied.contains(text))
        return true;
    // A copy the run asked for whose text it never read (another change
    // came first): some of the field's text, or of what it held before a
    // later edit (then half of it at least still stands). Editors end a
    // copied document with a line break of their own.
    const QString inner = text.endsWith(QLatin1Char('\n')) ? text.chopped(1) : text;
    const std::optional<QString> field = m_elements.readFocusedText(m_elements.focusedElement());
    if (inner.isEmpty() || !field)
        return false;
    if (field->contains(inner))
        return true;
    const qsizetype half = inner.size() / 2;
    return half >= kCopyHalfMin && (field->contains(inner.left(half)) || field->contains(inner.mid(half)));
}

QCoro::Task<bool> TypingEngine::pasteText(QString text, QString expected, platform::Element element, qint64 caretAfter,
                                          StopFlag stopFlag)
{
    if ((stopFlag && stopFlag()) || text.isEmpty())
        co_return false;
    if (!allowClipboardOps || m_elements.isTerminal(m_elements.focusedElement()))
        co_return false;
    co_await settleLateCopy(false);
    if (m_lateCopy)
        co_return false;

    platform::Pasteboard &pasteboard = m_platform.pasteboard();
    const PasteboardSnapshot snapshot = co_await PasteboardSnapshot::take(pasteboard);
    if (!savedWhole(snapshot))
        co_return false;
    pasteboard.writeItems({platform::TypedData{{QStringLiteral("text/plain"), text.toUtf8()}}});
    // Never a paste of what the write did not put there: that is the user's
    // clipboard.
    bool landed = false;
    const std::optional<QString> before = m_elements.readFocusedText(element);
    const bool written = before && pasteboard.plainText() == text;
    const KeySent sent = written ? co_await m_keys.sendCommandShortcut(SpecialKey::V) : KeySent::Held;
    if (sent == KeySent::Posted) {
        // The target asks this process for the text after it takes the key:
        // the loop stays free for that before the field is read. A busy
        // target takes the key late, and the clipboard must still hold the
        // text then: the field changing shows the key was taken.
        co_await m_scheduler.sleep(kCopyWaitMs);
        for (double waited = kCopyWaitMs; m_elements.readFocusedText(element) == before && waited < kCopyLandMs;
             waited += kCopyPollMs)
            co_await m_scheduler.sleep(kCopyPollMs);
        landed = co_await m_elements.waitForText(expected, element, caretAfter);
    }
    snapshot.restore(pasteboard);
    co_return landed;
}

QCoro::Task<> TypingEngine::settleLateCopy(bool wait)
{
    platform::Pasteboard &pasteboard = m_platform.pasteboard();
    while (m_lateCopy) {
        if (pasteboard.changeCount() != m_lateCopy->changeCount) {
            debug(QStringLiteral("clipboardRead: a late copy landed, the clipboard is put back"));
            putBack(m_lateCopy->snapshot, std::nullopt);
            m_lateCopy.reset();
            break;
        }
        if (m_scheduler.nowNs() >= m_lateCopy->untilNs) {
            m_lateCopy.reset();
            break;
        }
        if (!wait)
            co_return;
        co_await m_scheduler.sleep(kCopyPollMs);
    }
    while (m_putBack) {
        if (pasteboard.changeCount() != m_putBack->changeCount || !m_putBack->taken) {
            const std::optional<QString> now = pasteboard.plainText();
            if (sameText(now, m_putBack->usersText)) {
                // The put-back itself, heard late, or taken at last.
                m_putBack->changeCount = pasteboard.changeCount();
                m_putBack->taken = true;
            } else if (!now || isRunsCopy(*now)) {
                // The run's copy again (or the clipboard cannot be read, as
                // a busy owner's cannot; only the user's text stands).
                debug(QStringLiteral("clipboardRead: the application copied again after the clipboard was put "
                                     "back, it is put back again"));
                putBack(m_putBack->snapshot, std::nullopt);
            } else {
                m_putBack.reset(); // the user's own clipboard now
                co_return;
            }
        }
        if (!wait)
            co_return;
        if (m_scheduler.nowNs() >= m_putBack->untilNs) {
            m_putBack.reset();
            co_return;
        }
        co_await m_scheduler.sleep(kCopyPollMs);
    }
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
            const int restored = co_await typeClusters(putBack);
            if (restored < gone) {
                const QList<DeferredError> errors = deferredErrors;
                keepPrefix(QString(buffer), errors, length - gone + restored);
            }
            co_return false;
        }
        // Asked before every cluster: the user may click elsewhere while
        // the deletion goes on. What is gone by then is gone from the
        // buffer too; the rest stays where it stands.
        if (!co_await m_owned.mayDelete(buffer.left(length - gone), from, {})) {
            debug(QStringLiteral("edit: the caret is not after the run's own text; %1 units left as they stand")
                      .arg(length - gone - from));
            if (gone == 0)
                co_return false;
            const QList<DeferredError> errors = deferredErrors;
            keepPrefix(QString(buffer), errors, length - gone);
            co_return true;
        }
        const QString &cluster = clusters.at(i);
        const int presses = m_keys.backspacePresses(cluster);
        for (int press = 0; press < presses; ++press) {
            if (co_await m_keys.sendKey(SpecialKey::Delete) == KeySent::Held) {
                // Held before any press of this cluster, or (an editor that
                // deletes code points) after some of its code points.
                QString left = buffer.left(length - gone);
                for (int p = 0; p < press && !left.isEmpty(); ++p)
                    left.chop(left.size() >= 2 && left.back().isLowSurrogate() ? 2 : 1);
                const QList<DeferredError> errors = deferredErrors;
                keepPrefix(QString(buffer), errors, int(left.size()));
                co_return false;
            }
            co_await m_scheduler.sleep(KeyOutput::kBackspaceSpacingMs);
        }
        gone += int(cluster.size());
    }
    const QStringList typedClusters = text::graphemes(typed);
    const int retyped = co_await typeClusters(typedClusters);
    if (retyped < typed.size()) {
        keepPrefix(changed, changedErrors, from + retyped);
        co_return true;
    }
    buffer = changed;
    deferredErrors = changedErrors;
    co_return true;
}

QCoro::Task<int> TypingEngine::typeClusters(QStringList clusters)
{
    // As retypeText, but a stop does not cut it short: only a key the gate
    // holds (or leaves out) ends it early.
    int typed = 0;
    for (const QString &cluster : clusters) {
        if (co_await m_keys.sendKey(cluster) != KeySent::Posted)
            break;
        typed += int(cluster.size());
        co_await m_scheduler.sleep(m_random.uniformReal(30, 70));
    }
    co_return typed;
}

QCoro::Task<> TypingEngine::typeText(RunOptions options)
{
    TypingRun run(*this, std::move(options));
    co_await run.run();
}

} // namespace qv::engine
