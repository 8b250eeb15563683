#pragma once

#include "core/Scheduler.h"
#include "model/Project.h"

#include <QObject>

#include <optional>

namespace qv::dashboard {

// The last deleted project, offered for undo for five seconds. A newer
// deletion replaces the offer, so the older one becomes final.
class UndoOffer final : public QObject {
    Q_OBJECT
public:
    static constexpr double kOfferMs = 5000;

    explicit UndoOffer(Scheduler &scheduler, QObject *parent = nullptr);
    ~UndoOffer() override;

    const std::optional<Project> &recentlyDeleted() const { return m_recentlyDeleted; }

    void offer(const Project &project);
    // Ends the offer and hands back its project (nothing when none is offered).
    std::optional<Project> take();

signals:
    void changed();

private:
    void cancelTimer();

    Scheduler &m_scheduler;
    Scheduler::TimerId m_timer = 0;
    std::optional<Project> m_recentlyDeleted;
};

} // namespace qv::dashboard
