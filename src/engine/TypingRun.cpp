#include "engine/TypingRun.h"

#include "core/Random.h"
#include "core/Scheduler.h"
#include "core/Text.h"
#include "engine/BufferEdits.h"
#include "engine/KeyTiming.h"
#include "engine/PausePlanner.h"
#include "engine/TypoModel.h"
#include "engine/WordBoundaryActions.h"
#include "platform/Platform.h"

#include <algorithm>

namespace qv::engine {

namespace {
// Characters of each sentence range, measured on the grapheme boundaries
// of the text the ranges were found in.
QList<int> sentenceLengthsIn(const QString &text)
{
    const QList<int> bounds = text::graphemeBoundaries(text);
    auto indexAt = [&bounds](qint64 offset) {
        return int(std::lower_bound(bounds.begin(), bounds.end(), int(offset)) - bounds.begin());
    };
    QList<int> lengths;
    for (const platform::TextRange &range : computeSentenceRanges(text))
        lengths.append(indexAt(range.end()) - indexAt(range.location));
    return lengths;
}
} // namespace

TypingRun::TypingRun(TypingEngine &engine, RunOptions options) : m_engine(engine)
{
    m_params.options = std::move(options);
}

QString TypingRun::normalizeLineBreaks(const QString &text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void TypingRun::phase(RunPhase name)
{
    if (m_params.options.onPhase)
        m_params.options.onPhase(name);
}

bool TypingRun::spaceStandsIn(const QString &before, const QStringList &characters, int index)
{
    // Nothing to keep apart at either end of the text.
    if (before.isEmpty() || before == QLatin1String(" "))
        return false;
    int next = index + 1;
    while (next < characters.size() && characters.at(next) == QLatin1String("\n"))
        ++next;
    return next < characters.size() && characters.at(next) != QLatin1String(" ");
}

QString TypingRun::withoutLeftOut(const QString &text) const
{
    const bool tabsOut = m_engine.m_gate.refusal(QStringLiteral("\t")) != RunKeyGate::Refusal::None;
    const bool returnsOut = m_engine.m_gate.refusal(QStringLiteral("\n")) != RunKeyGate::Refusal::None;
    if (!tabsOut && !returnsOut)
        return text;
    const QStringList characters = text::graphemes(text);
    QString out;
    for (int i = 0; i < characters.size(); ++i) {
        const QString &c = characters.at(i);
        if (tabsOut && c == QLatin1String("\t"))
            continue;
        if (returnsOut && c == QLatin1String("\n")) {
            if (spaceStandsIn(out.right(1), characters, i))
                out += QLatin1Char(' ');
            continue;
        }
        out += c;
    }
    return out;
}

void TypingRun::reportLeftOut()
{
    TypingEngine::LeftOut &out = m_engine.m_lastLeftOut;
    out.returns = m_state.leftOutReturns;
    out.returnsWhy = m_engine.m_gate.refusal(QStringLiteral("\n"));
    out.tabs = m_state.leftOutTabs;
    out.tabsWhy = m_engine.m_gate.refusal(QStringLiteral("\t"));
    out.returnsAsSpaces = m_state.returnsAsSpaces;
    if (out.total() > 0)
        m_engine.debug(QStringLiteral("leftOut: returns=%1 tabs=%2 spaces=%3")
                           .arg(out.returns)
                           .arg(out.tabs)
                           .arg(out.returnsAsSpaces));
}

void TypingRun::progress()
{
    if (m_params.options.onProgress)
        m_params.options.onProgress(m_state.typedCount, m_params.total);
}

bool TypingRun::frontmostIsRequired()
{
    const std::optional<platform::AppInfo> front = m_engine.platform().workspace().frontmostApplication();
    return front && m_params.requiredPid && front->pid == *m_params.requiredPid;
}

QCoro::Task<> TypingRun::run()
{
    m_engine.m_lastIntendedText.clear();
    m_engine.m_lastLeftOut = {};
    m_engine.m_difference.reset();
    m_engine.m_unchecked.reset();
    m_engine.m_earlierTextLeft.reset();
    m_engine.m_lastStop.reset();
    co_await setUp();
    for (int i = 0; i < m_params.remainingCount(); ++i) {
        const bool goOn = co_await typeCharacter(m_params.remaining.at(i));
        if (!goOn)
            break;
    }
    if (!stopRequested())
        co_await endOfText();
    else
        co_await settleStop();
    m_engine.clearRunFields();
    m_engine.platform().keyboard().finish();
}

QCoro::Task<> TypingRun::setUp()
{
    ElementAccess &elements = m_engine.elements();
    Random &random = m_engine.random();
    const RunOptions &o = m_params.options;
    m_engine.debugSink = o.onDebug;

    const platform::Element element = o.target ? o.target : elements.focusedElement();
    if (const auto front = m_engine.platform().workspace().frontmostApplication())
        m_params.requiredPid = front->pid;
    m_engine.keyGate().begin(
        {m_params.requiredPid, o.stopFlag, o.pauseFlag, o.onPhase, [this] { return m_state.focusChecksEnabled; }});

    RunParams &p = m_params;
    p.text = normalizeLineBreaks(o.text);
    const QStringList chars = text::graphemes(p.text);
    p.textLength = int(chars.size());
    p.start = std::clamp(o.startIndex, 0, p.textLength);
    p.remaining = chars.mid(p.start);
    p.profile = gradeProfile(o.grade);
    p.reviewNumbers = reviewNumbers(o.review);
    p.style = computeStyleProfile(o.grade, o.review, o.humanize, o.targetWpm, random);
    const int burstDraw = int(random.uniformInt(p.profile.burstWords.lo, p.profile.burstWords.hi));
    m_state.burstRemaining = std::max(int(p.style.burstScale * burstDraw), 2);
    p.sentenceLengths = sentenceLengthsIn(p.remaining.join(QString()));
    m_state.sentenceLength = std::max(p.sentenceLengths.isEmpty() ? p.remainingCount() : p.sentenceLengths.first(), 1);
    p.sentenceErrorAt = int(
        random.uniformInt(p.profile.sentenceErrorWordRange.lo, p.profile.sentenceErrorWordRange.hi));
    p.longPauseOffset = int(random.uniformInt(0, 140));
    p.microEditOffset = int(random.uniformInt(0, 65));
    p.rethinkOffset = int(random.uniformInt(0, 80));
    p.microPauseOffset = int(random.uniformInt(0, 60));
    p.editBudget = editBudget(o.review, o.humanize);
    p.forcedErrorEvery = adjustedForcedErrorEvery(o.review, o.humanize, random);
    p.earlyTypoOffset = int(random.uniformInt(0, 32));
    p.minErrors = std::clamp(p.textLength / 400, 2, 10);
    p.total = std::max(p.textLength, 1);
    m_state.typedCount = p.start;

    co_await m_engine.platform().keyboard().prepare(p.text);
    progress();

    // Probe the target: focus it when it takes text, else wait a little for
    // the user to focus one. Typing starts either way.
    bool stoppedWaiting = false;
    if (element && elements.isTextInputElementRelaxed(element)) {
        elements.focus(element);
        m_state.focusChecksEnabled = true;
    } else {
        m_state.focusChecksEnabled = co_await elements.waitForTextInputFocus(o.stopFlag, o.pauseFlag, 2500.0);
        stoppedWaiting = stopRequested();
        if (!m_state.focusChecksEnabled && !stoppedWaiting) {
            // Nothing takes text: a key now would go to whatever control has
            // the focus. The run waits, as after a focus loss, until a text
            // input has the focus; only a stop ends the wait.
            m_engine.debug(QStringLiteral("start: no text input has the focus, waiting for one"));
            phase(RunPhase::Paused);
            m_state.focusChecksEnabled = co_await elements.waitForTextInputFocus(o.stopFlag, o.pauseFlag, std::nullopt);
            stoppedWaiting = stopRequested();
        }
    }
    m_engine.debug(QStringLiteral("focusChecksEnabled=") + TypingEngine::boolText(m_state.focusChecksEnabled));

    // The element the run checks at its end: the target when it takes
    // text, else the text input the wait found (which now has the focus).
    p.probeElement = element;
    if (!element || (!elements.isTextInputElementRelaxed(element) && m_state.focusChecksEnabled))
        if (const platform::Element focused = elements.focusedElement())
            p.probeElement = focused;
    p.confirmedEditable = p.probeElement && elements.isTextInputElementRelaxed(p.probeElement);
    m_engine.allowClipboardOps = p.confirmedEditable && m_engine.clipboardAllowedFor(p.probeElement);
    std::optional<platform::TextRange> selection;
    std::optional<qint64> length;
    if (p.probeElement) {
        selection = elements.selectedTextRange(p.probeElement);
        length = elements.textLengthEstimate(p.probeElement);
    }
    // Only a field read whole can be owned whole: a paragraph of a larger
    // document is never wiped or rewritten as if it were all of it.
    p.textWhole = !p.probeElement || elements.isTextWhole(p.probeElement);
    p.ownsWholeField = p.textWhole && length
                       && (*length == 0 || (selection && selection->location == 0 && selection->length == *length));
    p.allowDeferred = p.ownsWholeField && p.confirmedEditable;
    p.maxDeferred = p.allowDeferred ? std::clamp(p.textLength / 600, 2, 8) : 0;
    if (selection) {
        p.insertionStartHint = selection->location;
        if (const std::optional<QString> value = elements.readFocusedText(p.probeElement);
            value && selection->end() <= value->size()) {
            p.textBeforeInsertion = value->left(selection->location);
            p.textAfterInsertion = value->mid(selection->end());
        }
    }
    // Text of the user's stands around the run's: its Backspaces must never
    // reach it.
    if (!p.ownsWholeField && p.textWhole && p.probeElement)
        m_engine.ownedTail().begin(p.probeElement, p.textBeforeInsertion, p.textAfterInsertion);

    m_engine.debug(QStringLiteral("start: total=%1 startIndex=%2 ownsWholeField=%3 confirmedEditable=%4 "
                                  "allowDeferred=%5 clipboard=%6")
                       .arg(p.textLength)
                       .arg(p.start)
                       .arg(TypingEngine::boolText(p.ownsWholeField), TypingEngine::boolText(p.confirmedEditable),
                            TypingEngine::boolText(p.allowDeferred),
                            TypingEngine::boolText(m_engine.allowClipboardOps)));
    if (!p.textWhole)
        m_engine.debug(QStringLiteral("start: the field's text cannot be read whole; it is not claimed or wiped"));
    // A stop during the wait for a text input ends the run here.
    if (!stoppedWaiting)
        phase(RunPhase::Typing);
}

QCoro::Task<bool> TypingRun::typeCharacter(QString c)
{
    Scheduler &scheduler = m_engine.scheduler();
    if (stopRequested())
        co_return false;
    while (pauseRequested() && !stopRequested())
        co_await scheduler.sleep(120);
    if (stopRequested())
        co_return false;
    if (m_params.requiredPid && !frontmostIsRequired()) {
        const bool back = co_await holdForFrontmost();
        if (!back)
            co_return false;
    }
    const bool focusOk = co_await checkFocus();
    if (!focusOk)
        co_return false;

    if (isSentenceEnd(c))
        m_state.editCount = 0;
    QString k = c;
    const bool typoDone = co_await typoStep(k, c);
    if (!typoDone)
        co_return false;

    co_await WordBoundaryActions::onCharacter(*this, k);
    // The word-end actions wait up to half a minute; a stop meanwhile ends
    // the run before this character.
    if (stopRequested())
        co_return false;
    const double delay = KeyTiming::keystrokeDelay(k, m_state, m_params, m_engine.random());

    const KeySent sent = co_await m_engine.keys().sendKey(k);
    if (sent == KeySent::Held)
        co_return false;
    m_state.typedCount += 1;
    m_state.keysSinceRetype += 1;
    if (sent == KeySent::Posted)
        m_state.buffer += k;
    else
        (k == QLatin1String("\t") ? m_state.leftOutTabs : m_state.leftOutReturns) += 1;
    if (sent == KeySent::LeftOut && k == QLatin1String("\n")) {
        const bool held = co_await spaceForLineBreak();
        if (held)
            co_return false;
    }
    progress();
    m_state.keysSinceParagraph += 1;

    if (m_params.options.humanize)
        co_await humanTouches(k, c);
    co_await scheduler.sleep(delay);
    co_await PausePlanner::afterKey(*this, k);
    co_return true;
}

QCoro::Task<bool> TypingRun::spaceForLineBreak()
{
    // The character in front of the caret: the last one typed, else the
    // last one of the earlier text as this field took it.
    const QString before =
        m_state.buffer.isEmpty()
            ? withoutLeftOut(text::graphemes(m_params.text).mid(0, m_params.start).join(QString())).right(1)
            : m_state.buffer.right(1);
    if (!spaceStandsIn(before, m_params.remaining, m_state.charIndex))
        co_return false;
    const KeySent sent = co_await m_engine.keys().sendKey(QStringLiteral(" "));
    if (sent == KeySent::Held)
        co_return true;
    if (sent == KeySent::Posted) {
        m_state.buffer += QLatin1Char(' ');
        m_state.returnsAsSpaces += 1;
    }
    co_return false;
}

QCoro::Task<bool> TypingRun::holdForFrontmost()
{
    phase(RunPhase::Paused);
    Scheduler &scheduler = m_engine.scheduler();
    while (!stopRequested()) {
        if (pauseRequested()) {
            co_await scheduler.sleep(120);
            continue;
        }
        if (frontmostIsRequired())
            break;
        co_await scheduler.sleep(200);
    }
    if (stopRequested())
        co_return false;
    phase(RunPhase::Typing);
    co_return true;
}

QCoro::Task<bool> TypingRun::checkFocus()
{
    if (++m_state.focusCheckCounter < 8)
        co_return true;
    m_state.focusCheckCounter = 0;
    ElementAccess &elements = m_engine.elements();
    const platform::Element focused = elements.focusedElement();
    if (!m_state.focusChecksEnabled) {
        m_state.focusChecksEnabled = focused && elements.isTextInputElementRelaxed(focused);
        co_return true;
    }
    if (focused && !elements.isTextInputElementRelaxed(focused)) {
        phase(RunPhase::Paused);
        const RunOptions &o = m_params.options;
        const bool found = co_await elements.waitForTextInputFocus(o.stopFlag, o.pauseFlag, std::nullopt);
        if (!found)
            co_return false; // only a stop ends that wait
        phase(RunPhase::Typing);
    }
    co_return true;
}

QCoro::Task<bool> TypingRun::typoStep(QString &k, const QString &c)
{
    const TypoDecision decision = TypoModel::decide(c, m_state, m_params, m_engine.random());
    if (decision.earlyAttempt)
        m_state.earlyTypoDone = true;
    auto line = [&](const QString &kind, qint64 index) {
        return QStringLiteral("typo %1 idx=%2 intended=\"%3\" typed=\"%4\"")
            .arg(kind)
            .arg(index)
            .arg(c, decision.wrong);
    };

    if (decision.kind == TypoDecision::Kind::Deferred) {
        const int index = int(m_state.buffer.size());
        m_state.deferredErrors.append({index, c, decision.wrong});
        m_state.editCount += 1;
        m_state.errorCooldowns.insert(decision.cooldownKey, m_engine.words().errorCooldownWords);
        m_state.deferredTypos += 1;
        if (TypoModel::logsTypo(m_state.deferredTypos))
            m_engine.debug(line(QStringLiteral("deferred"), index));
        k = decision.wrong;
    } else if (decision.kind == TypoDecision::Kind::Immediate) {
        KeyOutput &keys = m_engine.keys();
        if (co_await keys.sendKey(decision.wrong) == KeySent::Held)
            co_return false;
        co_await m_engine.scheduler().sleep(decision.wrongKeyWaitMs);
        // The Delete belongs to the wrong key: a stop after it still takes
        // the wrong key away, and the character in hand is left untyped.
        if (co_await takeBack(decision.wrong) && m_engine.keyGate().held())
            m_state.strayKey = DeferredError{int(m_state.buffer.size()), c, decision.wrong};
        if (stopRequested())
            co_return false;
        m_state.immediateTypos += 1;
        if (TypoModel::logsTypo(m_state.immediateTypos))
            m_engine.debug(line(QStringLiteral("immediate"), m_state.typedCount));
    }
    co_return true;
}

QCoro::Task<> TypingRun::humanTouches(const QString &k, const QString &c)
{
    Random &random = m_engine.random();
    Scheduler &scheduler = m_engine.scheduler();
    KeyOutput &keys = m_engine.keys();

    // A key bounces: the extra character is taken back at once.
    if (text::isLetter(c) && random.uniformReal(0, 1) < 0.025) {
        co_await scheduler.sleep(60 + 60 * random.uniformReal(0, 1));
        if (!stopRequested()) {
            co_await keys.sendKey(k);
            co_await scheduler.sleep(90 + 70 * random.uniformReal(0, 1));
            if (co_await takeBack(k) && m_engine.keyGate().held() && !m_params.charAt(m_state.charIndex + 1).isEmpty())
                m_state.strayKey = DeferredError{int(m_state.buffer.size()), m_params.charAt(m_state.charIndex + 1), k};
        }
    }

    // A doubled space is usually noticed and removed.
    if (k == QLatin1String(" ") && m_state.lastWasSpace && random.uniformReal(0, 1) < 0.65) {
        co_await scheduler.sleep(80 + 80 * random.uniformReal(0, 1));
        const QString nothing;
        co_await m_engine.rewriteTail(1, nothing, m_state.buffer, m_state.deferredErrors, m_params.options.stopFlag);
    }
}

QCoro::Task<bool> TypingRun::takeBack(QString key)
{
    if (co_await m_engine.ownedTail().mayDelete(m_state.buffer, int(m_state.buffer.size()), key)) {
        const StopFlag noStop;
        co_await m_engine.keys().backspaceChars(key, noStop);
        co_return true;
    }
    // The caret is no longer after it: the key stays where it landed, and
    // the buffer says so, marked to be left out of what the run means.
    m_engine.debug(QStringLiteral("edit: the caret is not after the run's own text; a wrong key stays"));
    m_state.deferredErrors.append({int(m_state.buffer.size()), QString(), key});
    m_state.buffer += key;
    co_return false;
}

QCoro::Task<> TypingRun::endOfText()
{
    ElementAccess &elements = m_engine.elements();
    Scheduler &scheduler = m_engine.scheduler();
    const RunParams &p = m_params;
    m_engine.keyGate().setResumePhase(RunPhase::Editing);
    reportLeftOut();

    const platform::Element focused = elements.focusedElement();
    if (!elements.isTextInputElementRelaxed(focused) && p.probeElement
        && elements.isTextInputElementRelaxed(p.probeElement)) {
        elements.focus(p.probeElement);
        co_await scheduler.sleep(220);
    }

    if (p.requiredPid && !frontmostIsRequired()) {
        phase(RunPhase::Paused);
        while (true) {
            if (stopRequested())
                co_return;
            if (frontmostIsRequired())
                break;
            while (pauseRequested() && !stopRequested())
                co_await scheduler.sleep(120);
            co_await scheduler.sleep(200);
        }
    }

    if (stopRequested())
        co_return;
    while (pauseRequested() && !stopRequested())
        co_await scheduler.sleep(120);
    if (stopRequested())
        co_return;

    // Before anything else may change the field: whether the run's text
    // stands in one piece.
    const bool caretMoved = !co_await m_engine.ownedTail().caretStillAfter(m_state.buffer);
    m_engine.debug(QStringLiteral("editing: deferredErrors=%1 bufferLen=%2 ownsWholeField=%3")
                       .arg(m_state.deferredErrors.size())
                       .arg(text::graphemeCount(m_state.buffer))
                       .arg(TypingEngine::boolText(p.ownsWholeField)));
    phase(RunPhase::Editing);

    const QString corrected = applyDeferredErrors(m_state.buffer, m_state.deferredErrors);
    if (!m_engine.keyGate().followedTo().isNull()) {
        // The text went on in another box: neither holds it all, and a
        // repair of either would type the rest into it a second time.
        m_engine.m_lastIntendedText = p.options.humanize ? corrected : withoutLeftOut(p.text);
        m_engine.reportFieldUnchecked(QStringLiteral("the text went on in another text box of the application"));
    } else if (p.ownsWholeField) {
        EndReviewArgs args;
        args.buffer = &m_state.buffer;
        args.errors = m_state.deferredErrors;
        args.review = reviewLevel(p.options.review, p.options.humanize);
        args.intendedText = p.options.humanize ? corrected : withoutLeftOut(p.text);
        args.enforceExact = true;
        args.stopFlag = p.options.stopFlag;
        args.pauseFlag = p.options.pauseFlag;
        args.onPhase = p.options.onPhase;
        args.requiredPid = p.requiredPid;
        args.element = p.probeElement;
        args.allowClipboardOps = m_engine.allowClipboardOps;
        m_engine.m_lastIntendedText = args.intendedText;
        co_await endReview(m_engine, std::move(args));
    } else {
        SegmentArgs args;
        args.insertionStartHint = p.insertionStartHint;
        args.typedLen = corrected.size();
        args.targetText = corrected;
        args.stopFlag = p.options.stopFlag;
        args.pauseFlag = p.options.pauseFlag;
        args.onPhase = p.options.onPhase;
        args.requiredPid = p.requiredPid;
        args.element = p.probeElement;
        args.allowClipboardOps = m_engine.allowClipboardOps;
        // A resumed run also answers for the text in front of it.
        args.earlierText = withoutLeftOut(text::graphemes(p.text).mid(0, p.start).join(QString()));
        args.earlierTypos = p.options.earlierTypos;
        args.textBefore = p.textBeforeInsertion;
        args.textAfter = p.textAfterInsertion;
        args.typedText = m_state.buffer;
        args.caretMoved = caretMoved;
        m_engine.m_lastIntendedText = corrected;
        co_await finalizeInsertedSegment(m_engine, std::move(args));
    }
    // A repair cut short by a stop is no finished run; a field that differs
    // from what the run meant to leave there is none either, nor one that
    // could not be read back to tell.
    if (stopRequested())
        co_return;
    co_await settleEnd();
    if (!stopRequested())
        phase(m_engine.lastDifference()        ? RunPhase::Differs
              : m_engine.lastUncheckedReason() ? RunPhase::Unchecked
                                               : RunPhase::Done);
}

QCoro::Task<> TypingRun::settleEnd()
{
    // The run ends once the target has taken every key and the last copy
    // has landed (the user's clipboard then put back).
    const bool settled = co_await m_engine.elements().waitForKeysTaken(m_params.probeElement);
    if (!settled)
        m_engine.debug(QStringLiteral("end: the field kept changing"));
    co_await m_engine.settleLateCopy(true);
    if (!m_params.textWhole)
        m_engine.reportFieldDiffers(QStringLiteral("the text box's text cannot be read whole, so it is not verified"));
}

} // namespace qv::engine
