#include "dashboard/ProjectRow.h"

#include "dashboard/DashboardText.h"
#include "dashboard/Labels.h"
#include "theme/QVButton.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace qv::dashboard {

namespace {
// "MADE BY AI": accent text on a faint accent capsule.
class AiBadge : public QLabel {
public:
    explicit AiBadge(QWidget *parent) : QLabel(QStringLiteral("MADE BY AI"), parent)
    {
        setFont(Typography::font(TextStyle::Caption, QFont::DemiBold));
        setContentsMargins(8, 3, 8, 3);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setTextColor(this, Theme::accent());
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        {
            QPainter p(this);
            p.setRenderHint(QPainter::Antialiasing);
            QPainterPath capsule;
            capsule.addRoundedRect(QRectF(rect()), height() / 2.0, height() / 2.0);
            p.fillPath(capsule, Theme::withOpacity(Theme::accent(), 0.12));
        }
        QLabel::paintEvent(event);
    }
};

// The title on one line, cut at the end when the row is too narrow; it asks
// for the width of the whole title and makes do with less.
class ElidedTitle : public QLabel {
public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return {40, QLabel::minimumSizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        p.setFont(font());
        const QFontMetrics fm(font());
        p.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(text(), Qt::ElideRight, contentsRect().width()));
    }
};
} // namespace

ProjectRow::ProjectRow(const Project &project, QWidget *parent) : Card(Theme::surface(), 12, parent), m_id(project.id)
{
    setMinimumHeight(kMinHeight);
    setCursor(Qt::PointingHandCursor);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14, 14, 14, 14);
    row->setSpacing(12);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(4);
    auto *titleLine = new QHBoxLayout;
    titleLine->setSpacing(8);
    m_title = new ElidedTitle(project.title, this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFont(Typography::font(TextStyle::Headline, QFont::DemiBold));
    m_title->setForegroundRole(QPalette::WindowText);
    m_title->setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextColor(m_title, Theme::text());
    setToolTip(project.title);
    titleLine->addWidget(m_title);
    if (project.isAI) {
        m_badge = new AiBadge(this);
        titleLine->addWidget(m_badge);
    }
    titleLine->addStretch(1);
    texts->addLayout(titleLine);
    m_subtitle = styledLabel(rowSubtitle(project), Typography::font(TextStyle::Callout), Theme::subtext(), this);
    texts->addWidget(m_subtitle);
    row->addLayout(texts, 1);

    m_type = new QVButton(QStringLiteral("TYPE"), QVButtonVariant::primary, false, this);
    m_type->setMinimumWidth(70);
    m_delete = new QVButton(QStringLiteral("DEL"), QVButtonVariant::destructive, true, this);
    m_delete->setMinimumWidth(54);
    row->addWidget(m_type);
    row->addWidget(m_delete);

    connect(m_type, &QAbstractButton::clicked, this, &ProjectRow::typeRequested);
    connect(m_delete, &QAbstractButton::clicked, this, &ProjectRow::deleteRequested);
}

void ProjectRow::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ProjectRow::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit opened();
}

} // namespace qv::dashboard
