#pragma once

#include "model/StudyProject.h"
#include "study/StudySession.h"
#include "study/views/StudyPageFactories.h"
#include "study/views/StudyServices.h"

#include <QPointer>
#include <QWidget>

class QPainterPath;

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::study {

class StudyGoalPicker;
class StudyOptionsSheet;
class StudyQuestionCard;
class StudyQuizSetupCard;
class StudySessionOverlay;
class StudySessionStatsPanel;

// The screen on which one set is practised question by question: the header,
// the statistics (outside focus mode), the quiz setup or the question card,
// and the goal picker, options, completion and exit layers over it. All
// session logic lives in StudySession; this view only shows it and passes
// the controls' actions on. It never saves: every change reaches the owner
// through onUpdate.
class StudySessionView final : public QWidget {
    Q_OBJECT
public:
    static constexpr double kOverlayAnimationMs = 200.0;

    StudySessionView(const StudySessionServices &services, const StudyProject &project, StudySessionStyle style,
                     bool focusMode, StudySessionActions actions, QWidget *parent = nullptr);
    ~StudySessionView() override;

    // The appearance action: configure from the set and, in focus mode, ask
    // the first card at once. Also how the owner starts over after a reset.
    void appear(const StudyProject &project);

    StudySession &session() { return *m_session; }
    const StudySession &session() const { return *m_session; }
    bool showExitConfirm() const { return m_showExitConfirm; }

    // Parts, for tests.
    QVButton *exitButton() const { return m_exit; }
    QLabel *titleLabel() const { return m_title; }
    QVButton *optionsButton() const { return m_options; }
    QLabel *timePill() const { return m_timePill; }
    StudySessionStatsPanel *statsPanel() const { return m_stats; }
    StudyQuizSetupCard *quizSetupCard() const { return m_quizSetup; }
    StudyQuestionCard *questionCard() const { return m_card; }
    QLabel *emptyLabel() const { return m_empty; }
    StudySessionOverlay *goalPickerOverlay() const { return m_goalOverlay; }
    StudySessionOverlay *optionsOverlay() const { return m_optionsOverlay; }
    StudySessionOverlay *completionOverlay() const { return m_completionOverlay; }
    StudySessionOverlay *exitConfirmOverlay() const { return m_exitOverlay; }
    StudyGoalPicker *goalPicker() const { return m_goalPicker; }
    StudyOptionsSheet *optionsSheet() const { return m_sheet; }
    QVButton *keepStudyingButton() const { return m_keepStudying; }
    QVButton *resetButton() const { return m_reset; }
    QVButton *stayButton() const { return m_stay; }
    QVButton *confirmExitButton() const { return m_confirmExit; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildHeader(QLayout *into);
    void buildOverlays();
    // What the overlays darken: the header and the content down to the
    // lowest part shown, with the question card's rounded corners, so no
    // square corner of shade stands out beside or below the card.
    QPainterPath backdropShape() const;
    void sync();
    void setExitConfirm(bool shown);
    // Runs an owner's callback after the click that asked for it has
    // finished, since the owner may take this view away.
    void post(const std::function<void()> &callback);

    QPointer<state::AppState> m_appState;
    StudySession *m_session;
    StudySessionActions m_actions;
    bool m_showExitConfirm = false;

    QVButton *m_exit;
    QLabel *m_title;
    QVButton *m_options;
    QLabel *m_timePill;
    QWidget *m_content;
    StudyQuizSetupCard *m_quizSetup;
    StudySessionStatsPanel *m_stats;
    StudyQuestionCard *m_card;
    QLabel *m_empty;

    StudySessionOverlay *m_goalOverlay;
    StudySessionOverlay *m_optionsOverlay;
    StudySessionOverlay *m_completionOverlay;
    StudySessionOverlay *m_exitOverlay;
    StudyGoalPicker *m_goalPicker;
    StudyOptionsSheet *m_sheet;
    QVButton *m_keepStudying;
    QVButton *m_reset;
    QVButton *m_stay;
    QVButton *m_confirmExit;
};

} // namespace qv::study
