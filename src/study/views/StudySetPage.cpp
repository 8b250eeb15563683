#include "study/views/StudySetPage.h"

#include "core/Text.h"
#include "core/WallClock.h"
#include "state/AppState.h"
#include "study/StudySetMerge.h"
#include "study/views/StudyCapsuleLabel.h"
#include "study/views/StudyCardList.h"
#include "study/views/StudyCarousel.h"
#include "study/views/StudyEllipsisButton.h"
#include "study/views/StudyFrame.h"
#include "study/views/StudyProgressRow.h"
#include "study/views/StudyReveal.h"
#include "study/views/StudySetPageText.h"
#include "study/views/StudySlideMenu.h"
#include "study/views/StudyText.h"
#include "theme/ConfirmAlert.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>
#include <utility>

namespace qv::study {

namespace {
const QString kAlertTitle = QStringLiteral("Delete card?");
const QString kAlertMessage = QStringLiteral("This card will be removed from the set.");

// Calls a callback held by value, so the caller may be torn down meanwhile.
void call(std::function<void()> callback)
{
    if (callback)
        callback();
}

// One summary pill of the header: a short caption on a raised capsule.
StudyCapsuleLabel *headerPill(const QString &text)
{
    auto *pill = new StudyCapsuleLabel(text, TextStyle::Caption, QFont::DemiBold, Theme::text(), Theme::surfaceAlt(),
                                       10, 5);
    pill->setOutline(Theme::border());
    pill->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return pill;
}
} // namespace

StudySetPage::StudySetPage(state::AppState &appState, const WallClock &clock, const StudyProject &project,
                           StudyDetailActions actions, StudyPaneFactories panes, QWidget *parent)
    : StudyHostedPage(parent), m_appState(&appState), m_clock(clock), m_project(project), m_actions(std::move(actions)),
      m_panes(std::move(panes))
{
    m_column = new QVBoxLayout(this);
    m_column->setContentsMargins(0, 8, 0, 0);
    m_column->setSpacing(16);

    // 1. Back
    auto *backRow = new QHBoxLayout;
    m_back = new QVButton(QStringLiteral("Back"), QVButtonVariant::secondary, false);
    backRow->addWidget(m_back);
    backRow->addStretch(1);
    m_column->addLayout(backRow);
    connect(m_back, &QAbstractButton::clicked, this, [this] { call(m_actions.onBack); });

    // 2. Header, 3. modes, 4. statistics
    m_column->addWidget(buildHeader());
    m_column->addWidget(buildModeSwitcher());
    m_progress = new StudyProgressRow;
    m_column->addWidget(m_progress);

    // 5. What the mode shows
    m_content = new QWidget;
    m_contentLayout = new QVBoxLayout(m_content);
    m_contentLayout->setContentsMargins(0, 0, 0, 0);
    m_contentLayout->setSpacing(0);
    m_sessionFrame = new StudyFrame(14);
    auto *sessionLayout = new QVBoxLayout(m_sessionFrame);
    sessionLayout->setContentsMargins(12, 12, 12, 12);
    m_contentLayout->addWidget(m_sessionFrame);
    m_testBox = new QWidget;
    auto *testLayout = new QVBoxLayout(m_testBox);
    testLayout->setContentsMargins(0, 0, 0, 0);
    m_contentLayout->addWidget(m_testBox);
    m_column->addWidget(m_content);

    // 6. Full-page session and test
    auto *studyRow = new QHBoxLayout;
    studyRow->setSpacing(12);
    studyRow->addStretch(1);
    m_study = new QVButton(QStringLiteral("Study"), QVButtonVariant::primary, false);
    m_study->setMinimumWidth(160);
    m_quiz = new QVButton(QStringLiteral("Quiz"), QVButtonVariant::secondary, false);
    m_quiz->setMinimumWidth(160);
    studyRow->addWidget(m_study);
    studyRow->addWidget(m_quiz);
    studyRow->addStretch(1);
    m_column->addLayout(studyRow);
    connect(m_study, &QAbstractButton::clicked, this, [this] { call(m_actions.onStudy); });
    connect(m_quiz, &QAbstractButton::clicked, this, [this] { call(m_actions.onQuiz); });

    // 7. The cards
    m_cardList = new StudyCardList;
    m_column->addWidget(m_cardList);
    m_column->addStretch(1);
    connect(m_cardList, &StudyCardList::menuClicked, this, &StudySetPage::toggleCardMenu);
    connect(m_cardList, &StudyCardList::editClicked, this, [this](const StudyItem &card) {
        m_activeCardMenu.reset();
        openCardEditor(card);
    });
    connect(m_cardList, &StudyCardList::deleteClicked, this, [this](const StudyItem &card) {
        m_activeCardMenu.reset();
        syncCardList(true);
        requestCardDelete(card);
    });
    connect(m_cardList, &StudyCardList::termEdited, this, &StudySetPage::setDraftTerm);
    connect(m_cardList, &StudyCardList::definitionEdited, this, &StudySetPage::setDraftDefinition);
    connect(m_cardList, &StudyCardList::cancelClicked, this, &StudySetPage::closeCardEditor);
    connect(m_cardList, &StudyCardList::saveClicked, this, &StudySetPage::saveCardEdit);

    buildCarousel();
    // On appearing.
    recomputeSessionStats(m_project);
    syncHeader();
    syncModes();
    syncCarousel();
    syncCardList(false);
}

StudySetPage::~StudySetPage()
{
    if (m_alert)
        m_alert->disconnect(this);
}

QWidget *StudySetPage::buildHeader()
{
    auto *header = new StudyFrame(14);
    auto *layout = new QVBoxLayout(header);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(10);

    auto *titleRow = new QHBoxLayout;
    m_title = styledLabel({}, TextStyle::Title, QFont::DemiBold, Theme::text());
    m_title->setWordWrap(true);
    titleRow->addWidget(m_title, 1, Qt::AlignTop);
    m_setMenuButton = new StudyEllipsisButton(36, TextStyle::Title3);
    titleRow->addWidget(m_setMenuButton, 0, Qt::AlignTop);
    layout->addLayout(titleRow);
    connect(m_setMenuButton, &QAbstractButton::clicked, this, &StudySetPage::toggleSetMenu);

    // Over the page, under the button, so that opening it moves nothing.
    m_setMenu = new StudySlideMenu(this);
    m_setMenuButton->installEventFilter(this);
    header->installEventFilter(this);
    m_editSet = new QVButton(QStringLiteral("Edit Set"), QVButtonVariant::secondary, true);
    m_deleteSet = new QVButton(QStringLiteral("Delete Set"), QVButtonVariant::destructive, true);
    m_setMenu->addButton(m_editSet);
    m_setMenu->addButton(m_deleteSet);
    auto closeThen = [this](std::function<void()> StudyDetailActions::*callback) {
        return [this, callback] {
            m_showSetMenu = false;
            m_setMenu->setOpen(false, false);
            call(m_actions.*callback);
        };
    };
    connect(m_editSet, &QAbstractButton::clicked, this, closeThen(&StudyDetailActions::onEdit));
    connect(m_deleteSet, &QAbstractButton::clicked, this, closeThen(&StudyDetailActions::onDelete));

    for (int i = 0; i < 3; ++i) {
        m_pillRows[i] = new QHBoxLayout;
        m_pillRows[i]->setSpacing(8);
        layout->addLayout(m_pillRows[i]);
    }
    m_updated = styledLabel({}, TextStyle::Caption, std::nullopt, Theme::subtext());
    return header;
}

QWidget *StudySetPage::buildModeSwitcher()
{
    auto *switcher = new StudyFrame(14);
    auto *layout = new QHBoxLayout(switcher);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    for (StudyMode mode : allStudyModes()) {
        auto *button = new QVButton(rawValue(mode), QVButtonVariant::secondary, true);
        connect(button, &QAbstractButton::clicked, this, [this, mode] { setMode(mode); });
        layout->addWidget(button);
        m_modeButtons.append(button);
    }
    layout->addStretch(1);
    return switcher;
}

void StudySetPage::buildCarousel()
{
    // Entering the flashcards builds them afresh: no slide or turn carries over.
    if (m_carousel) {
        m_contentLayout->removeWidget(m_carousel);
        m_carousel->hide();
        m_carousel->deleteLater();
    }
    m_carousel = new StudyCarousel;
    m_contentLayout->insertWidget(0, m_carousel);
    connect(m_carousel, &StudyCarousel::previousClicked, this, [this] { moveCard(-1); });
    connect(m_carousel, &StudyCarousel::nextClicked, this, [this] { moveCard(1); });
    connect(m_carousel, &StudyCarousel::toggleClicked, this, &StudySetPage::toggleFace);
}

void StudySetPage::dropPane(QPointer<StudyHostedPage> &pane)
{
    if (!pane)
        return;
    // The pane may be the one whose button led here: it goes later.
    StudyHostedPage *old = pane;
    pane = nullptr;
    if (QLayout *layout = old->parentWidget() ? old->parentWidget()->layout() : nullptr)
        layout->removeWidget(old);
    old->hide();
    old->deleteLater();
}

// A pane's way back to its page. Only the pane on show in its slot may move
// the page; a retired one may still save.
struct StudySetPage::PaneLink {
    QPointer<StudySetPage> page;
    QPointer<StudyHostedPage> StudySetPage::*slot;
    std::shared_ptr<QPointer<StudyHostedPage>> pane = std::make_shared<QPointer<StudyHostedPage>>();

    StudySetPage *current() const { return page && *pane && page.data()->*slot == *pane ? page.data() : nullptr; }

    // Makes the built pane, if any, the one on show in its frame.
    void show(StudyHostedPage *built, QWidget *frame) const
    {
        *pane = built;
        page.data()->*slot = built;
        if (built) {
            frame->layout()->addWidget(built);
            built->show();
        }
    }
};

void StudySetPage::buildSession()
{
    dropPane(m_session);
    if (!m_panes.session)
        return;
    const PaneLink link{this, &StudySetPage::m_session};
    StudySessionActions a;
    a.onClose = [link] {
        if (StudySetPage *page = link.current())
            page->setMode(StudyMode::flashcards);
    };
    a.onUpdate = [self = link.page](const StudyProject &updated) {
        if (self)
            self->saveFromPane(updated);
    };
    a.onReset = [link] {
        if (StudySetPage *page = link.current())
            page->resetFromPane();
    };
    link.show(m_panes.session(m_project, std::move(a), m_sessionFrame), m_sessionFrame);
}

void StudySetPage::buildTest()
{
    dropPane(m_test);
    if (!m_panes.quiz)
        return;
    const PaneLink link{this, &StudySetPage::m_test};
    StudyQuizActions a;
    a.onExit = [link] {
        if (StudySetPage *page = link.current())
            page->setMode(StudyMode::flashcards);
    };
    a.onUpdate = [self = link.page](const StudyProject &updated) {
        if (self)
            self->saveFromPane(updated);
    };
    link.show(m_panes.quiz(m_project, std::move(a), m_testBox), m_testBox);
}

void StudySetPage::setProject(const StudyProject &project)
{
    const bool countChanged = project.items.size() != m_project.items.size();
    m_project = project;
    // The panes keep running on the newest stored copy.
    if (m_session)
        m_session->setProject(project);
    if (m_test)
        m_test->setProject(project);
    if (countChanged) {
        // Coming back to the first card from elsewhere slides it in.
        if (m_deck.currentIndex != 0)
            m_nextSlideMs = kReturnSlideMs;
        m_deck.reset();
        recomputeSessionStats(m_project);
    }
    syncHeader();
    syncCarousel();
    syncCardList(false);
}

std::optional<StudyProject> StudySetPage::stored() const
{
    if (!m_appState)
        return std::nullopt;
    for (const StudyProject &p : m_appState->studyProjects())
        if (p.id == m_project.id)
            return p;
    return std::nullopt;
}

void StudySetPage::recomputeSessionStats(const StudyProject &from)
{
    m_stats = SessionStats(from);
    ++m_recomputes;
    m_progress->setStats(m_stats);
    syncCarousel();
    syncCardList(false);
}

// ---- modes

void StudySetPage::setMode(StudyMode mode)
{
    if (mode == m_mode)
        return;
    const StudyMode old = m_mode;
    m_mode = mode;
    recomputeSessionStats(m_project);
    m_deck.reset();

    if (!isSessionMode(mode))
        dropPane(m_session);
    if (mode != StudyMode::test)
        dropPane(m_test);
    // Learn and Review share the running session; coming from elsewhere starts one.
    if (isSessionMode(mode) && !(isSessionMode(old) && m_session))
        buildSession();
    if (mode == StudyMode::test)
        buildTest();
    const bool entering = mode == StudyMode::flashcards;
    if (old == StudyMode::flashcards && m_carousel)
        m_carousel->playExit(this);
    if (entering)
        buildCarousel();
    syncModes();
    if (entering)
        m_carousel->playEntrance();
    syncCarousel();
    syncCardList(false);
    // What the chosen mode shows may start below the fold.
    if (entering)
        revealInScroll(m_carousel);
    else
        revealInScroll(mode == StudyMode::test ? m_testBox : static_cast<QWidget *>(m_sessionFrame));
}

void StudySetPage::syncModes()
{
    const QList<StudyMode> modes = allStudyModes();
    for (qsizetype i = 0; i < modes.size(); ++i)
        m_modeButtons.at(i)->setVariant(modes.at(i) == m_mode ? QVButtonVariant::primary : QVButtonVariant::secondary);
    const bool flashcards = m_mode == StudyMode::flashcards;
    if (m_carousel)
        m_carousel->setVisible(flashcards);
    m_sessionFrame->setVisible(isSessionMode(m_mode));
    m_testBox->setVisible(m_mode == StudyMode::test);
    m_cardList->setVisible(flashcards);
}

QVButton *StudySetPage::modeButton(StudyMode mode) const
{
    const qsizetype i = allStudyModes().indexOf(mode);
    return i >= 0 ? m_modeButtons.at(i) : nullptr;
}

// ---- what the inline panes report

void StudySetPage::reportSave(const SaveResult &result)
{
    if (m_actions.onSaved)
        m_actions.onSaved(result);
}

void StudySetPage::saveFromPane(const StudyProject &updated)
{
    if (!m_appState)
        return;
    // The pane's copy may predate an edit made in the set window: it brings
    // only its progress; the rest stays as stored.
    const std::optional<StudyProject> s = stored();
    const StudyProject merged = s && s->id == updated.id ? mergeSessionCopy(*s, updated) : updated;
    reportSave(m_appState->saveStudyProject(merged));
    recomputeSessionStats(merged);
}

void StudySetPage::resetFromPane()
{
    const std::optional<StudyProject> s = stored();
    if (!s || !m_appState) {
        // A set no longer stored is not brought back by a reset.
        recomputeSessionStats(m_project);
        return;
    }
    reportSave(m_appState->resetStudyProgress(*s));
    const StudyProject fresh = stored().value_or(*s);
    recomputeSessionStats(fresh);
    // The running session starts over from the reset set, once the button
    // that asked for it has returned; otherwise its next answer would write
    // the old counters back.
    QPointer<StudySetPage> self(this);
    QPointer<StudyHostedPage> pane = m_session;
    QMetaObject::invokeMethod(
        this,
        [self, pane, fresh] {
            if (self && pane && self->m_session == pane)
                pane->restart(fresh);
        },
        Qt::QueuedConnection);
}

// ---- flashcards

void StudySetPage::moveCard(int step)
{
    if (m_deck.move(step, m_project.items.size())) {
        m_nextSlideMs = kStepSlideMs;
        syncCarousel();
    }
}

void StudySetPage::toggleFace()
{
    m_deck.flip();
    syncCarousel();
}

void StudySetPage::syncCarousel()
{
    const double slideMs = std::exchange(m_nextSlideMs, 0);
    if (m_carousel && m_mode == StudyMode::flashcards)
        m_carousel->present(m_project.items, m_stats.weakIds, m_deck, slideMs);
}

// ---- menus

void StudySetPage::toggleSetMenu()
{
    // Opening the set menu closes any card menu.
    if (!m_showSetMenu)
        m_activeCardMenu.reset();
    m_showSetMenu = !m_showSetMenu;
    placeSetMenu();
    m_setMenu->raise();
    m_setMenu->setOpen(m_showSetMenu, true);
    syncCardList(true);
}

void StudySetPage::placeSetMenu()
{
    const QSize size = m_setMenu->panel()->sizeHint();
    const QPoint under = m_setMenuButton->mapTo(this, QPoint(m_setMenuButton->width(), m_setMenuButton->height()));
    m_setMenu->setGeometry(under.x() - size.width(), under.y() + 6, size.width(), m_setMenu->height());
}

bool StudySetPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        placeSetMenu();
    return StudyHostedPage::eventFilter(watched, event);
}

void StudySetPage::resizeEvent(QResizeEvent *event)
{
    StudyHostedPage::resizeEvent(event);
    placeSetMenu();
}

void StudySetPage::toggleCardMenu(const QUuid &id)
{
    m_showSetMenu = false;
    m_setMenu->setOpen(false, true);
    if (m_activeCardMenu == id)
        m_activeCardMenu.reset();
    else
        m_activeCardMenu = id;
    syncCardList(true);
}

// ---- the card editor

void StudySetPage::openCardEditor(const StudyItem &card)
{
    m_editingCard = card;
    m_draftTerm = card.term;
    m_draftDefinition = card.definition;
    syncCardList(false);
}

void StudySetPage::closeCardEditor()
{
    m_editingCard.reset();
    m_draftTerm.clear();
    m_draftDefinition.clear();
    syncCardList(false);
}

void StudySetPage::setDraftTerm(const QString &text) { m_draftTerm = text; }
void StudySetPage::setDraftDefinition(const QString &text) { m_draftDefinition = text; }

void StudySetPage::saveCardEdit(const StudyItem &card)
{
    const QString term = text::trimmed(m_draftTerm);
    const QString definition = text::trimmed(m_draftDefinition);
    if (term.isEmpty() || definition.isEmpty())
        return; // refused quietly; the editor keeps the user's text
    StudyProject copy = m_project;
    auto it = std::find_if(copy.items.begin(), copy.items.end(), [&](const StudyItem &i) { return i.id == card.id; });
    if (it == copy.items.end()) {
        closeCardEditor();
        return;
    }
    // Only the two sides change; counters, star and position stay.
    it->term = term;
    it->definition = definition;
    copy.updatedAt = m_clock.nowUtc();
    if (m_appState)
        reportSave(m_appState->saveStudyProject(copy));
    closeCardEditor();
}

void StudySetPage::syncCardList(bool animated)
{
    if (m_mode != StudyMode::flashcards)
        return;
    StudyCardListState state;
    state.weakIds = m_stats.weakIds;
    if (m_editingCard)
        state.editing = m_editingCard->id;
    state.draftTerm = m_draftTerm;
    state.draftDefinition = m_draftDefinition;
    state.activeMenu = m_activeCardMenu;
    m_cardList->present(m_project.items, state, animated);
}

// ---- deleting a card

void StudySetPage::requestCardDelete(const StudyItem &card)
{
    m_pendingCardDelete = card;
    syncAlert();
}

void StudySetPage::deleteCard(const StudyItem &card)
{
    StudyProject copy = m_project;
    copy.items.removeIf([&](const StudyItem &i) { return i.id == card.id; });
    copy.updatedAt = m_clock.nowUtc();
    if (m_appState)
        reportSave(m_appState->saveStudyProject(copy));
    recomputeSessionStats(copy);
}

void StudySetPage::syncAlert()
{
    if (m_pendingCardDelete && !m_alert) {
        m_alert = openConfirmAlert(this, kAlertTitle, kAlertMessage, QStringLiteral("Delete"),
                                   [this](QMessageBox *box, bool confirmed) {
                                       if (m_alert == box)
                                           m_alert = nullptr;
                                       const std::optional<StudyItem> pending = m_pendingCardDelete;
                                       m_pendingCardDelete.reset();
                                       if (confirmed && pending)
                                           deleteCard(*pending);
                                   });
    } else if (!m_pendingCardDelete && m_alert) {
        QMessageBox *box = m_alert;
        m_alert = nullptr;
        box->close();
    }
}

// ---- header

void StudySetPage::fillPills(QHBoxLayout *row, const QStringList &texts)
{
    while (QLayoutItem *item = row->takeAt(0)) {
        if (QWidget *w = item->widget(); w && qobject_cast<StudyCapsuleLabel *>(w)) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    for (const QString &text : texts)
        row->addWidget(headerPill(text));
}

QStringList StudySetPage::pillTexts() const
{
    QStringList out;
    for (QHBoxLayout *row : m_pillRows)
        for (int i = 0; i < row->count(); ++i)
            if (auto *pill = qobject_cast<StudyCapsuleLabel *>(row->itemAt(i)->widget()))
                out << pill->text();
    return out;
}

void StudySetPage::syncHeader()
{
    m_title->setText(m_project.title);
    const StudyOptions &o = m_project.options;
    fillPills(m_pillRows[0], {setpage::gradePill(m_project.grade), setpage::sizePill(m_project.items.size()),
                              setpage::shufflePill(o.shuffle), setpage::scopePill(o.onlyStarred)});
    m_pillRows[0]->addStretch(1);
    fillPills(m_pillRows[1], {setpage::directionPill(o.answerDirection), setpage::gradingPill(o.grading)});
    m_pillRows[1]->addStretch(1);
    fillPills(m_pillRows[2], setpage::questionTypePills(o.questionTypes));
    m_updated->setText(setpage::updatedText(m_project.updatedAt));
    m_pillRows[2]->addWidget(m_updated);
    m_pillRows[2]->addStretch(1);
}

} // namespace qv::study
