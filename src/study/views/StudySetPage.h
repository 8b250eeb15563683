#pragma once

#include "study/SessionStats.h"
#include "study/views/FlashcardDeck.h"
#include "study/views/StudyCarousel.h"
#include "study/views/StudyHostedPage.h"
#include "study/views/StudyMode.h"
#include "study/views/StudyPageFactories.h"

#include <QMessageBox>
#include <QPointer>

#include <optional>

class QHBoxLayout;
class QLabel;
class QVBoxLayout;

namespace qv {
class QVButton;
class WallClock;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::study {

class StudyCardList;
class StudyEllipsisButton;
class StudyFrame;
class StudyProgressRow;
class StudySlideMenu;

// The page of one set: its header with the set menu and the summary pills,
// the four modes (flashcards, an inline learn/review session, an inline
// test), the statistics, the buttons to the full-page session and test, and
// in flashcards the list of cards with their menus and the card editor.
//
// The page never changes its set in place: card edits, deletions and the
// inline panes' results are saved through the application state, and the
// workspace then hands the page the stored copy, which the page passes on to
// its panes. The statistics are brought up to date only on appearing, on a
// change of mode or of the number of cards, after an inline result, after a
// deletion and after an inline reset.
//
// The page has no scroll area of its own: it grows with what its mode shows
// inside the dashboard's one scrolling card, and brings a chosen mode into
// view. The set menu floats over the page instead of pushing it down.
class StudySetPage final : public StudyHostedPage {
    Q_OBJECT
public:
    static constexpr double kMenuAnimationMs = 180.0;

    StudySetPage(state::AppState &appState, const WallClock &clock, const StudyProject &project,
                 StudyDetailActions actions, StudyPaneFactories panes = StudyPaneFactories::standIns(),
                 QWidget *parent = nullptr);
    ~StudySetPage() override;

    void setProject(const StudyProject &project) override;

    // ---- the page's state
    const StudyProject &project() const { return m_project; }
    StudyMode mode() const { return m_mode; }
    const FlashcardDeck &deck() const { return m_deck; }
    const SessionStats &sessionStats() const { return m_stats; }
    const QSet<QUuid> &weakSet() const { return m_stats.weakIds; }
    // How often the statistics were worked out, so their triggers can be checked.
    int statsRecomputeCount() const { return m_recomputes; }
    const std::optional<StudyItem> &editingCard() const { return m_editingCard; }
    const QString &draftTerm() const { return m_draftTerm; }
    const QString &draftDefinition() const { return m_draftDefinition; }
    const std::optional<StudyItem> &pendingCardDelete() const { return m_pendingCardDelete; }
    bool showSetMenu() const { return m_showSetMenu; }
    const std::optional<QUuid> &activeCardMenu() const { return m_activeCardMenu; }

    // ---- what the controls do
    void setMode(StudyMode mode);
    void moveCard(int step);
    void toggleFace();
    void toggleSetMenu();
    void toggleCardMenu(const QUuid &id);
    void openCardEditor(const StudyItem &card);
    void closeCardEditor();
    void setDraftTerm(const QString &text);
    void setDraftDefinition(const QString &text);
    void saveCardEdit(const StudyItem &card);
    void requestCardDelete(const StudyItem &card);
    void deleteCard(const StudyItem &card);

    // ---- parts, for tests
    QVButton *backButton() const { return m_back; }
    QLabel *titleLabel() const { return m_title; }
    StudyEllipsisButton *setMenuButton() const { return m_setMenuButton; }
    StudySlideMenu *setMenu() const { return m_setMenu; }
    QVButton *editSetButton() const { return m_editSet; }
    QVButton *deleteSetButton() const { return m_deleteSet; }
    // Texts of the pills, row by row, in order.
    QStringList pillTexts() const;
    QLabel *updatedLabel() const { return m_updated; }
    QVButton *modeButton(StudyMode mode) const;
    StudyProgressRow *progressRow() const { return m_progress; }
    StudyCarousel *carousel() const { return m_carousel; }
    // How long another card slides in: after an arrow's step, or on the
    // quicker return to the first card when the number of cards changes.
    static constexpr double kStepSlideMs = 280;
    static constexpr double kReturnSlideMs = 220;
    StudyCardList *cardList() const { return m_cardList; }
    StudyHostedPage *sessionPane() const { return m_session; }
    StudyHostedPage *testPane() const { return m_test; }
    QVButton *studyButton() const { return m_study; }
    QVButton *quizButton() const { return m_quiz; }
    QMessageBox *deleteCardAlert() const { return m_alert; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct PaneLink;

    void placeSetMenu();
    QWidget *buildHeader();
    QWidget *buildModeSwitcher();
    void buildCarousel();
    void buildSession();
    void buildTest();
    void dropPane(QPointer<StudyHostedPage> &pane);
    void recomputeSessionStats(const StudyProject &from);
    void saveFromPane(const StudyProject &updated);
    void reportSave(const SaveResult &result);
    void resetFromPane();
    std::optional<StudyProject> stored() const;
    void syncHeader();
    void syncModes();
    void syncCarousel();
    void syncCardList(bool animated);
    void syncAlert();
    static void fillPills(QHBoxLayout *row, const QStringList &texts);

    QPointer<state::AppState> m_appState;
    const WallClock &m_clock;
    StudyProject m_project;
    StudyDetailActions m_actions;
    StudyPaneFactories m_panes;

    StudyMode m_mode = StudyMode::flashcards;
    FlashcardDeck m_deck;
    SessionStats m_stats;
    int m_recomputes = 0;
    std::optional<StudyItem> m_editingCard;
    QString m_draftTerm;
    QString m_draftDefinition;
    std::optional<StudyItem> m_pendingCardDelete;
    bool m_showSetMenu = false;
    std::optional<QUuid> m_activeCardMenu;

    QVBoxLayout *m_column;
    QVButton *m_back;
    QLabel *m_title;
    StudyEllipsisButton *m_setMenuButton;
    StudySlideMenu *m_setMenu;
    QVButton *m_editSet;
    QVButton *m_deleteSet;
    QHBoxLayout *m_pillRows[3];
    QLabel *m_updated;
    QList<QVButton *> m_modeButtons;
    StudyProgressRow *m_progress;
    QWidget *m_content;
    QVBoxLayout *m_contentLayout;
    QPointer<StudyCarousel> m_carousel;
    double m_nextSlideMs = 0;
    StudyFrame *m_sessionFrame;
    QWidget *m_testBox;
    QPointer<StudyHostedPage> m_session;
    QPointer<StudyHostedPage> m_test;
    QVButton *m_study;
    QVButton *m_quiz;
    StudyCardList *m_cardList;
    QPointer<QMessageBox> m_alert;
};

} // namespace qv::study
