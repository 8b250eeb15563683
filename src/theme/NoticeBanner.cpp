#include "theme/NoticeBanner.h"

#include "theme/QVButton.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace qv {

namespace {
constexpr double kRadius = 12;
constexpr int kMarkWidth = 4;
} // namespace

NoticeBanner::NoticeBanner(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10 + kMarkWidth + 6, 10, 10, 10);
    row->setSpacing(10);
    m_label = new QLabel(this);
    m_label->setFont(Typography::font(TextStyle::Caption));
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, Theme::text());
    m_label->setPalette(palette);
    row->addWidget(m_label, 1);
    m_dismiss = new QVButton(QStringLiteral("Dismiss"), QVButtonVariant::secondary, true, this);
    row->addWidget(m_dismiss, 0, Qt::AlignVCenter);
    connect(m_dismiss, &QAbstractButton::clicked, this, &NoticeBanner::dismiss);
    hide();
}

void NoticeBanner::present(const QString &text)
{
    if (text.isEmpty()) {
        hide();
        return;
    }
    m_label->setText(text);
    show();
    raise();
}

void NoticeBanner::presentOnce(const QString &text)
{
    if (text.isEmpty() || text != m_dismissedText)
        present(text);
}

void NoticeBanner::dismiss()
{
    if (isHidden())
        return;
    m_dismissedText = text();
    hide();
    emit dismissed();
}

QString NoticeBanner::text() const { return m_label->text(); }

void NoticeBanner::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath panel;
    panel.addRoundedRect(r, kRadius, kRadius);
    p.fillPath(panel, Theme::surface());
    // The warning mark: a bar in the danger colour along the leading edge.
    p.save();
    p.setClipPath(panel);
    p.fillRect(QRectF(r.left(), r.top(), kMarkWidth, r.height()), Theme::danger());
    p.restore();
    p.setPen(QPen(Theme::withOpacity(Theme::danger(), 0.5), 1));
    p.drawPath(panel);
}

} // namespace qv
