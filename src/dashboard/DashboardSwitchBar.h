#pragma once

#include "dashboard/DashboardMode.h"

#include <QList>
#include <QWidget>

class QAbstractButton;

namespace qv::dashboard {

// The capsule of three segments under the page title; the segment of the
// workspace shown is filled.
class DashboardSwitchBar : public QWidget {
    Q_OBJECT
public:
    explicit DashboardSwitchBar(QWidget *parent = nullptr);

    void setCurrent(DashboardMode mode);
    DashboardMode current() const { return m_current; }
    QAbstractButton *segment(DashboardMode mode) const;

signals:
    void requested(qv::dashboard::DashboardMode mode);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    class Segment;
    DashboardMode m_current = DashboardMode::writer;
    QList<Segment *> m_segments;
};

} // namespace qv::dashboard
