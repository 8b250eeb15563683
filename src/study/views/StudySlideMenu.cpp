#include "study/views/StudySlideMenu.h"

#include "study/views/StudyFrame.h"
#include "theme/AnimatedValue.h"
#include "theme/QVButton.h"
#include "theme/Shadow.h"
#include "theme/Theme.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace qv::study {

namespace {
// Room under the panel for its shadow (radius 8, 6 down).
constexpr int kShadowRoom = 14;
constexpr double kRadius = 10;
} // namespace

StudySlideMenu::StudySlideMenu(QWidget *parent) : QWidget(parent)
{
    m_panel = new StudyFrame(kRadius, this);
    m_buttons = new QVBoxLayout(m_panel);
    m_buttons->setContentsMargins(10, 10, 10, 10);
    m_buttons->setSpacing(6);
    m_fade = new QGraphicsOpacityEffect(m_panel);
    m_fade->setOpacity(0);
    m_panel->setGraphicsEffect(m_fade);
    m_shown = new AnimatedValue(0, this);
    connect(m_shown, &AnimatedValue::changed, this, &StudySlideMenu::follow);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    follow();
}

void StudySlideMenu::addButton(QVButton *button)
{
    m_buttons->addWidget(button, 0, Qt::AlignLeft);
    follow();
}

void StudySlideMenu::setOpen(bool open, bool animated)
{
    if (open == m_open)
        return;
    m_open = open;
    if (open)
        show(); // the slide ticks only while the menu is visible
    m_shown->set(open ? 1.0 : 0.0, animated ? Animation::easeInOut(kAnimationMs) : Animation::none());
}

bool StudySlideMenu::isAnimating() const { return m_shown->isAnimating(); }

QSize StudySlideMenu::sizeHint() const
{
    const QSize panel = m_panel->sizeHint();
    const double t = m_shown->value();
    return {panel.width(), int(std::ceil(t * (panel.height() + kShadowRoom)))};
}

QRect StudySlideMenu::panelRect() const
{
    const QSize panel = m_panel->sizeHint();
    const double t = m_shown->value();
    const int y = int(std::lround(-(1.0 - t) * panel.height()));
    return {width() - panel.width(), y, panel.width(), panel.height()};
}

void StudySlideMenu::follow()
{
    const double t = m_shown->value();
    m_fade->setOpacity(t);
    // Hidden once closed, so it takes no clicks and no keyboard focus.
    setVisible(m_open || t > 0);
    m_panel->setGeometry(panelRect());
    setFixedHeight(sizeHint().height());
    updateGeometry();
    update();
}

void StudySlideMenu::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_panel->setGeometry(panelRect());
}

void StudySlideMenu::paintEvent(QPaintEvent *)
{
    const double t = m_shown->value();
    if (t <= 0)
        return;
    QPainter p(this);
    const QRect r = panelRect();
    Shadow::paint(p, ShadowSpec{QRectF(r), kRadius, Theme::withOpacity(Theme::shadow(), t), 8, QPointF(0, 6)});
}

} // namespace qv::study
