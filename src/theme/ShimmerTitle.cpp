#include "theme/ShimmerTitle.h"

#include "theme/AnimatedValue.h"
#include "theme/MotionSettings.h"
#include "theme/Theme.h"
#include "theme/ThemeEnvironment.h"
#include "theme/Typography.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QShowEvent>

namespace qv {

ShimmerTitle::ShimmerTitle(const QString &text, int size, QWidget *parent)
    : QWidget(parent), m_text(text), m_size(size), m_direction(new AnimatedValue(0, this))
{
    setFont(Typography::systemFont(size, QFont::DemiBold));
    setAccessibleName(text);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { setApplicationActive(state == Qt::ApplicationActive); });
    connect(&ThemeEnvironment::motion(), &MotionSettings::changed, this, &ShimmerTitle::applyAnimation);
}

double ShimmerTitle::direction() const { return m_direction->value(); }

bool ShimmerTitle::isSweeping() const { return m_direction->isAnimating(); }

void ShimmerTitle::startShimmer()
{
    if (m_shouldAnimate)
        return;
    m_shouldAnimate = true;
    m_shimmer = !m_shimmer;
    applyAnimation();
    // The end of this run is never cancelled: a run started after an early
    // stop ends with it, six seconds after this one began.
    QPointer<ShimmerTitle> self(this);
    ThemeEnvironment::scheduler().singleShot(kRunMs, [self] {
        if (!self)
            return;
        self->m_shouldAnimate = false;
        self->applyAnimation();
    });
}

void ShimmerTitle::setApplicationActive(bool active)
{
    if (active) {
        startShimmer();
    } else if (m_shouldAnimate) {
        m_shouldAnimate = false;
        applyAnimation();
    }
}

void ShimmerTitle::applyAnimation()
{
    const double target = m_shimmer ? 1 : 0;
    const bool animate = m_shouldAnimate && !ThemeEnvironment::motion().reduceMotion();
    if (animate) {
        if (!m_direction->isAnimating() || m_direction->target() != target)
            m_direction->set(target, Animation::easeInOutForeverAutoreverse(kSweepMs));
    } else {
        m_direction->set(target, Animation::none());
    }
}

void ShimmerTitle::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window restored from the taskbar is not a new appearance.
    if (!event->spontaneous())
        startShimmer();
}

QSize ShimmerTitle::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(m_text), fm.height()};
}

QSize ShimmerTitle::minimumSizeHint() const { return {0, QFontMetrics(font()).height()}; }

void ShimmerTitle::paintEvent(QPaintEvent *)
{
    if (m_text.isEmpty())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF fm(font());
    const double textWidth = fm.horizontalAdvance(m_text);
    const double baseline = (height() - fm.height()) / 2.0 + fm.ascent();

    QPainterPath glyphs;
    glyphs.addText(QPointF(0, baseline), font(), m_text);

    p.fillPath(glyphs, Theme::withOpacity(Theme::text(), 0.15));

    const double d = direction();
    const double left = 0, right = textWidth;
    QLinearGradient g(QPointF(right + (left - right) * d, 0), QPointF(left + (right - left) * d, 0));
    g.setColorAt(0.0, Theme::accent());
    g.setColorAt(1.0 / 3, Theme::withOpacity(Theme::accent(), 0.6));
    g.setColorAt(2.0 / 3, Theme::text());
    g.setColorAt(1.0, Theme::accent());
    p.fillPath(glyphs, g);
}

} // namespace qv
