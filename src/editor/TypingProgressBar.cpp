#include "editor/TypingProgressBar.h"

#include "editor/TypingPanelRules.h"
#include "theme/AnimatedValue.h"
#include "theme/Theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace qv::editor {

TypingProgressBar::TypingProgressBar(QWidget *parent) : QWidget(parent), m_sweep(new AnimatedValue(0, this))
{
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TypingProgressBar::setProgress(double progress)
{
    if (!std::isfinite(progress))
        progress = 0;
    progress = std::clamp(progress, 0.0, 1.0);
    if (progress == m_progress)
        return;
    m_progress = progress;
    update();
}

void TypingProgressBar::setHighlight(bool visible, bool reduceMotion)
{
    if (visible == m_highlight && reduceMotion == m_still)
        return;
    m_highlight = visible;
    m_still = reduceMotion;
    if (!visible || reduceMotion) {
        // Nothing moves: a hidden highlight, or one that stands at its end.
        m_sweep->set(1, Animation::none());
    } else {
        m_sweep->set(0, Animation::none());
        m_sweep->set(1, Animation::linearForever(kSweepMs));
    }
    update();
}

double TypingProgressBar::highlightOffset() const { return panel::highlightOffset(m_sweep->value()); }

void TypingProgressBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track(0, 0, width(), kHeight);
    QPainterPath trackPath;
    trackPath.addRoundedRect(track, kRadius, kRadius);
    p.fillPath(trackPath, Theme::surfaceAlt());

    // The full-width fill shows only through a mask as wide as the progress.
    const double fillWidth = track.width() * m_progress;
    if (fillWidth > 0) {
        QPainterPath mask;
        mask.addRoundedRect(QRectF(0, 0, fillWidth, kHeight), kRadius, kRadius);
        p.fillPath(trackPath.intersected(mask), Theme::accent());
    }

    if (m_highlight) {
        const QRectF glow(highlightOffset(), 0, panel::kHighlightWidth, kHeight);
        QLinearGradient gradient(glow.topLeft(), glow.topRight());
        gradient.setColorAt(0, Theme::withOpacity(Theme::accent(), 0.1));
        gradient.setColorAt(0.5, Theme::withOpacity(Theme::accent(), 0.4));
        gradient.setColorAt(1, Theme::withOpacity(Theme::accent(), 0.1));
        QPainterPath path;
        path.addRoundedRect(glow, kRadius, kRadius);
        p.fillPath(path, gradient);
    }
}

} // namespace qv::editor
