#include "study/views/StudyProgressBar.h"

#include "theme/Theme.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qv::study {

StudyProgressBar::StudyProgressBar(double value, Look look, QWidget *parent) : QWidget(parent), m_look(look)
{
    setFixedHeight(m_look.height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setValue(value);
}

void StudyProgressBar::setValue(double value)
{
    // A ratio read from a hand-edited file may be anything; draw within 0…1.
    const double v = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
    if (v == m_value)
        return;
    m_value = v;
    update();
}

void StudyProgressBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF track = rect();
    const double r = track.height() / 2;
    p.setBrush(Theme::surfaceAlt());
    p.drawRoundedRect(track, r, r);
    if (m_value <= 0)
        return;
    double width = track.width() * m_value;
    if (m_look.atLeastADot)
        width = std::max(width, track.height());
    if (width <= 0)
        return;
    QRectF fill = track;
    fill.setWidth(width);
    // A capsule narrower than its height would lose its round ends.
    const double fr = std::min(r, width / 2);
    p.setBrush(Theme::withOpacity(Theme::accent(), m_look.fillOpacity));
    p.drawRoundedRect(fill, fr, fr);
}

} // namespace qv::study
