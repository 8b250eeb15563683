#include "study/views/StudyFlashcardView.h"

#include "study/views/ClampedText.h"
#include "study/views/StudyFrame.h"
#include "theme/AnimatedValue.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTransform>

namespace qv::study {

namespace {
constexpr double kRadius = 18;
constexpr double kSpacing = 12;
constexpr double kTextPadding = 16;
const QString kBadge = QStringLiteral("Needs work");
} // namespace

StudyFlashcardView::StudyFlashcardView(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    m_turn = new AnimatedValue(0, this);
    m_slide = new AnimatedValue(1, this);
    connect(m_turn, &AnimatedValue::changed, this, qOverload<>(&QWidget::update));
    connect(m_slide, &AnimatedValue::changed, this, [this] {
        if (!m_slide->isAnimating())
            m_outgoing = QPixmap();
        update();
    });
}

void StudyFlashcardView::setCard(const std::optional<StudyItem> &card, bool weak, bool showDefinition,
                                 double slideDirection, double slideMs)
{
    const bool otherCard = card.has_value() != m_card.has_value() || (card && m_card && card->id != m_card->id);
    if (otherCard && m_card && card && isVisible() && slideMs > 0) {
        // The outgoing card leaves as it looked; the new one arrives on its
        // own face without turning.
        m_outgoing = snapshot();
        m_direction = slideDirection;
        m_slide->set(0, Animation::none());
        m_slide->set(1, Animation::easeInOut(slideMs));
    } else if (otherCard) {
        m_outgoing = QPixmap();
        m_slide->set(1, Animation::none());
    }
    m_card = card;
    m_weak = weak;
    const bool turned = showDefinition != m_showDefinition;
    m_showDefinition = showDefinition;
    if (otherCard)
        m_turn->set(showDefinition ? 1 : 0, Animation::none());
    else if (turned)
        m_turn->set(showDefinition ? 1 : 0, Animation::easeInOut(kTurnMs));
    update();
}

bool StudyFlashcardView::isTurning() const { return m_turn->isAnimating(); }
bool StudyFlashcardView::isSliding() const { return m_slide->isAnimating(); }

void StudyFlashcardView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

void StudyFlashcardView::mouseReleaseEvent(QMouseEvent *event)
{
    const bool was = m_pressed;
    m_pressed = false;
    if (was && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

void StudyFlashcardView::paintFace(QPainter &p, const QRectF &area, bool front) const
{
    const QFont labelFont = Typography::font(TextStyle::Caption, QFont::DemiBold);
    const QFont textFont = Typography::font(TextStyle::Title2, QFont::DemiBold);
    const QFont badgeFont = Typography::font(TextStyle::Caption, QFont::DemiBold);
    const QString label = front ? QStringLiteral("Term") : QStringLiteral("Definition");
    const QString text = front ? m_card->term : m_card->definition;
    const ClampedText lines = clampText(text, textFont, area.width() - 2 * kTextPadding, kMaxLines);
    const QFontMetricsF labelFm(labelFont);
    const QFontMetricsF badgeFm(badgeFont);
    const bool badge = front && m_weak;
    const QSizeF badgeSize(badgeFm.horizontalAdvance(kBadge) + 20, badgeFm.height() + 8);

    double total = labelFm.height() + kSpacing + linesHeight(lines, textFont);
    if (badge)
        total += kSpacing + badgeSize.height();
    double y = area.top() + (area.height() - total) / 2;

    p.setFont(labelFont);
    p.setPen(Theme::subtext());
    p.drawText(QRectF(area.left(), y, area.width(), labelFm.height()), Qt::AlignCenter, label);
    y += labelFm.height() + kSpacing;

    p.setPen(Theme::text());
    y += paintCentredLines(p, QRectF(area.left() + kTextPadding, y, area.width() - 2 * kTextPadding, area.height()),
                           lines, textFont);
    if (badge) {
        y += kSpacing;
        const QRectF r(area.center().x() - badgeSize.width() / 2, y, badgeSize.width(), badgeSize.height());
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::withOpacity(Theme::danger(), 0.12));
        p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
        p.setFont(badgeFont);
        p.setPen(Theme::danger());
        p.drawText(r, Qt::AlignCenter, kBadge);
    }
}

void StudyFlashcardView::paintFaces(QPainter &p, const QRectF &area, double turn) const
{
    if (!m_card)
        return;
    // Rotation about the vertical axis through the card's centre, with
    // perspective; the back face is turned by half a turn more, so it reads
    // correctly once the card has turned.
    const QPointF c = area.center();
    const double angle = 180.0 * turn;
    for (const bool front : {true, false}) {
        const double opacity = front ? 1.0 - turn : turn;
        if (opacity <= 0.001)
            continue;
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(angle, Qt::YAxis);
        if (!front)
            t.scale(-1, 1); // half a turn in the card's own plane: a mirror
        t.translate(-c.x(), -c.y());
        p.save();
        p.setTransform(t, true);
        p.setOpacity(p.opacity() * opacity);
        paintFace(p, area, front);
        p.restore();
    }
}

QPixmap StudyFlashcardView::snapshot() const
{
    const qreal dpr = devicePixelRatioF();
    QPixmap pm(size() * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintFaces(p, QRectF(rect()), m_turn->value());
    return pm;
}

void StudyFlashcardView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintFramedRect(p, rect(), kRadius, Theme::surfaceAlt(), Theme::border());

    if (!m_card) {
        p.setFont(Typography::font(TextStyle::Callout));
        p.setPen(Theme::subtext());
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No cards yet."));
        return;
    }

    const double s = m_slide->value();
    const double w = width();
    if (!m_outgoing.isNull() && s < 1.0) {
        // Forwards: the old card leaves to the leading edge while the new one
        // comes from the trailing edge; backwards the other way round.
        p.save();
        p.setOpacity(1.0 - s);
        p.drawPixmap(QPointF(-s * w * m_direction, 0), m_outgoing);
        p.restore();
        p.save();
        p.setOpacity(s);
        p.translate((1.0 - s) * w * m_direction, 0);
        paintFaces(p, QRectF(rect()), m_turn->value());
        p.restore();
        return;
    }
    paintFaces(p, QRectF(rect()), m_turn->value());
}

} // namespace qv::study
