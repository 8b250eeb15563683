#include "theme/WindowControlsIsland.h"

#include "theme/AnimatedValue.h"
#include "theme/DropShadow.h"
#include "theme/MotionSettings.h"
#include "theme/Theme.h"
#include "theme/ThemeEnvironment.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

namespace qv {

namespace {
constexpr int kLeading = 10;
constexpr int kRegionHeight = 110;
constexpr int kDot = 12;
constexpr int kProfile = 28;
constexpr int kMenuDot = 16;
constexpr int kSpacing = 8;
constexpr int kPadH = 10;
constexpr int kPadV = 8;
constexpr double kRadius = 14;

QColor rgbF(double r, double g, double b)
{
    QColor c;
    c.setRgbF(float(r), float(g), float(b));
    return c;
}

// The card's painted face. It paints its own opacity rather than through a
// graphics effect, which would nest inside any effect a host fades with.
class IslandCard : public QWidget {
public:
    IslandCard(std::function<double()> opacity, QWidget *parent) : QWidget(parent), m_opacity(std::move(opacity)) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setOpacity(m_opacity());
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath shape;
        shape.addRoundedRect(r, kRadius, kRadius);
        p.fillPath(shape, Theme::withOpacity(Theme::surface(), 0.7));
        p.setPen(QPen(Theme::withOpacity(Theme::border(), 0.9), 1));
        p.drawPath(shape);
    }

private:
    std::function<double()> m_opacity;
};
} // namespace

IslandDot::IslandDot(const QColor &fill, const QColor &outline, int diameter, const QString &name, QWidget *parent)
    : QAbstractButton(parent), m_fill(fill), m_outline(outline), m_diameter(diameter)
{
    setAccessibleName(name);
    setToolTip(QString());
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(diameter, diameter);
}

bool IslandDot::hitButton(const QPoint &pos) const
{
    const QPointF d = QPointF(pos) + QPointF(0.5, 0.5) - QRectF(rect()).center();
    return d.x() * d.x() + d.y() * d.y() <= m_diameter * m_diameter / 4.0;
}

void IslandDot::setOpacity(double opacity)
{
    if (m_opacity == opacity)
        return;
    m_opacity = opacity;
    update();
}

void IslandDot::setChevron(const QColor &color)
{
    m_chevron = color;
    update();
}

void IslandDot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(m_opacity);
    p.setPen(Qt::NoPen);
    p.setBrush(m_fill);
    p.drawEllipse(QRectF(rect()));
    p.setPen(QPen(m_outline, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    if (m_chevron.isValid()) {
        const QPointF c = QRectF(rect()).center();
        const double w = m_diameter * 0.22;
        QPen pen(m_chevron, 1.5);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.drawPolyline(QList<QPointF>{c + QPointF(-w, -w / 2), c + QPointF(0, w / 2), c + QPointF(w, -w / 2)});
    }
}

WindowControlsIsland::WindowControlsIsland(bool showProfile, std::function<void()> onProfile, int topPadding,
                                           bool alwaysVisible, QWidget *parent)
    : QWidget(parent), m_showProfile(showProfile), m_onProfile(std::move(onProfile)), m_topPadding(topPadding),
      m_alwaysVisible(alwaysVisible),
      m_card(new IslandCard([this] { return m_opacity->value() * m_layerOpacity; }, this)),
      m_opacity(new AnimatedValue(alwaysVisible ? 1 : 0, this))
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);

    // Without a host the dots ride on the card.
    QWidget *dotParent = parent ? parent : m_card;
    const QColor ring = Theme::withOpacity(Qt::white, 0.18);
    m_close = new IslandDot(rgbF(1.0, 0.37, 0.36), ring, kDot, QStringLiteral("Close"), dotParent);
    m_minimize = new IslandDot(rgbF(1.0, 0.78, 0.29), ring, kDot, QStringLiteral("Minimize"), dotParent);
    connect(m_close, &QAbstractButton::clicked, this, &WindowControlsIsland::closeRequested);
    connect(m_minimize, &QAbstractButton::clicked, this, [this] {
        emit minimizeRequested();
        minimizeActiveWindow();
    });
    if (m_showProfile) {
        m_profile = new IslandDot(Theme::surfaceAlt(), Theme::border(), kProfile, QStringLiteral("Profile"), dotParent);
        connect(m_profile, &QAbstractButton::clicked, this, [this] {
            emit profileRequested();
            if (m_onProfile)
                m_onProfile();
        });
    }

    connect(m_opacity, &AnimatedValue::changed, this, &WindowControlsIsland::applyOpacity);
    m_shadow = new DropShadow(m_card, [this] {
        const double o = m_opacity->value() * m_layerOpacity;
        return ShadowSpec{QRectF(m_card->rect()), kRadius, Theme::withOpacity(Theme::shadow(), 0.6 * o), 12, {0, 6}};
    });
    m_shadow->setReach(20);

    layoutCard();
    resize(sizeHint());
    placeInParent();
    applyOpacity();
    if (parent)
        parent->installEventFilter(this);
    // The region itself takes no pointer events, so hovering is read from
    // the pointer's moves over the whole window.
    if (!m_alwaysVisible)
        qApp->installEventFilter(this);
}

WindowControlsIsland::~WindowControlsIsland()
{
    for (IslandDot *dot : dots())
        if (dot->parentWidget() != m_card)
            delete dot;
}

QList<IslandDot *> WindowControlsIsland::dots() const
{
    QList<IslandDot *> out;
    for (IslandDot *dot : {m_close.data(), m_minimize.data(), m_menuButton.data(), m_profile.data()})
        if (dot)
            out.append(dot);
    return out;
}

void WindowControlsIsland::setLayerOpacity(double opacity)
{
    if (m_layerOpacity == opacity)
        return;
    m_layerOpacity = opacity;
    applyOpacity();
}

void WindowControlsIsland::applyOpacity()
{
    const double o = m_opacity->value() * m_layerOpacity;
    const bool shown = o > 0.001;
    m_card->setVisible(shown);
    m_card->update();
    for (IslandDot *dot : dots()) {
        dot->setOpacity(o);
        dot->setVisible(shown && !isHidden());
    }
    m_shadow->refresh();
}

void WindowControlsIsland::setCommandMenu(QMenu *menu)
{
    m_menu = menu;
    if (!menu || m_menuButton)
        return;
    QWidget *dotParent = m_close ? m_close->parentWidget() : m_card;
    m_menuButton = new IslandDot(Theme::surfaceAlt(), Theme::border(), kMenuDot,
                                 QStringLiteral("%1 Menu").arg(menu->title()), dotParent);
    m_menuButton->setChevron(Theme::subtext());
    connect(m_menuButton, &QAbstractButton::clicked, this, [this] {
        if (m_menu && m_menuButton)
            m_menu->popup(m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height() + 6)));
    });
    placeDots();
    applyOpacity();
}

QSize WindowControlsIsland::sizeHint() const { return {islandWidth() + 140, kRegionHeight}; }

QRect WindowControlsIsland::hoverRegion() const { return rect(); }

void WindowControlsIsland::layoutCard()
{
    // With the profile button a flexible gap pushes it to the far end of the
    // island's width; without it the card hugs the two dots.
    const int rowH = m_showProfile ? kProfile : m_menuButton ? kMenuDot : kDot;
    const int menuW = m_menuButton ? kSpacing + kMenuDot : 0;
    const int naturalW = kPadH + kDot + kSpacing + kDot + menuW + (m_showProfile ? kSpacing + kProfile : 0) + kPadH;
    const int w = m_showProfile ? std::max(naturalW, islandWidth()) : naturalW;
    m_card->setGeometry(0, 0, w, rowH + 2 * kPadV);
    const int cy = kPadV + rowH / 2;
    m_close->move(kPadH, cy - kDot / 2);
    m_minimize->move(kPadH + kDot + kSpacing, cy - kDot / 2);
    if (m_menuButton)
        m_menuButton->move(kPadH + 2 * (kDot + kSpacing), cy - kMenuDot / 2);
    if (m_profile)
        m_profile->move(w - kPadH - kProfile, cy - kProfile / 2);
}

void WindowControlsIsland::placeDots()
{
    // layoutCard() places the dots in the card's coordinates; dots hosted
    // beside the island are shifted by the card's place in the host.
    layoutCard();
    const QPoint offset = m_close && m_close->parentWidget() != m_card ? pos() + m_card->pos() : QPoint();
    for (IslandDot *dot : dots()) {
        dot->move(dot->pos() + offset);
        dot->raise();
    }
}

void WindowControlsIsland::placeInParent()
{
    if (!parentWidget())
        return;
    move(kLeading, m_topPadding);
    raise();
    placeDots();
}

bool WindowControlsIsland::isCardShown() const { return m_alwaysVisible || m_hovering; }

double WindowControlsIsland::cardOpacity() const { return m_opacity->value(); }

QRect WindowControlsIsland::cardGeometry() const { return m_card->geometry().translated(pos()); }

void WindowControlsIsland::setHovering(bool hovering)
{
    if (m_alwaysVisible || m_hovering == hovering)
        return;
    m_hovering = hovering;
    const bool reduced = ThemeEnvironment::motion().reduceMotion();
    m_opacity->set(hovering ? 1 : 0, reduced ? Animation::none() : Animation::easeInOut(180));
}

void WindowControlsIsland::minimizeActiveWindow()
{
    if (QWidget *w = QApplication::activeWindow())
        w->showMinimized();
}

void WindowControlsIsland::trackPointer(const QPointF &global)
{
    setHovering(isVisible() && rect().contains(mapFromGlobal(global).toPoint()));
}

bool WindowControlsIsland::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
        placeDots();
        break;
    case QEvent::ZOrderChange:
        // The dots lie over the card, whatever raised the island.
        for (IslandDot *dot : dots())
            dot->raise();
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        applyOpacity();
        break;
    case QEvent::ParentChange:
        for (IslandDot *dot : dots())
            dot->setParent(parentWidget() ? parentWidget() : m_card);
        placeInParent();
        applyOpacity();
        if (parentWidget())
            parentWidget()->installEventFilter(this);
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool WindowControlsIsland::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::ChildAdded) {
        raise(); // stays above the views its host adds later
    } else if (watched->isWindowType() && watched == window()->windowHandle()) {
        if (event->type() == QEvent::MouseMove)
            trackPointer(static_cast<QMouseEvent *>(event)->globalPosition());
        else if (event->type() == QEvent::Leave)
            setHovering(false);
    }
    return QWidget::eventFilter(watched, event);
}

void WindowControlsIsland::paintEvent(QPaintEvent *)
{
    // The corner region is transparent and lets the pointer through.
}

} // namespace qv
