#include "theme/CustomWindow.h"

#include "theme/WindowFrame.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace qv {

CustomWindow::CustomWindow(QWidget *content, double cornerRadius, bool resizable)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_frame = new WindowFrame(this, cornerRadius, resizable);
    if (content)
        setContent(content);
}

void CustomWindow::setContent(QWidget *content)
{
    if (m_content == content)
        return;
    if (m_content) {
        layout()->removeWidget(m_content);
        m_content->hide();
        m_content->deleteLater();
    }
    m_content = content;
    if (content)
        layout()->addWidget(content);
}

void CustomWindow::setCloseAction(std::function<void()> action) { m_closeAction = std::move(action); }

void CustomWindow::closeFromOpener()
{
    m_closingFromOpener = true;
    close();
    m_closingFromOpener = false;
}

void CustomWindow::closeEvent(QCloseEvent *event)
{
    if (m_closingFromOpener || !m_closeAction) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    emit closeRequested();
    // Posted: a window cannot close again from inside its own close event.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_closeAction)
                m_closeAction();
        },
        Qt::QueuedConnection);
}

} // namespace qv
