#include "theme/QVTextEditor.h"

#include "theme/FocusRing.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace qv {

QVTextEditor::QVTextEditor(QWidget *parent, double cornerRadius)
    : QWidget(parent), m_editor(new QPlainTextEdit(this)), m_radius(cornerRadius)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->addWidget(m_editor);
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->setFont(Typography::font(TextStyle::Callout));
    m_editor->document()->setDocumentMargin(0);
    // Text wraps at the editor's width and never scrolls sideways: a word
    // longer than a line breaks anywhere, and a stale sideways offset left
    // from a relayout (the vertical bar coming and going) is put back.
    m_editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_editor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QScrollBar *sideways = m_editor->horizontalScrollBar();
    connect(sideways, &QScrollBar::valueChanged, this, [sideways](int value) {
        if (value != 0)
            sideways->setValue(0);
    });
    QPalette pal = m_editor->palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    pal.setColor(QPalette::Text, Theme::text());
    pal.setColor(QPalette::PlaceholderText, Theme::withOpacity(Theme::subtext(), 0.7));
    pal.setColor(QPalette::Highlight, Theme::withOpacity(Theme::accent(), 0.55));
    pal.setColor(QPalette::HighlightedText, Theme::text());
    m_editor->setPalette(pal);
    m_editor->viewport()->setAutoFillBackground(false);
    m_editor->installEventFilter(this);
    setFocusProxy(m_editor);
    connect(m_editor, &QPlainTextEdit::textChanged, this, &QVTextEditor::textChanged);
    // Created last so that its outline lies over the editor.
    m_ring = new FocusRing(this, cornerRadius);
}

QString QVTextEditor::toPlainText() const { return m_editor->toPlainText(); }

void QVTextEditor::setPlainText(const QString &text) { m_editor->setPlainText(text); }

void QVTextEditor::setShowsFocus(bool on)
{
    m_showsFocus = on;
    syncRing();
}

bool QVTextEditor::showsFocusRing() const { return m_ring->isFocused(); }

void QVTextEditor::syncRing() { m_ring->setFocused(m_showsFocus && m_editor->hasFocus()); }

bool QVTextEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        syncRing();
    return QWidget::eventFilter(watched, event);
}

void QVTextEditor::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), m_radius, m_radius);
    p.fillPath(shape, Theme::withOpacity(Theme::surfaceAlt(), 0.92));
}

} // namespace qv
