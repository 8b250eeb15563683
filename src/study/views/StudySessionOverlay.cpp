#include "study/views/StudySessionOverlay.h"

#include "study/views/StudyFrame.h"
#include "theme/DropShadow.h"
#include "theme/Theme.h"

#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace qv::study {

StudySessionOverlay::StudySessionOverlay(const Look &look, QWidget *parent) : QWidget(parent), m_look(look)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    m_card = new StudyFrame(look.cardRadius);
    if (look.cardWidth > 0)
        m_card->setFixedWidth(look.cardWidth);
    m_card->setSizePolicy(look.cardWidth > 0 ? QSizePolicy::Fixed : QSizePolicy::Maximum, QSizePolicy::Maximum);
    m_cardLayout = new QVBoxLayout(m_card);
    m_cardLayout->setContentsMargins(look.cardPadding, look.cardPadding, look.cardPadding, look.cardPadding);
    m_cardLayout->setSpacing(12);
    layout->addWidget(m_card, 0, Qt::AlignCenter);
    if (look.shadow) {
        const double radius = look.cardRadius;
        QWidget *card = m_card;
        new DropShadow(card, [card, radius] {
            return ShadowSpec{QRectF(card->rect()), radius, Theme::shadow(), 14, QPointF(0, 10)};
        });
    }
    m_fade = new AnimatedValue(0, this);
    connect(m_fade, &AnimatedValue::changed, this, &StudySessionOverlay::follow);
    hide();
}

double StudySessionOverlay::opacity() const { return m_fade->value(); }

void StudySessionOverlay::present(bool shown, const Animation &animation)
{
    if (shown == m_presented)
        return;
    m_presented = shown;
    // A leaving layer must not catch the click meant for what lies beneath.
    setAttribute(Qt::WA_TransparentForMouseEvents, !shown);
    // The layers keep the stacking order in which the view made them.
    if (shown)
        show();
    m_fade->set(shown ? 1.0 : 0.0, animation);
    follow();
}

void StudySessionOverlay::follow()
{
    const double value = m_fade->value();
    const bool settled = !m_fade->isAnimating();
    if (settled && value <= 0.0) {
        hide();
    }
    if (settled) {
        if (m_effect) {
            setGraphicsEffect(nullptr); // deletes the effect
            m_effect = nullptr;
        }
        return;
    }
    if (!m_effect) {
        m_effect = new QGraphicsOpacityEffect(this);
        setGraphicsEffect(m_effect);
    }
    m_effect->setOpacity(value);
}

void StudySessionOverlay::setBackdropShape(std::function<QPainterPath()> shape)
{
    m_backdropShape = std::move(shape);
    update();
}

QPainterPath StudySessionOverlay::backdropShape() const
{
    if (m_backdropShape)
        return m_backdropShape();
    QPainterPath whole;
    whole.addRect(QRectF(rect()));
    return whole;
}

void StudySessionOverlay::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(backdropShape(), Theme::withOpacity(Qt::black, m_look.backdropOpacity));
}

// The backdrop has no action of its own, but nothing under it may be reached.
void StudySessionOverlay::mousePressEvent(QMouseEvent *event) { event->accept(); }

void StudySessionOverlay::mouseReleaseEvent(QMouseEvent *event) { event->accept(); }

void StudySessionOverlay::mouseDoubleClickEvent(QMouseEvent *event) { event->accept(); }

void StudySessionOverlay::wheelEvent(QWheelEvent *event) { event->accept(); }

} // namespace qv::study
