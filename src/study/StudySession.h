#pragma once

#include "model/StudyProject.h"
#include "study/AnswerCheck.h"
#include "study/QuestionPicker.h"
#include "study/QuizClock.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace qv {
class Random;
class Scheduler;
class WallClock;
} // namespace qv

namespace qv::study {

enum class StudySessionStyle { study, quiz };

// The learn and review session of one set, without widgets: the question
// shown and the answer given, the goal and the overlays, and the working copy
// of the set that is handed back after every change to a card. What is asked
// next comes from its QuestionPicker, how an answer counts from AnswerCheck,
// the timed quiz's countdown from its QuizClock. Views read its state after
// each action and on `changed()`.
class StudySession : public QObject {
    Q_OBJECT
public:
    using UpdateHandler = std::function<void(const StudyProject &)>;

    StudySession(StudySessionStyle style, bool focusMode, Random &random, const WallClock &clock, Scheduler &scheduler,
                 QObject *parent = nullptr);
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

    // ---- Goal and overlays ----------------------------------------------
    void chooseGoal(int goal);
    void keepStudying();
    void openOptions();
    void closeOptions(); // "×": edits made so far stay in force
    void applyOptions(); // "Apply": at least written, then restart in place

    // The options sheet edits the session's copy only; never saved.
    template <typename T>
    void setOption(T StudyOptions::*option, std::type_identity_t<T> value)
    {
        m_options.*option = std::move(value);
        emit changed();
    }
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
    // "I was correct": turns the shown wrong answer right, once.
    void markOverrideCorrect();
    // The next question, once a required retype matches.
    void advance();
    void toggleStar(const QUuid &id);

    // ---- Timed quiz style -------------------------------------------------
    void toggleType(StudyQuestionType type);
    void randomMix();
    void setQuizTimeLimit(int minutes); // whole minutes, 0 (no limit) to 30
    void startQuiz();
    // The repeating one-second tick while the view is shown; only a quiz
    // counts down.
    void startTicking();
    void stopTicking();
    const QuizClock &quizClock() const { return m_quizClock; }
    bool showsTimePill() const;

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
    const SessionTally &tally() const { return m_tally; }
    int goalTarget() const { return m_goalTarget; }
    bool showGoalPicker() const { return m_showGoalPicker; }
    bool showOptions() const { return m_showOptions; }

    // ---- Derived values -----------------------------------------------------
    std::optional<StudyItem> currentItem() const;
    QList<StudyItem> activeItems() const;
    QString promptText() const;
    QString correctAnswer() const;
    // The choices of the current question, built once when it starts.
    const QStringList &multipleChoices() const { return m_choices; }
    QList<int> goalOptions() const;
    qint64 masteredCount() const;
    double masteryFraction() const;
    bool goalReached() const;

signals:
    void changed();

private:
    void configureSession(const StudyProject &project);
    void startOver(); // a new session: the goal as chosen, the first question
    void startNextQuestion();
    void checkAnswer(bool forceIncorrect);
    QString answerSide(const StudyItem &item) const;
    void clearQuestionAndSession();
    void clearAnswer();
    qsizetype indexOfItem(const QUuid &id) const;
    void handBack();

    StudySessionStyle m_style;
    bool m_focusMode;
    const WallClock &m_clock;
    UpdateHandler m_onUpdate;
    QuestionPicker m_picker;
    QuizClock m_quizClock;

    StudyProject m_working;
    StudyOptions m_options;
    std::optional<QUuid> m_currentItemId;
    StudyQuestionType m_currentQuestionType = StudyQuestionType::written;
    std::optional<StudyQuestionType> m_lastQuestionType;
    bool m_promptIsTerm = true;
    QStringList m_choices;
    QString m_userAnswer;
    std::optional<QString> m_selectedChoice;
    bool m_showingResult = false;
    bool m_wasCorrect = false;
    bool m_requireRetype = false;
    QString m_retypeInput;
    SessionTally m_tally;
    int m_goalTarget = 10;
    bool m_showGoalPicker = true;
    bool m_hasChosenGoal = false;
    bool m_showOptions = false;
};

} // namespace qv::study
