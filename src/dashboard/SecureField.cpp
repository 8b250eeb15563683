#include "dashboard/SecureField.h"

#include "theme/FocusRing.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QPainter>

namespace qv::dashboard {

SecureField::SecureField(const QString &placeholder, QWidget *parent)
    : QLineEdit(parent), m_ring(new FocusRing(this, 10))
{
    setEchoMode(QLineEdit::Password);
    setPlaceholderText(placeholder);
    setFrame(false);
    setFont(Typography::font(TextStyle::Body));
    // QLineEdit keeps a margin of its own (2 across, 1 down).
    setTextMargins(8, 9, 8, 9);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    pal.setColor(QPalette::Text, Theme::text());
    pal.setColor(QPalette::PlaceholderText, Theme::withOpacity(Theme::subtext(), 0.7));
    pal.setColor(QPalette::Highlight, Theme::withOpacity(Theme::accent(), 0.55));
    setPalette(pal);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

bool SecureField::showsFocusRing() const { return m_ring->isFocused(); }

void SecureField::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.fillRect(rect(), Theme::surface());
    }
    QLineEdit::paintEvent(event);
}

void SecureField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    m_ring->setFocused(true);
}

void SecureField::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    m_ring->setFocused(false);
}

} // namespace qv::dashboard
