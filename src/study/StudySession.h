#pragma once

#include "model/StudyProject.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <optional>
#include <utility>

namespace qv {
class Random;
class Scheduler;
class WallClock;
} // namespace qv

namespace qv::study {

enum class StudySessionStyle { study, quiz };

// The learn and review session of one set, without widgets: what is asked,
// how answers are checked and counted, and the working copy of the set that
// is handed back after every change to a card. Views read its state after
// each action and on `changed()`.
class StudySession : public QObject {
    Q_OBJECT
public:
    using UpdateHandler = std::function<void(const StudyProject &)>;

    struct RequeueEntry {
        QUuid id;
        qint64 countdown = 0;
        bool operator==(const RequeueEntry &) const = default;
    };

    StudySession(StudySessionStyle style, bool focusMode, Random &random, const WallClock &clock,
                 Scheduler &scheduler, QObject *parent = nullptr);
    ~StudySession() override;

    // Receives the whole working copy after every check, override and star.
    void setUpdateHandler(UpdateHandler handler) { m_onUpdate = std::move(handler); }

    // ---- Lifecycle -------------------------------------------------------
    // What the view does each time it appears: configure from the set and, in
    // focus mode, take the current goal and ask the first card at once.
    void appear(const StudyProject &project);
    // Called by the owner after it reset the set's progress: the whole
    // appearance again from the stored, reset set (clears the completion).
    void restart(const StudyProject &project) { appear(project); }

    void configureSession(const StudyProject &project);
    void resetSessionState();
    void restartAfterOptionsChange();
    void startNextQuestion();
    std::optional<QUuid> popDueRequeueItem();
    QUuid selectNextItem(std::optional<QUuid> preferredId);
    void pickQuestionType();

    // ---- Goal and overlays ----------------------------------------------
    void chooseGoal(int goal);
    void keepStudying();
    void openOptions();
    void closeOptions(); // "×": edits made so far stay in force
    void applyOptions(); // "Apply": at least written, then restart in place

    // The options sheet edits the session's copy only; never saved.
    void setAnswerDirection(StudyAnswerDirection direction);
    void setOnlyStarred(bool on);
    void setShuffle(bool on);
    void setGrading(StudyGrading grading);
    void setRetypeMissed(bool on);
    void updateQuestionTypes(StudyQuestionType type, bool isOn);

    // ---- Answering (the question card's controls) -----------------------
    void setUserAnswer(const QString &text);
    void setRetypeInput(const QString &text);
    // The main button: "Next" while a result shows, else "Check"; inert after time-up.
    void pressMain();
    bool mainButtonEnabled() const;
    QString mainButtonTitle() const;
    // A choice row: records the choice and checks at once, while the question is open.
    void tapChoice(const QString &choice);
    // "I don't know": a wrong answer with an empty response, while the question is open.
    void answerDontKnow();
    bool showsOverrideButton() const { return m_showingResult && !m_wasCorrect; }

    void checkAnswer(bool forceIncorrect);
    void markOverrideCorrect();
    void advance();
    void toggleStar(const QUuid &id);

    // ---- Timed quiz style -------------------------------------------------
    void toggleType(StudyQuestionType type);
    void randomMix();
    void setQuizTimeLimit(int minutes); // whole minutes, 0 (no limit) to 30
    void startQuiz();
    // The countdown step of every one-second tick.
    void quizTick();
    QString timeRemainingLabel() const;
    QString timeLimitLabel() const;
    bool showsTimePill() const;
    // The repeating one-second timer while the view is shown.
    void startTicking();
    void stopTicking();
    bool isTicking() const { return m_tickTimer.has_value(); }

    // ---- State --------------------------------------------------------------
    StudySessionStyle style() const { return m_style; }
    bool focusMode() const { return m_focusMode; }
    const StudyProject &workingProject() const { return m_working; }
    const StudyOptions &options() const { return m_options; }
    std::optional<QUuid> currentItemId() const { return m_currentItemId; }
    StudyQuestionType currentQuestionType() const { return m_currentQuestionType; }
    bool promptIsTerm() const { return m_promptIsTerm; }
    const QString &userAnswer() const { return m_userAnswer; }
    std::optional<QString> selectedChoice() const { return m_selectedChoice; }
    bool showingResult() const { return m_showingResult; }
    bool wasCorrect() const { return m_wasCorrect; }
    bool requireRetype() const { return m_requireRetype; }
    const QString &retypeInput() const { return m_retypeInput; }
    qint64 sessionAnswered() const { return m_sessionAnswered; }
    qint64 sessionCorrect() const { return m_sessionCorrect; }
    qint64 sessionStreak() const { return m_sessionStreak; }
    int goalTarget() const { return m_goalTarget; }
    bool showGoalPicker() const { return m_showGoalPicker; }
    bool hasChosenGoal() const { return m_hasChosenGoal; }
    bool showOptions() const { return m_showOptions; }
    const QSet<QUuid> &correctItemIds() const { return m_correctItemIds; }
    std::optional<StudyQuestionType> lastQuestionType() const { return m_lastQuestionType; }
    const QList<RequeueEntry> &pendingRequeue() const { return m_pendingRequeue; }
    qint64 questionCount() const { return m_questionCount; }
    bool quizStarted() const { return m_quizStarted; }
    int quizTimeLimit() const { return m_quizTimeLimit; }
    qint64 quizTimeRemaining() const { return m_quizTimeRemaining; }
    bool quizTimeUp() const { return m_quizTimeUp; }

    // ---- Derived values -----------------------------------------------------
    std::optional<StudyItem> currentItem() const;
    QList<StudyItem> activeItems() const;
    QString promptText() const;
    QString correctAnswer() const;
    // The choices of the current question, built once when it starts.
    QStringList multipleChoices() const;
    QList<int> goalOptions() const;
    double goalProgress() const;
    int accuracyPercent() const;
    qint64 masteredCount() const;
    double masteryFraction() const;
    bool goalReached() const;

signals:
    void changed();

private:
    QStringList buildChoices() const;
    QString answerSide(const StudyItem &item) const;
    void clearQuestionAndSession();
    void clearAnswer();
    qsizetype indexOfItem(const QUuid &id) const;
    void handBack();
    void scheduleTick();

    StudySessionStyle m_style;
    bool m_focusMode;
    Random &m_random;
    const WallClock &m_clock;
    Scheduler &m_scheduler;
    UpdateHandler m_onUpdate;

    StudyProject m_working;
    StudyOptions m_options;
    std::optional<QUuid> m_currentItemId;
    StudyQuestionType m_currentQuestionType = StudyQuestionType::written;
    bool m_promptIsTerm = true;
    QString m_userAnswer;
    std::optional<QString> m_selectedChoice;
    bool m_showingResult = false;
    bool m_wasCorrect = false;
    bool m_requireRetype = false;
    QString m_retypeInput;
    qint64 m_sessionAnswered = 0;
    qint64 m_sessionCorrect = 0;
    qint64 m_sessionStreak = 0;
    int m_goalTarget = 10;
    bool m_showGoalPicker = true;
    bool m_hasChosenGoal = false;
    bool m_showOptions = false;
    QSet<QUuid> m_correctItemIds;
    std::optional<StudyQuestionType> m_lastQuestionType;
    QList<RequeueEntry> m_pendingRequeue;
    qint64 m_questionCount = 0;
    // Position in the unshuffled term order: the card after the last one
    // taken from it, so every card comes up in turn.
    qint64 m_orderPosition = 0;
    QStringList m_choices;

    bool m_quizStarted = false;
    int m_quizTimeLimit = 0;
    std::optional<qint64> m_quizStartNs;
    qint64 m_quizTimeRemaining = 0;
    bool m_quizTimeUp = false;
    std::optional<quint64> m_tickTimer;
};

} // namespace qv::study
