#pragma once

#include "core/Scheduler.h"
#include "model/SaveResult.h"
#include "model/StudyProject.h"

#include <QObject>
#include <QPointer>

#include <optional>

namespace qv::state {
class AppState;
}

namespace qv::study {

// Deleting a set in two steps and taking it back: a request marks the set
// the confirmation asks about; confirming deletes it at once and offers it
// back for five seconds on the injected clock. One offer at a time: a newer
// deletion ends the older offer.
class StudyDeleteOffer final : public QObject {
    Q_OBJECT
public:
    static constexpr double kOfferMs = 5000.0;

    StudyDeleteOffer(state::AppState &appState, Scheduler &scheduler, QObject *parent = nullptr);
    ~StudyDeleteOffer() override;

    const std::optional<StudyProject> &pendingDelete() const { return m_pending; }
    const std::optional<StudyProject> &recentlyDeleted() const { return m_recent; }
    bool offerRunning() const { return m_timer != 0; }

    // A row's or the set page's "Delete": the confirmation is asked for.
    void request(const StudyProject &set);
    // "Cancel" or any other dismissal; a running offer keeps its own time.
    void dismiss();
    // "Delete" in the confirmation. Each says whether the change reached the
    // disk; the workspace shows a failure.
    SaveResult confirm();
    // "Undo" on the banner: the set as it was deleted is stored again.
    SaveResult undo();

    // "Deleted "title"" with straight quotation marks.
    static QString bannerText(const StudyProject &set);

signals:
    void pendingChanged();
    void recentlyDeletedChanged();

private:
    void setRecent(std::optional<StudyProject> set);
    void cancelTimer();

    QPointer<state::AppState> m_appState;
    Scheduler &m_scheduler;
    std::optional<StudyProject> m_pending;
    std::optional<StudyProject> m_recent;
    Scheduler::TimerId m_timer = 0;
};

} // namespace qv::study
