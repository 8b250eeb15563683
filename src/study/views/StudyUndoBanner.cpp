#include "study/views/StudyUndoBanner.h"

#include "study/views/StudyText.h"
#include "theme/DropShadow.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace qv::study {

StudyUndoBanner::StudyUndoBanner(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    m_label = styledLabel({}, TextStyle::Caption, std::nullopt, Theme::text());
    layout->addWidget(m_label);
    layout->addStretch(1);
    m_undo = new QVButton(QStringLiteral("Undo"), QVButtonVariant::secondary, true);
    layout->addWidget(m_undo);
    connect(m_undo, &QAbstractButton::clicked, this, &StudyUndoBanner::undoClicked);
    m_shadow = new DropShadow(this, [this] {
        return ShadowSpec{QRectF(rect()), 12, Theme::shadow(), 10, QPointF(0, 6)};
    });
}

void StudyUndoBanner::setText(const QString &text) { m_label->setText(text); }

void StudyUndoBanner::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintPanel(p, rect(), 12);
}

} // namespace qv::study
