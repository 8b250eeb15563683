#include "dashboard/ProfileAvatarButton.h"

#include "dashboard/AvatarCircle.h"
#include "theme/AnimatedValue.h"
#include "theme/DropShadow.h"
#include "theme/Theme.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPainterPath>

namespace qv::dashboard {

namespace {
constexpr int kCircle = 36;
constexpr int kPadH = 10;
constexpr int kPadV = 8;
constexpr double kRadius = 14;
} // namespace

ProfileAvatarButton::ProfileAvatarButton(state::AppState &appState, QWidget *parent)
    : QAbstractButton(parent), m_avatar(new AvatarCircle(appState, kCircle, this)),
      m_opacity(new AnimatedValue(0, this))
{
    setAccessibleName(QStringLiteral("Profile"));
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(sizeHint());
    m_avatar->move(kPadH, kPadV);

    auto *fade = new QGraphicsOpacityEffect(this);
    fade->setOpacity(0);
    setGraphicsEffect(fade);
    m_shadow = new DropShadow(this, [this] {
        return ShadowSpec{QRectF(rect()), kRadius, Theme::withOpacity(Theme::shadow(), 0.6 * opacity()), 12, {0, 6}};
    });
    m_shadow->setReach(20);
    connect(m_opacity, &AnimatedValue::changed, this, &ProfileAvatarButton::syncOpacity);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

QSize ProfileAvatarButton::sizeHint() const { return {kCircle + 2 * kPadH, kCircle + 2 * kPadV}; }

double ProfileAvatarButton::opacity() const { return m_opacity->value(); }

void ProfileAvatarButton::setRevealed(bool revealed)
{
    if (revealed == m_revealed)
        return;
    m_revealed = revealed;
    // A leaving button is already out of reach of clicks.
    setAttribute(Qt::WA_TransparentForMouseEvents, !revealed);
    if (revealed)
        show();
    m_opacity->set(revealed ? 1 : 0, Animation::easeInOut(kRevealMs));
    syncOpacity();
}

void ProfileAvatarButton::syncOpacity()
{
    const double o = m_opacity->value();
    static_cast<QGraphicsOpacityEffect *>(graphicsEffect())->setOpacity(o);
    if (!m_revealed && o <= 0.001)
        hide();
    m_shadow->refresh();
}

void ProfileAvatarButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath plate;
    plate.addRoundedRect(r, kRadius, kRadius);
    p.fillPath(plate, Theme::withOpacity(Theme::surface(), 0.7));
    p.setPen(QPen(Theme::withOpacity(Theme::border(), 0.9), 1));
    p.drawPath(plate);
}

void ProfileAvatarButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    emit hoverChanged(true);
}

void ProfileAvatarButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    emit hoverChanged(false);
}

} // namespace qv::dashboard
