#pragma once

#include "model/StudyProject.h"
#include "study/StudyViewState.h"
#include "study/views/StudyPageFactories.h"
#include "study/views/StudyServices.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QMessageBox;
class QVBoxLayout;

namespace qv {
class CustomWindow;
class NoticeBanner;
class SaveResult;
} // namespace qv

namespace qv::study {

class StudyDeleteOffer;
class StudyHostedPage;
class StudyImportView;
class StudyLibraryPage;
class StudyUndoBanner;

// The study workspace: one page at a time (the library, a set's page, a
// full-page session or a full-page test), the confirmation and undo of a
// deletion, and the window that creates or edits a set.
//
// Pages of one set always show the stored copy of their set, looked up by
// id. A page is built anew only when the page's case or its set changes;
// otherwise the existing page is handed the newest copy.
class StudyRootView final : public QWidget {
    Q_OBJECT
public:
    static constexpr double kPageAnimationMs = 200.0;
    static constexpr int kBannerBottom = 18;

    StudyRootView(state::AppState &appState, Scheduler &scheduler, const WallClock &clock,
                  StudyPageFactories factories = StudyPageFactories::standIns(), QWidget *parent = nullptr);
    ~StudyRootView() override;

    const StudyViewState &viewState() const { return m_viewState; }
    // Moves to a page, animated unless reduce motion is on.
    void setViewState(const StudyViewState &state);
    // Opens the set window for a new set (none) or to edit a set; a window
    // already open is closed first without saving.
    void openStudyWindow(const std::optional<StudyProject> &existingProject);
    void closeStudyWindow();

    // The set the current page shows (none on the library).
    std::optional<StudyProject> shownSet() const;

    // Parts, for the dashboard and tests.
    StudyLibraryPage *libraryPage() const { return m_library; }
    StudyHostedPage *currentPage() const;
    StudyDeleteOffer *deleteOffer() const { return m_deleteOffer; }
    StudyUndoBanner *undoBanner() const { return m_banner; }
    QMessageBox *deleteAlert() const;
    CustomWindow *studyWindow() const;
    StudyImportView *importView() const;
    // Whether the shown page is still fading in.
    bool isPageAnimating() const;

    // The notices above the page: a change to the sets that did not reach
    // the disk, and a sets file that could not be read.
    void showSaveResult(const SaveResult &result);
    NoticeBanner *saveNotice() const { return m_saveNotice; }
    NoticeBanner *keptFileNotice() const { return m_keptNotice; }

signals:
    void viewStateChanged();
    // True on every page but the library: the dashboard hides its top bar.
    void suppressTopBarChanged(bool suppress);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyViewState(const StudyViewState &requested);
    QWidget *buildPage(const StudyProject &shown);
    void showPageWidget(QWidget *page);
    void scheduleRefresh();
    void refresh();
    void saveFromSession(const StudyProject &updated);
    void resetFromSession();
    void syncAlert();
    void syncBanner();
    void placeBanner();
    void refreshKeptFile();
    std::optional<StudyProject> stored(const QUuid &id) const;

    QPointer<state::AppState> m_appState;
    Scheduler &m_scheduler;
    const WallClock &m_clock;
    StudyPageFactories m_factories;

    StudyViewState m_viewState;
    QVBoxLayout *m_layout;
    StudyLibraryPage *m_library;
    QPointer<StudyHostedPage> m_page;
    std::optional<StudyProject> m_handed; // what the hosted page was last given
    std::optional<StudyProject> m_pendingRestart;
    bool m_refreshPosted = false;
    bool m_suppressSet = false;

    StudyDeleteOffer *m_deleteOffer;
    StudyUndoBanner *m_banner;
    NoticeBanner *m_keptNotice;
    NoticeBanner *m_saveNotice;
    QPointer<QMessageBox> m_alert;
    QPointer<CustomWindow> m_studyWindow;
};

} // namespace qv::study
