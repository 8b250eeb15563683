#include "theme/DropShadow.h"

#include <QEvent>
#include <QPainter>

namespace qv {

DropShadow::DropShadow(QWidget *target, Provider provider)
    : QWidget(target->parentWidget() ? target->parentWidget() : target), m_target(target),
      m_provider(std::move(provider))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    target->installEventFilter(this);
    connect(target, &QObject::destroyed, this, &QObject::deleteLater);
    follow();
}

void DropShadow::refresh() { update(); }

void DropShadow::setReach(int pixels)
{
    m_reach = pixels;
    follow();
}

void DropShadow::follow()
{
    if (!m_target)
        return;
    QWidget *parent = m_target->isWindow() ? nullptr : m_target->parentWidget();
    if (!parent) {
        // Nothing to lie under yet: wait hidden inside the target rather
        // than become a window of its own.
        if (parentWidget() != m_target)
            setParent(m_target);
        hide();
        return;
    }
    if (parentWidget() != parent)
        setParent(parent);
    setGeometry(m_target->geometry().adjusted(-m_reach, -m_reach, m_reach, m_reach));
    stackUnder(m_target);
    setVisible(m_target->isVisibleTo(parent));
    update();
}

bool DropShadow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        // Hidden or shown before its window first shows, the target gets
        // only these: a shadow missing them would stay where its target
        // was first put (a dark patch in a corner).
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
        case QEvent::ParentChange:
        case QEvent::ZOrderChange:
            follow();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DropShadow::paintEvent(QPaintEvent *)
{
    if (!m_target || !m_provider)
        return;
    ShadowSpec spec = m_provider();
    if (!spec.isVisible())
        return;
    QPainter p(this);
    p.translate(m_reach, m_reach);
    Shadow::paint(p, spec);
}

} // namespace qv
