#pragma once

#include <QObject>
#include <QString>

namespace qv::app {

// Names of the application-wide notifications.
namespace notifications {
// Posted by the "New Project" command; the dashboard opens a new project.
inline const QString openNewProject = QStringLiteral("qv-open-new-project");
} // namespace notifications

// A process-wide channel for named notifications without payload: whoever
// posts does not know who listens (nobody, while the dashboard is not shown).
class NotificationCenter final : public QObject {
    Q_OBJECT
public:
    static NotificationCenter &defaultCenter();

    void post(const QString &name);

signals:
    void posted(const QString &name);

private:
    NotificationCenter() = default;
};

} // namespace qv::app
