#include "study/views/StudyRootView.h"

#include "state/AppState.h"
#include "state/Library.h"
#include "study/StudySetMerge.h"
#include "study/views/StudyDeleteOffer.h"
#include "study/views/StudyHostedPage.h"
#include "study/views/StudyImportView.h"
#include "study/views/StudyLibraryPage.h"
#include "study/views/StudyReveal.h"
#include "study/views/StudyUndoBanner.h"
#include "theme/AnimatedValue.h"
#include "theme/ConfirmAlert.h"
#include "theme/CustomWindow.h"
#include "theme/NoticeBanner.h"

#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <memory>

namespace qv::study {

namespace {
const QString kAlertTitle = QStringLiteral("Delete Study Set?");
const QString kAlertMessage = QStringLiteral("Are you sure you want to delete this study set?");
} // namespace

StudyRootView::StudyRootView(state::AppState &appState, Scheduler &scheduler, const WallClock &clock,
                             StudyPageFactories factories, QWidget *parent)
    : QWidget(parent), m_appState(&appState), m_scheduler(scheduler), m_clock(clock), m_factories(std::move(factories))
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(12);
    m_keptNotice = new NoticeBanner(this);
    m_layout->addWidget(m_keptNotice);
    m_saveNotice = new NoticeBanner(this);
    m_layout->addWidget(m_saveNotice);

    m_library = new StudyLibraryPage(appState.preferences());
    m_layout->addWidget(m_library, 1);
    connect(m_library, &StudyLibraryPage::createRequested, this, [this] { openStudyWindow(std::nullopt); });
    connect(m_library, &StudyLibraryPage::continueRequested, this,
            [this](const StudyProject &set) { setViewState(StudyViewState::detail(set)); });
    connect(m_library, &StudyLibraryPage::openRequested, this,
            [this](const StudyProject &set) { setViewState(StudyViewState::detail(set)); });
    connect(m_library, &StudyLibraryPage::studyRequested, this,
            [this](const StudyProject &set) { setViewState(StudyViewState::study(set)); });
    connect(m_library, &StudyLibraryPage::quizRequested, this,
            [this](const StudyProject &set) { setViewState(StudyViewState::quiz(set)); });

    m_deleteOffer = new StudyDeleteOffer(appState, scheduler, this);
    connect(m_library, &StudyLibraryPage::deleteRequested, m_deleteOffer, &StudyDeleteOffer::request);
    connect(m_deleteOffer, &StudyDeleteOffer::pendingChanged, this, &StudyRootView::syncAlert);
    connect(m_deleteOffer, &StudyDeleteOffer::recentlyDeletedChanged, this, &StudyRootView::syncBanner);

    m_banner = new StudyUndoBanner(this);
    m_banner->hide();
    connect(m_banner, &StudyUndoBanner::undoClicked, this, [this] { showSaveResult(m_deleteOffer->undo()); });

    connect(&appState, &state::AppState::studyProjectsChanged, this, &StudyRootView::scheduleRefresh);
    m_library->setSets(appState.studyProjects());
    connect(&appState.library(), &state::Library::keptFilesChanged, this, &StudyRootView::refreshKeptFile);
    connect(&appState.library(), &state::Library::studyProjectsSaved, m_saveNotice,
            [notice = m_saveNotice] { notice->present(QString()); });
    refreshKeptFile();
}

void StudyRootView::showSaveResult(const SaveResult &result)
{
    m_saveNotice->present(saveFailureText(QStringLiteral("your study sets"), result));
}

void StudyRootView::refreshKeptFile()
{
    if (m_appState)
        m_keptNotice->presentOnce(state::Library::keptFileText(m_appState->library().keptStudyProjectsFile(),
                                                               QStringLiteral("study sets file")));
}

StudyRootView::~StudyRootView()
{
    // Leaving the workspace from a set's page must not leave the dashboard
    // without its top bar.
    if (m_suppressSet && m_appState)
        m_appState->setSuppressTopBar(false);
}

std::optional<StudyProject> StudyRootView::stored(const QUuid &id) const
{
    if (!m_appState)
        return std::nullopt;
    for (const StudyProject &p : m_appState->studyProjects())
        if (p.id == id)
            return p;
    return std::nullopt;
}

std::optional<StudyProject> StudyRootView::shownSet() const
{
    return study::shownSet(m_viewState, m_appState ? m_appState->studyProjects() : QList<StudyProject>{});
}

void StudyRootView::setViewState(const StudyViewState &state) { applyViewState(state); }

void StudyRootView::applyViewState(const StudyViewState &requested)
{
    // A set's page without a set has nothing to show: it is the library.
    const StudyViewState state = requested.page != StudyPage::list && !requested.held ? StudyViewState::list()
                                                                                      : requested;
    const StudyViewState old = m_viewState;
    m_viewState = state;

    if (keepsPage(old, state)) {
        // Same page: it gets the newest stored copy, after the caller's
        // callback has returned.
        if (state.page != StudyPage::list)
            scheduleRefresh();
    } else {
        // The old page may be the one whose button led here: it goes later.
        if (m_page) {
            m_layout->removeWidget(m_page);
            m_page->hide();
            m_page->deleteLater();
            m_page = nullptr;
        }
        m_handed.reset();
        m_pendingRestart.reset();
        if (state.page == StudyPage::list) {
            m_library->show();
            showPageWidget(m_library);
        } else {
            m_library->hide();
            const std::optional<StudyProject> shown = shownSet();
            auto *page = qobject_cast<StudyHostedPage *>(buildPage(*shown));
            m_page = page;
            m_handed = shown;
            if (page) {
                m_layout->addWidget(page, 1);
                page->show();
                showPageWidget(page);
            }
        }
    }

    if (old == state)
        return;
    // A new page starts at its top, wherever the last one was scrolled to.
    if (!keepsPage(old, state))
        scrollToTop(this);
    const bool suppress = suppressesTopBar(state.page);
    if (m_appState)
        m_appState->setSuppressTopBar(suppress);
    if (suppress != m_suppressSet) {
        m_suppressSet = suppress;
        emit suppressTopBarChanged(suppress);
    }
    emit viewStateChanged();
}

QWidget *StudyRootView::buildPage(const StudyProject &shown)
{
    QPointer<StudyRootView> self(this);
    // A page retired but not yet deleted must not move the workspace.
    auto page = std::make_shared<QPointer<StudyHostedPage>>();
    auto current = [self, page]() -> StudyRootView * {
        return self && *page && self->m_page == *page ? self.data() : nullptr;
    };
    auto go = [current](StudyPage to) {
        return [current, to] {
            StudyRootView *root = current();
            if (!root)
                return;
            const std::optional<StudyProject> s = root->shownSet();
            if (to == StudyPage::list)
                root->setViewState(StudyViewState::list());
            else if (s)
                root->setViewState({to, s});
        };
    };
    auto save = [self](const StudyProject &updated) {
        if (self)
            self->saveFromSession(updated);
    };

    StudyHostedPage *built = nullptr;
    switch (m_viewState.page) {
    case StudyPage::detail: {
        StudyDetailActions a;
        a.onBack = go(StudyPage::list);
        a.onStudy = go(StudyPage::study);
        a.onQuiz = go(StudyPage::quiz);
        a.onEdit = [current] {
            if (StudyRootView *root = current())
                root->openStudyWindow(root->shownSet());
        };
        a.onDelete = [current] {
            if (StudyRootView *root = current())
                if (const auto s = root->shownSet())
                    root->m_deleteOffer->request(*s);
        };
        a.onSaved = [self](const SaveResult &result) {
            if (self)
                self->showSaveResult(result);
        };
        built = m_factories.detail ? m_factories.detail(shown, std::move(a), this) : nullptr;
        break;
    }
    case StudyPage::study: {
        StudySessionActions a;
        a.onClose = go(StudyPage::detail);
        a.onUpdate = save;
        a.onReset = [current] {
            if (StudyRootView *root = current())
                root->resetFromSession();
        };
        built = m_factories.session ? m_factories.session(shown, std::move(a), this) : nullptr;
        break;
    }
    case StudyPage::quiz: {
        StudyQuizActions a;
        a.onExit = go(StudyPage::detail);
        a.onUpdate = save;
        built = m_factories.quiz ? m_factories.quiz(shown, std::move(a), this) : nullptr;
        break;
    }
    case StudyPage::list:
        break;
    }
    *page = built;
    return built;
}

void StudyRootView::saveFromSession(const StudyProject &updated)
{
    if (!m_appState)
        return;
    // The session's copy may predate an edit made in the set window: it
    // brings only its progress; the rest stays as stored.
    if (const auto s = stored(updated.id))
        showSaveResult(m_appState->saveStudyProject(mergeSessionCopy(*s, updated)));
    else
        showSaveResult(m_appState->saveStudyProject(updated));
}

void StudyRootView::resetFromSession()
{
    const std::optional<StudyProject> s = shownSet();
    if (!s || !m_appState)
        return;
    showSaveResult(m_appState->resetStudyProgress(*s));
    if (const auto fresh = stored(s->id)) {
        // The kept session starts over from the reset set; otherwise its
        // next answer would write the old counters back.
        m_pendingRestart = fresh;
        setViewState(StudyViewState::study(*fresh));
        scheduleRefresh();
    }
}

void StudyRootView::showPageWidget(QWidget *page)
{
    if (!page || !m_appState || m_appState->reduceMotionEnabled()) {
        if (page)
            page->setGraphicsEffect(nullptr);
        return;
    }
    auto *effect = new QGraphicsOpacityEffect(page);
    effect->setOpacity(0);
    page->setGraphicsEffect(effect);
    QPointer<QGraphicsOpacityEffect> fx(effect);
    QPointer<QWidget> target(page);
    auto *fade = new AnimatedValue(0, page);
    connect(fade, &AnimatedValue::changed, page, [fade, fx, target] {
        if (!fx || !target) {
            fade->deleteLater();
            return;
        }
        fx->setOpacity(fade->value());
        if (!fade->isAnimating()) {
            if (target->graphicsEffect() == fx)
                target->setGraphicsEffect(nullptr);
            fade->deleteLater();
        }
    });
    fade->set(1, Animation::easeInOut(kPageAnimationMs));
}

bool StudyRootView::isPageAnimating() const
{
    QWidget *shown = m_viewState.page == StudyPage::list ? static_cast<QWidget *>(m_library) : m_page.data();
    return shown && shown->graphicsEffect();
}

void StudyRootView::scheduleRefresh()
{
    // Posted: a change of the stored sets often comes from inside a page's
    // own callback, and the pages must not be rebuilt under it.
    if (m_refreshPosted)
        return;
    m_refreshPosted = true;
    QMetaObject::invokeMethod(
        this, [this] { refresh(); }, Qt::QueuedConnection);
}

void StudyRootView::refresh()
{
    m_refreshPosted = false;
    if (!m_appState)
        return;
    m_library->setSets(m_appState->studyProjects());
    if (!m_page)
        return;
    const std::optional<StudyProject> shown = shownSet();
    if (shown && shown != m_handed) {
        m_handed = shown;
        m_page->setProject(*shown);
    }
    if (m_pendingRestart) {
        const StudyProject fresh = *m_pendingRestart;
        m_pendingRestart.reset();
        m_page->restart(fresh);
    }
}

void StudyRootView::syncAlert()
{
    const bool asking = m_deleteOffer->pendingDelete().has_value();
    if (asking && !m_alert) {
        m_alert = openConfirmAlert(this, kAlertTitle, kAlertMessage, QStringLiteral("Delete"),
                                   [this](QMessageBox *box, bool confirmed) {
                                       if (m_alert == box)
                                           m_alert = nullptr;
                                       if (confirmed)
                                           showSaveResult(m_deleteOffer->confirm());
                                       else
                                           m_deleteOffer->dismiss();
                                   });
    } else if (!asking && m_alert) {
        QMessageBox *box = m_alert;
        m_alert = nullptr;
        box->close();
    }
}

void StudyRootView::syncBanner()
{
    if (const auto &recent = m_deleteOffer->recentlyDeleted()) {
        m_banner->setText(StudyDeleteOffer::bannerText(*recent));
        // The banner gets room of its own under the page, so that it hides
        // no row, and comes into view.
        m_layout->setContentsMargins(0, 0, 0, m_banner->sizeHint().height() + kBannerBottom);
        placeBanner();
        m_banner->show();
        m_banner->raise();
        revealInScroll(m_banner);
    } else {
        m_banner->hide();
        m_layout->setContentsMargins(0, 0, 0, 0);
    }
}

void StudyRootView::placeBanner()
{
    const int h = m_banner->sizeHint().height();
    m_banner->setGeometry(0, height() - kBannerBottom - h, width(), h);
}

void StudyRootView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeBanner();
}

void StudyRootView::openStudyWindow(const std::optional<StudyProject> &existingProject)
{
    if (!m_appState)
        return;
    // A window already open is replaced; nothing of it is saved.
    closeStudyWindow();

    QPointer<StudyRootView> self(this);
    QPointer<state::AppState> app = m_appState;
    auto windowRef = std::make_shared<QPointer<CustomWindow>>();
    // The window may outlive the workspace (a workspace switch, a sign-out):
    // it reaches the workspace only while it exists.
    auto close = [self, windowRef] {
        CustomWindow *window = *windowRef;
        if (self && window && self->m_studyWindow == window) {
            self->closeStudyWindow();
        } else if (window) {
            window->hide();
            window->closeFromOpener();
            window->deleteLater();
        }
    };
    auto save = [self, app, close](const StudyProject &saved) {
        const SaveResult written = app ? app->saveStudyProject(saved) : SaveResult::success();
        if (self) {
            self->applyViewState(StudyViewState::detail(saved));
            self->showSaveResult(written);
        }
        close();
    };

    auto *view = new StudyImportView(*m_appState, m_clock, existingProject, m_library->gradeSelection(), save, close);
    auto *window = new CustomWindow(view, 22, true);
    *windowRef = window;
    window->setCloseAction(close);
    window->setMinimumSize(700, 560);
    window->resize(880, 700);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    }
    m_studyWindow = window;
    window->show();
    window->raise();
    window->activateWindow();
    view->setFocus(Qt::OtherFocusReason);
}

void StudyRootView::closeStudyWindow()
{
    CustomWindow *window = m_studyWindow;
    m_studyWindow = nullptr;
    if (!window)
        return;
    window->hide();
    window->closeFromOpener();
    window->deleteLater();
}

QMessageBox *StudyRootView::deleteAlert() const { return m_alert; }
CustomWindow *StudyRootView::studyWindow() const { return m_studyWindow; }
StudyHostedPage *StudyRootView::currentPage() const { return m_page; }

StudyImportView *StudyRootView::importView() const
{
    return m_studyWindow ? qobject_cast<StudyImportView *>(m_studyWindow->content()) : nullptr;
}

} // namespace qv::study
