#include "theme/QVLineEdit.h"

#include "theme/FocusRing.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QPainter>
#include <QPainterPath>

namespace qv {

namespace {
// QLineEdit keeps a small margin of its own around the text.
constexpr int kBuiltInMarginH = 2;
constexpr int kBuiltInMarginV = 1;
} // namespace

QVLineEdit::QVLineEdit(QWidget *parent, double cornerRadius)
    : QLineEdit(parent), m_ring(new FocusRing(this, cornerRadius)), m_radius(cornerRadius)
{
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setFont(Typography::font(TextStyle::Callout));
    setTextMargins(kPadding - kBuiltInMarginH, kPadding - kBuiltInMarginV, kPadding - kBuiltInMarginH,
                   kPadding - kBuiltInMarginV);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    pal.setColor(QPalette::Text, Theme::text());
    pal.setColor(QPalette::PlaceholderText, Theme::withOpacity(Theme::subtext(), 0.7));
    pal.setColor(QPalette::Highlight, Theme::withOpacity(Theme::accent(), 0.55));
    pal.setColor(QPalette::HighlightedText, Theme::text());
    setPalette(pal);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void QVLineEdit::setShowsFocus(bool on)
{
    m_showsFocus = on;
    syncRing();
}

bool QVLineEdit::showsFocusRing() const { return m_ring->isFocused(); }

void QVLineEdit::syncRing() { m_ring->setFocused(m_showsFocus && hasFocus()); }

QSize QVLineEdit::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * kPadding,
            std::max(kMinHeight, fm.height() + 2 * kPadding)};
}

QSize QVLineEdit::minimumSizeHint() const
{
    const QFontMetrics fm(font());
    return {2 * kPadding + fm.horizontalAdvance(QLatin1Char('x')) * 2,
            std::max(kMinHeight, fm.height() + 2 * kPadding)};
}

void QVLineEdit::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), m_radius, m_radius);
        p.fillPath(shape, Theme::withOpacity(Theme::surfaceAlt(), 0.92));
    }
    QLineEdit::paintEvent(event);
}

void QVLineEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    syncRing();
}

void QVLineEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    syncRing();
}

} // namespace qv
