#include "editor/TypingProgressBar.h"

#include "editor/TypingPanelRules.h"
#include "theme/AnimatedValue.h"
#include "theme/Theme.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <cmath>
#include <cstring>

namespace qv::editor {

TypingProgressBar::TypingProgressBar(QWidget *parent) : QWidget(parent), m_sweep(new AnimatedValue(0, this))
{
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_sweep->setFrameInterval(kSweepFrameMs);
    // A frame of the sweep repaints where the highlight was and where it is.
    disconnect(m_sweep, &AnimatedValue::changed, this, nullptr);
    connect(m_sweep, &AnimatedValue::changed, this, &TypingProgressBar::sweepMoved);
}

void TypingProgressBar::setProgress(double progress)
{
    if (!std::isfinite(progress))
        progress = 0;
    progress = std::clamp(progress, 0.0, 1.0);
    if (progress == m_progress)
        return;
    // The fill's rounded end moves: the stretch between the old and the new
    // end, and the curve of the end on both sides of it.
    const double from = width() * std::min(m_progress, progress);
    const double to = width() * std::max(m_progress, progress);
    m_progress = progress;
    const int left = int(std::floor(from - kRadius)) - 1;
    const int right = int(std::ceil(to + kRadius)) + 1;
    update(QRect(left, 0, right - left, height()));
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

QRect TypingProgressBar::highlightRect(double offset) const
{
    const int left = int(std::floor(offset)) - 1;
    const int right = int(std::ceil(offset + panel::kHighlightWidth)) + 1;
    return QRect(left, 0, right - left, height()).intersected(rect());
}

void TypingProgressBar::sweepMoved()
{
    if (!m_highlight)
        return;
    // Two stretches, not the span between them: the sweep starts over at
    // the left.
    update(QRegion(m_paintedHighlight) + highlightRect(highlightOffset()));
}

void TypingProgressBar::paintEvent(QPaintEvent *event)
{
    const qreal dpr = devicePixelRatioF();
    const double fillWidth = width() * m_progress;
    quint64 fillKey = 0;
    std::memcpy(&fillKey, &fillWidth, sizeof fillKey);
    const QPixmap &base = m_trackAndFill.get(size(), dpr, fillKey, [&](QPainter &l) {
        // The card's face under the track's rounded ends.
        l.fillRect(rect(), Theme::surfaceAlt());
        const QRectF track(0, 0, width(), kHeight);
        QPainterPath trackPath;
        trackPath.addRoundedRect(track, kRadius, kRadius);
        l.fillPath(trackPath, Theme::surfaceAlt());
        // The full-width fill shows only through a mask as wide as the
        // progress.
        if (fillWidth > 0) {
            QPainterPath mask;
            mask.addRoundedRect(QRectF(0, 0, fillWidth, kHeight), kRadius, kRadius);
            l.fillPath(trackPath.intersected(mask), Theme::accent());
        }
    });
    QPainter p(this);
    paintByRects(p, event->region(), [&] { p.drawPixmap(0, 0, base); });
    if (!m_highlight) {
        m_paintedHighlight = {};
        return;
    }
    const QPixmap &glow = m_highlightLayer.get(QSize(int(panel::kHighlightWidth), kHeight), dpr, 0, [](QPainter &l) {
        const QRectF glow(0, 0, panel::kHighlightWidth, kHeight);
        QLinearGradient gradient(glow.topLeft(), glow.topRight());
        gradient.setColorAt(0, Theme::withOpacity(Theme::accent(), 0.1));
        gradient.setColorAt(0.5, Theme::withOpacity(Theme::accent(), 0.4));
        gradient.setColorAt(1, Theme::withOpacity(Theme::accent(), 0.1));
        QPainterPath path;
        path.addRoundedRect(glow, kRadius, kRadius);
        l.fillPath(path, gradient);
    });
    const double offset = highlightOffset();
    p.drawPixmap(QPointF(offset, 0), glow);
    m_paintedHighlight = highlightRect(offset);
}

} // namespace qv::editor
