#include "study/views/StudyProgressBar.h"

#include "theme/Theme.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qv::study {

StudyProgressBar::StudyProgressBar(double value, QWidget *parent) : QWidget(parent)
{
    setFixedHeight(6);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setValue(value);
}

void StudyProgressBar::setValue(double value)
{
    // A ratio read from a hand-edited file may be anything; draw within 0…1.
    m_value = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
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
    if (m_value > 0) {
        QRectF fill = track;
        fill.setWidth(std::max(track.height(), track.width() * m_value));
        p.setBrush(Theme::accent());
        p.drawRoundedRect(fill, r, r);
    }
}

} // namespace qv::study
