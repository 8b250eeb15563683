#include "study/views/StudyPanel.h"

#include "study/views/StudyText.h"

#include <QPainter>

namespace qv::study {

StudyPanel::StudyPanel(double radius, QWidget *parent) : QWidget(parent), m_radius(radius) {}

void StudyPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintPanel(p, rect(), m_radius);
}

} // namespace qv::study
