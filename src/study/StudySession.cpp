#include "study/StudySession.h"

#include "core/Random.h"
#include "core/Scheduler.h"
#include "core/WallClock.h"
#include "study/CardPicker.h"
#include "study/Counters.h"
#include "study/Grading.h"
#include "study/Shuffle.h"
#include "study/StudyStats.h"

#include <algorithm>
#include <cmath>

namespace qv::study {

namespace {
constexpr qint64 kRequeueCountdown = 2;
constexpr qint64 kTickNs = 1'000'000'000;
} // namespace

StudySession::StudySession(StudySessionStyle style, bool focusMode, Random &random, const WallClock &clock,
                           Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_style(style), m_focusMode(focusMode), m_random(random), m_clock(clock),
      m_scheduler(scheduler)
{
}

StudySession::~StudySession()
{
    stopTicking();
}

// ---- Lifecycle ------------------------------------------------------------

void StudySession::appear(const StudyProject &project)
{
    configureSession(project);
    if (m_focusMode) {
        m_showGoalPicker = false;
        m_hasChosenGoal = true;
        startNextQuestion();
    }
    emit changed();
}

void StudySession::configureSession(const StudyProject &project)
{
    m_working = project;
    m_options = project.options;
    m_hasChosenGoal = false;
    resetSessionState();
}

void StudySession::clearAnswer()
{
    m_userAnswer.clear();
    m_selectedChoice.reset();
    m_showingResult = false;
    m_wasCorrect = false;
    m_requireRetype = false;
    m_retypeInput.clear();
}

void StudySession::clearQuestionAndSession()
{
    m_currentItemId.reset();
    clearAnswer();
    m_choices.clear();
    m_sessionAnswered = 0;
    m_sessionCorrect = 0;
    m_sessionStreak = 0;
    m_correctItemIds.clear();
    m_lastQuestionType.reset();
    m_pendingRequeue.clear();
    m_questionCount = 0;
    m_orderPosition = 0;
}

void StudySession::resetSessionState()
{
    clearQuestionAndSession();
    m_showGoalPicker = !m_hasChosenGoal;
    if (m_hasChosenGoal)
        startNextQuestion();
}

void StudySession::restartAfterOptionsChange()
{
    const bool chosen = m_hasChosenGoal;
    const int goal = m_goalTarget;
    clearQuestionAndSession();
    m_hasChosenGoal = chosen;
    m_goalTarget = goal;
    m_showGoalPicker = !m_hasChosenGoal;
    if (m_hasChosenGoal)
        startNextQuestion();
    emit changed();
}

void StudySession::startNextQuestion()
{
    if (activeItems().isEmpty())
        return;
    const std::optional<QUuid> due = popDueRequeueItem();
    m_currentItemId = selectNextItem(due);
    m_promptIsTerm = true;
    pickQuestionType();
    clearAnswer();
    // One list per question, so a tapped choice never vanishes on a redraw.
    m_choices = buildChoices();
}

std::optional<QUuid> StudySession::popDueRequeueItem()
{
    if (m_pendingRequeue.isEmpty())
        return std::nullopt;
    for (RequeueEntry &entry : m_pendingRequeue)
        entry.countdown = saturatingAdd(entry.countdown, -1);
    auto due = std::find_if(m_pendingRequeue.begin(), m_pendingRequeue.end(),
                            [](const RequeueEntry &e) { return e.countdown < 1; });
    if (due == m_pendingRequeue.end())
        return std::nullopt;
    const QUuid id = due->id;
    m_pendingRequeue.removeIf([&](const RequeueEntry &e) { return e.id == id; });
    return id;
}

QUuid StudySession::selectNextItem(std::optional<QUuid> preferredId)
{
    const QList<StudyItem> active = activeItems();
    if (active.isEmpty())
        return {};
    if (preferredId) {
        for (const StudyItem &item : active)
            if (item.id == *preferredId)
                return item.id;
    }
    if (!m_options.shuffle) {
        // Walk the term order with a position of its own, stepping over the
        // card just asked, so every card comes up in turn.
        const QList<StudyItem> order = termOrder(active);
        const qint64 n = order.size();
        qint64 index = m_orderPosition % n;
        if (n > 1 && m_currentItemId && order[index].id == *m_currentItemId)
            index = (index + 1) % n;
        m_orderPosition = index + 1;
        return order[index].id;
    }
    QList<StudyItem> pool;
    for (const StudyItem &item : active)
        if (!m_currentItemId || item.id != *m_currentItemId)
            pool.append(item);
    if (pool.isEmpty())
        pool = active;
    return pool[weightedPick(pool, m_random)].id;
}

void StudySession::pickQuestionType()
{
    const std::optional<StudyItem> item = currentItem();
    StudyQuestionType type;
    if (item && isTrueFalseText(answerSide(*item))) {
        type = StudyQuestionType::trueFalse;
    } else {
        QList<StudyQuestionType> candidates = m_options.questionTypes;
        if (candidates.isEmpty())
            candidates = {StudyQuestionType::written};
        type = candidates[m_random.uniformInt(0, candidates.size() - 1)];
        // A true/false question only makes sense on a card whose answer reads
        // true or false; otherwise draw again among the other types.
        if (type == StudyQuestionType::trueFalse) {
            candidates.removeAll(StudyQuestionType::trueFalse);
            type = candidates.isEmpty() ? StudyQuestionType::written
                                        : candidates[m_random.uniformInt(0, candidates.size() - 1)];
        }
    }
    if (m_lastQuestionType && *m_lastQuestionType != type)
        m_sessionStreak = 0;
    m_lastQuestionType = type;
    m_currentQuestionType = type;
}

QStringList StudySession::buildChoices() const
{
    if (m_currentQuestionType == StudyQuestionType::written)
        return {};
    if (m_currentQuestionType == StudyQuestionType::trueFalse)
        return {QStringLiteral("True"), QStringLiteral("False")};
    const std::optional<StudyItem> item = currentItem();
    if (!item)
        return {};
    QStringList choices{correctAnswer()};
    QList<StudyItem> candidates;
    for (const StudyItem &other : activeItems())
        if (other.id != item->id && !isTrueFalseText(answerSide(other)))
            candidates.append(other);
    shuffleInPlace(candidates, m_random);
    QStringList sides;
    for (const StudyItem &candidate : std::as_const(candidates))
        sides.append(answerSide(candidate));
    appendDistinctChoices(choices, sides, 4);
    shuffleInPlace(choices, m_random);
    return choices;
}

// ---- Goal and overlays ----------------------------------------------------

void StudySession::chooseGoal(int goal)
{
    m_goalTarget = goal;
    m_showGoalPicker = false;
    m_hasChosenGoal = true;
    startNextQuestion();
    emit changed();
}

void StudySession::keepStudying()
{
    m_correctItemIds.clear();
    m_sessionAnswered = 0;
    m_sessionCorrect = 0;
    m_sessionStreak = 0;
    startNextQuestion();
    emit changed();
}

void StudySession::openOptions()
{
    m_showOptions = true;
    emit changed();
}

void StudySession::closeOptions()
{
    m_showOptions = false;
    emit changed();
}

void StudySession::applyOptions()
{
    m_showOptions = false;
    if (m_options.questionTypes.isEmpty())
        m_options.questionTypes = {StudyQuestionType::written};
    restartAfterOptionsChange();
}

void StudySession::setAnswerDirection(StudyAnswerDirection direction)
{
    m_options.answerDirection = direction;
    emit changed();
}

void StudySession::setOnlyStarred(bool on)
{
    m_options.onlyStarred = on;
    emit changed();
}

void StudySession::setShuffle(bool on)
{
    m_options.shuffle = on;
    emit changed();
}

void StudySession::setGrading(StudyGrading grading)
{
    m_options.grading = grading;
    emit changed();
}

void StudySession::setRetypeMissed(bool on)
{
    m_options.retypeMissed = on;
    emit changed();
}

void StudySession::updateQuestionTypes(StudyQuestionType type, bool isOn)
{
    if (isOn) {
        if (!m_options.questionTypes.contains(type))
            m_options.questionTypes.append(type);
    } else {
        m_options.questionTypes.removeAll(type);
    }
    emit changed();
}

// ---- Answering --------------------------------------------------------------

void StudySession::setUserAnswer(const QString &text)
{
    m_userAnswer = text;
    emit changed();
}

void StudySession::setRetypeInput(const QString &text)
{
    m_retypeInput = text;
    emit changed();
}

bool StudySession::mainButtonEnabled() const
{
    if (!m_requireRetype)
        return true;
    return sameText(normalize(m_retypeInput, StudyGrading::exact), normalize(correctAnswer(), StudyGrading::exact));
}

QString StudySession::mainButtonTitle() const
{
    return m_showingResult ? QStringLiteral("Next") : QStringLiteral("Check");
}

void StudySession::pressMain()
{
    if (m_quizTimeUp)
        return;
    if (m_showingResult)
        advance();
    else
        checkAnswer(false);
}

void StudySession::tapChoice(const QString &choice)
{
    if (m_showingResult || m_quizTimeUp)
        return;
    m_selectedChoice = choice;
    m_userAnswer = choice;
    checkAnswer(false);
}

void StudySession::answerDontKnow()
{
    if (m_showingResult || m_quizTimeUp)
        return;
    m_userAnswer.clear();
    checkAnswer(true);
}

qsizetype StudySession::indexOfItem(const QUuid &id) const
{
    for (qsizetype i = 0; i < m_working.items.size(); ++i)
        if (m_working.items[i].id == id)
            return i;
    return -1;
}

void StudySession::handBack()
{
    m_working.updatedAt = m_clock.nowUtc();
    if (m_onUpdate)
        m_onUpdate(m_working);
}

void StudySession::checkAnswer(bool forceIncorrect)
{
    if (!m_currentItemId)
        return;
    const qsizetype index = indexOfItem(*m_currentItemId);
    if (index < 0)
        return;
    const bool isChoice = m_currentQuestionType != StudyQuestionType::written;
    const QString response = isChoice && m_selectedChoice ? *m_selectedChoice : m_userAnswer;
    const StudyGrading grading =
        m_currentQuestionType == StudyQuestionType::trueFalse ? StudyGrading::exact : m_options.grading;
    const bool right = !forceIncorrect && gradeAnswer(response, correctAnswer(), grading);

    m_wasCorrect = right;
    m_showingResult = true;
    m_sessionAnswered = saturatingAdd(m_sessionAnswered, 1);

    StudyItem item = m_working.items[index];
    if (right) {
        item.correctCount = saturatingAdd(item.correctCount, 1);
        m_sessionCorrect = saturatingAdd(m_sessionCorrect, 1);
        m_sessionStreak = saturatingAdd(m_sessionStreak, 1);
        m_correctItemIds.insert(item.id);
    } else {
        item.incorrectCount = saturatingAdd(item.incorrectCount, 1);
        m_sessionStreak = 0;
        if (m_options.retypeMissed && m_currentQuestionType == StudyQuestionType::written)
            m_requireRetype = true;
        m_pendingRequeue.append({item.id, kRequeueCountdown});
    }
    item.lastReviewedAt = m_clock.nowUtc();
    m_working.items[index] = item;
    handBack();
    emit changed();
}

void StudySession::markOverrideCorrect()
{
    // Only a shown wrong result can be turned around, and only once: a double
    // click must not count two right answers.
    if (!m_showingResult || m_wasCorrect || !m_currentItemId)
        return;
    const qsizetype index = indexOfItem(*m_currentItemId);
    if (index < 0)
        return;
    StudyItem item = m_working.items[index];
    if (item.incorrectCount > 0)
        item.incorrectCount -= 1;
    item.correctCount = saturatingAdd(item.correctCount, 1);
    m_sessionCorrect = saturatingAdd(m_sessionCorrect, 1);
    m_sessionStreak = saturatingAdd(m_sessionStreak, 1);
    m_wasCorrect = true;
    m_showingResult = true;
    m_requireRetype = false;
    m_retypeInput.clear();
    m_correctItemIds.insert(item.id);
    m_pendingRequeue.removeIf([&](const RequeueEntry &e) { return e.id == item.id; });
    m_working.items[index] = item;
    handBack();
    emit changed();
}

void StudySession::advance()
{
    if (m_requireRetype && !mainButtonEnabled())
        return;
    m_questionCount = saturatingAdd(m_questionCount, 1);
    startNextQuestion();
    emit changed();
}

void StudySession::toggleStar(const QUuid &id)
{
    const qsizetype index = indexOfItem(id);
    if (index < 0)
        return;
    m_working.items[index].isStarred = !m_working.items[index].isStarred;
    handBack();
    emit changed();
}

// ---- Timed quiz style ----------------------------------------------------

void StudySession::toggleType(StudyQuestionType type)
{
    if (m_options.questionTypes.contains(type))
        m_options.questionTypes.removeAll(type);
    else
        m_options.questionTypes.append(type);
    emit changed();
}

void StudySession::randomMix()
{
    m_options.questionTypes = {StudyQuestionType::written, StudyQuestionType::multipleChoice,
                               StudyQuestionType::trueFalse};
    m_options.shuffle = true;
    emit changed();
}

void StudySession::setQuizTimeLimit(int minutes)
{
    m_quizTimeLimit = std::clamp(minutes, 0, 30);
    emit changed();
}

void StudySession::startQuiz()
{
    if (m_options.questionTypes.isEmpty())
        m_options.questionTypes = {StudyQuestionType::written};
    m_quizStarted = true;
    m_quizTimeUp = false;
    m_quizStartNs = m_scheduler.nowNs();
    m_quizTimeRemaining = qint64(m_quizTimeLimit) * 60;
    m_showGoalPicker = false;
    m_hasChosenGoal = true;
    startNextQuestion();
    emit changed();
}

void StudySession::quizTick()
{
    if (m_style != StudySessionStyle::quiz || !m_quizStarted || m_quizTimeLimit <= 0 || !m_quizStartNs)
        return;
    // Worked out from the start time on every tick, so a late tick never drifts.
    const qint64 elapsedSeconds = (m_scheduler.nowNs() - *m_quizStartNs) / kTickNs;
    const qint64 remaining = qint64(m_quizTimeLimit) * 60 - elapsedSeconds;
    m_quizTimeRemaining = std::max<qint64>(remaining, 0);
    if (remaining < 1)
        m_quizTimeUp = true;
    emit changed();
}

QString StudySession::timeRemainingLabel() const
{
    return QString::asprintf("%lld:%02lld", static_cast<long long>(m_quizTimeRemaining / 60),
                             static_cast<long long>(m_quizTimeRemaining % 60));
}

QString StudySession::timeLimitLabel() const
{
    return m_quizTimeLimit == 0 ? QStringLiteral("Unlimited") : QStringLiteral("%1 min").arg(m_quizTimeLimit);
}

bool StudySession::showsTimePill() const
{
    return m_style == StudySessionStyle::quiz && m_quizStarted && m_quizTimeLimit > 0;
}

void StudySession::startTicking()
{
    if (!m_tickTimer)
        scheduleTick();
}

void StudySession::stopTicking()
{
    if (m_tickTimer) {
        m_scheduler.cancel(*m_tickTimer);
        m_tickTimer.reset();
    }
}

void StudySession::scheduleTick()
{
    m_tickTimer = m_scheduler.scheduleNs(kTickNs, [this] {
        m_tickTimer.reset();
        scheduleTick();
        quizTick();
    });
}

// ---- Derived values --------------------------------------------------------

QString StudySession::answerSide(const StudyItem &item) const
{
    return m_promptIsTerm ? item.definition : item.term;
}

std::optional<StudyItem> StudySession::currentItem() const
{
    if (!m_currentItemId)
        return std::nullopt;
    const qsizetype index = indexOfItem(*m_currentItemId);
    if (index < 0)
        return std::nullopt;
    return m_working.items[index];
}

QList<StudyItem> StudySession::activeItems() const
{
    if (m_options.onlyStarred) {
        QList<StudyItem> starred;
        for (const StudyItem &item : m_working.items)
            if (item.isStarred)
                starred.append(item);
        if (!starred.isEmpty())
            return starred;
    }
    return m_working.items;
}

QString StudySession::promptText() const
{
    const std::optional<StudyItem> item = currentItem();
    if (!item)
        return {};
    return m_promptIsTerm ? item->term : item->definition;
}

QString StudySession::correctAnswer() const
{
    const std::optional<StudyItem> item = currentItem();
    return item ? answerSide(*item) : QString();
}

QStringList StudySession::multipleChoices() const
{
    return m_choices;
}

QList<int> StudySession::goalOptions() const
{
    return study::goalOptions(activeItems().size());
}

double StudySession::goalProgress() const
{
    if (m_goalTarget < 1)
        return 0.0;
    return double(std::min<qint64>(m_goalTarget, m_correctItemIds.size())) / double(m_goalTarget);
}

int StudySession::accuracyPercent() const
{
    return percentOf(m_sessionCorrect, m_sessionAnswered);
}

qint64 StudySession::masteredCount() const
{
    qint64 n = 0;
    for (const StudyItem &item : activeItems())
        if (isMastered(item))
            ++n;
    return n;
}

double StudySession::masteryFraction() const
{
    return double(masteredCount()) / double(std::max<qsizetype>(activeItems().size(), 1));
}

bool StudySession::goalReached() const
{
    return !m_showGoalPicker && m_correctItemIds.size() >= m_goalTarget;
}

} // namespace qv::study
