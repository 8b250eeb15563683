#include "study/StudySession.h"

#include "core/WallClock.h"
#include "study/CardPicker.h"
#include "study/StudyStats.h"

#include <algorithm>

namespace qv::study {

StudySession::StudySession(StudySessionStyle style, bool focusMode, Random &random, const WallClock &clock,
                           Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_style(style), m_focusMode(focusMode), m_clock(clock), m_picker(random),
      m_quizClock(scheduler, [this] { emit changed(); })
{
}

StudySession::~StudySession() = default;

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
    startOver();
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
    m_tally = {};
    m_lastQuestionType.reset();
    m_picker.reset();
}

void StudySession::startOver()
{
    clearQuestionAndSession();
    m_showGoalPicker = !m_hasChosenGoal;
    if (m_hasChosenGoal)
        startNextQuestion();
}

void StudySession::startNextQuestion()
{
    const QList<StudyItem> active = activeItems();
    if (active.isEmpty())
        return;
    m_currentItemId = m_picker.nextCard(active, m_currentItemId, m_options.shuffle);
    m_promptIsTerm = true;
    const qsizetype index = indexOfItem(*m_currentItemId);
    const StudyItem &item = m_working.items[index];
    const StudyQuestionType type = m_picker.questionType(answerSide(item), m_options.questionTypes);
    if (m_lastQuestionType && *m_lastQuestionType != type)
        m_tally.streak = 0;
    m_lastQuestionType = type;
    m_currentQuestionType = type;
    clearAnswer();
    // One list per question, so a tapped choice never vanishes on a redraw.
    QStringList others;
    for (const StudyItem &other : active)
        if (other.id != item.id)
            others.append(answerSide(other));
    m_choices = m_picker.choices(type, answerSide(item), others);
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
    m_tally = {};
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
    startOver();
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
    return !m_requireRetype || retypeMatches(m_retypeInput, correctAnswer());
}

QString StudySession::mainButtonTitle() const
{
    return m_showingResult ? QStringLiteral("Next") : QStringLiteral("Check");
}

void StudySession::pressMain()
{
    if (m_quizClock.timeUp())
        return;
    if (m_showingResult)
        advance();
    else
        checkAnswer(false);
}

void StudySession::tapChoice(const QString &choice)
{
    if (m_showingResult || m_quizClock.timeUp())
        return;
    m_selectedChoice = choice;
    m_userAnswer = choice;
    checkAnswer(false);
}

void StudySession::answerDontKnow()
{
    if (m_showingResult || m_quizClock.timeUp())
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
    const bool right = !forceIncorrect
                       && isRightAnswer(m_currentQuestionType, m_userAnswer, m_selectedChoice, correctAnswer(),
                                        m_options.grading);
    m_wasCorrect = right;
    m_showingResult = true;
    StudyItem &item = m_working.items[index];
    countAnswer(item, right, m_clock.nowUtc());
    if (right) {
        m_tally.addRight(item.id);
    } else {
        m_tally.addWrong();
        if (m_options.retypeMissed && m_currentQuestionType == StudyQuestionType::written)
            m_requireRetype = true;
        m_picker.requeue(item.id);
    }
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
    StudyItem &item = m_working.items[index];
    countOverride(item);
    m_tally.addOverride(item.id);
    m_wasCorrect = true;
    m_requireRetype = false;
    m_retypeInput.clear();
    m_picker.forgive(item.id);
    handBack();
    emit changed();
}

void StudySession::advance()
{
    if (m_requireRetype && !mainButtonEnabled())
        return;
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
    m_quizClock.setLimit(minutes);
    emit changed();
}

void StudySession::startQuiz()
{
    if (m_options.questionTypes.isEmpty())
        m_options.questionTypes = {StudyQuestionType::written};
    m_quizClock.start();
    m_showGoalPicker = false;
    m_hasChosenGoal = true;
    startNextQuestion();
    emit changed();
}

void StudySession::startTicking()
{
    // A study session has no countdown.
    if (m_style == StudySessionStyle::quiz)
        m_quizClock.startTicking();
}

void StudySession::stopTicking() { m_quizClock.stopTicking(); }

bool StudySession::showsTimePill() const { return m_style == StudySessionStyle::quiz && m_quizClock.isTimed(); }

// ---- Derived values --------------------------------------------------------

QString StudySession::answerSide(const StudyItem &item) const { return m_promptIsTerm ? item.definition : item.term; }

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

QList<int> StudySession::goalOptions() const { return study::goalOptions(activeItems().size()); }

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

bool StudySession::goalReached() const { return !m_showGoalPicker && m_tally.correctCards.size() >= m_goalTarget; }

} // namespace qv::study
