#include "dashboard/DashboardSwitchBar.h"

#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace qv::dashboard {

class DashboardSwitchBar::Segment : public QAbstractButton {
public:
    Segment(DashboardMode mode, QWidget *parent) : QAbstractButton(parent), m_mode(mode)
    {
        setText(title(mode));
        setFont(Typography::systemFont(13, QFont::DemiBold));
        setCursor(Qt::PointingHandCursor);
    }
    DashboardMode mode() const { return m_mode; }
    void setSelected(bool on)
    {
        m_selected = on;
        update();
    }
    bool selected() const { return m_selected; }
    QSize sizeHint() const override
    {
        const QFontMetrics fm(font());
        return {fm.horizontalAdvance(text()) + 28, fm.height() + 16};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        if (m_selected) {
            const double r = height() / 2.0;
            p.setPen(Qt::NoPen);
            p.setBrush(Theme::surface());
            p.drawRoundedRect(QRectF(rect()), r, r);
        }
        p.setPen(m_selected ? Theme::text() : Theme::subtext());
        p.setFont(font());
        p.drawText(rect(), Qt::AlignCenter, text());
    }

private:
    DashboardMode m_mode;
    bool m_selected = false;
};

DashboardSwitchBar::DashboardSwitchBar(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(6);
    for (DashboardMode mode : allDashboardModes()) {
        auto *s = new Segment(mode, this);
        connect(s, &QAbstractButton::clicked, this, [this, mode] { emit requested(mode); });
        row->addWidget(s);
        m_segments.append(s);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCurrent(DashboardMode::writer);
}

void DashboardSwitchBar::setCurrent(DashboardMode mode)
{
    m_current = mode;
    for (Segment *s : m_segments)
        s->setSelected(s->mode() == mode);
}

QAbstractButton *DashboardSwitchBar::segment(DashboardMode mode) const
{
    for (Segment *s : m_segments)
        if (s->mode() == mode)
            return s;
    return nullptr;
}

void DashboardSwitchBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath capsule;
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    capsule.addRoundedRect(r, r.height() / 2, r.height() / 2);
    // A thin frosted band: the surface, mostly see-through.
    p.fillPath(capsule, Theme::withOpacity(Theme::surfaceAlt(), 0.55));
    p.setPen(QPen(Theme::withOpacity(Theme::border(), 0.9), 1));
    p.drawPath(capsule);
}

} // namespace qv::dashboard
