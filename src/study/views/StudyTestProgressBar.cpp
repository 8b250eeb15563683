#include "study/views/StudyTestProgressBar.h"

#include "theme/Theme.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qv::study {

StudyTestProgressBar::StudyTestProgressBar(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void StudyTestProgressBar::setValue(double value)
{
    const double v = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
    if (v == m_value)
        return;
    m_value = v;
    update();
}

void StudyTestProgressBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF track = rect();
    const double r = track.height() / 2;
    p.setBrush(Theme::surfaceAlt());
    p.drawRoundedRect(track, r, r);
    const double width = track.width() * m_value;
    if (width > 0) {
        QRectF fill = track;
        fill.setWidth(width);
        // A capsule narrower than its height would lose its round ends.
        const double fr = std::min(r, width / 2);
        p.setBrush(Theme::withOpacity(Theme::accent(), 0.6));
        p.drawRoundedRect(fill, fr, fr);
    }
}

} // namespace qv::study
