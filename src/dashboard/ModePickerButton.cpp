#include "dashboard/ModePickerButton.h"

#include "dashboard/Labels.h"
#include "theme/AnimatedValue.h"
#include "theme/GradientLogoMark.h"
#include "theme/MotionSettings.h"
#include "theme/Symbols.h"
#include "theme/Theme.h"
#include "theme/ThemeEnvironment.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace qv::dashboard {

namespace {
constexpr double kRadius = 18;

QColor mix(const QColor &a, const QColor &b, double t)
{
    QColor c;
    c.setRgbF(float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
              float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
    return c;
}
} // namespace

ModePickerButton::ModePickerButton(DashboardMode mode, const QString &subtitle, QWidget *parent)
    : QAbstractButton(parent), m_mode(mode), m_hover(new AnimatedValue(0, this))
{
    setText(title(mode));
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(18, 18, 18, 18);
    row->setSpacing(16);
    m_logo = new GradientLogoMark(46, fallbackSymbol(mode), this);
    m_logo->setAttribute(Qt::WA_TransparentForMouseEvents);
    row->addWidget(m_logo);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(styledLabel(title(mode), Typography::systemFont(20, QFont::DemiBold), Theme::text(), this));
    texts->addWidget(styledLabel(subtitle, Typography::systemFont(13, QFont::Medium), Theme::subtext(), this));
    row->addLayout(texts, 1);

    auto *arrow = new QLabel(this);
    arrow->setAttribute(Qt::WA_TransparentForMouseEvents);
    arrow->setPixmap(Symbols::pixmap(QStringLiteral("arrow.right"), {14, 14}, Theme::subtext(), devicePixelRatioF()));
    row->addWidget(arrow);

    connect(m_hover, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
}

double ModePickerButton::hoverAmount() const { return m_hover->value(); }

QSize ModePickerButton::sizeHint() const { return layout()->sizeHint().expandedTo({320, 0}); }

void ModePickerButton::setHovering(bool hovering)
{
    if (m_hovering == hovering)
        return;
    m_hovering = hovering;
    // This card follows only the desktop's setting, not the app's own.
    const bool still = ThemeEnvironment::motion().systemReduceMotion();
    m_hover->set(hovering ? 1 : 0, still ? Animation::none() : Animation::easeInOut(kHoverMs));
    update();
}

void ModePickerButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    setHovering(true);
}

void ModePickerButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    setHovering(false);
}

void ModePickerButton::paintEvent(QPaintEvent *)
{
    const double t = hoverAmount();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    p.fillPath(shape, mix(Theme::surfaceAlt(), Theme::withOpacity(Theme::accent(), 0.18), t));
    p.setPen(QPen(mix(Theme::border(), Theme::withOpacity(Theme::accent(), 0.6), t), 1));
    p.drawPath(shape);
}

} // namespace qv::dashboard
