#include "study/views/StudyDraftRow.h"

#include "study/views/StudyText.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace qv::study {

StudyDraftRow::StudyDraftRow(const ManualCardDraft &card, QWidget *parent) : QWidget(parent), m_card(card)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(4);
    QLabel *term = styledLabel(card.term, TextStyle::Callout, QFont::DemiBold, Theme::text());
    QLabel *definition = styledLabel(card.definition, TextStyle::Caption, std::nullopt, Theme::subtext());
    for (QLabel *l : {term, definition}) {
        l->setWordWrap(true);
        texts->addWidget(l);
    }
    layout->addLayout(texts, 1);
    m_edit = new QVButton(QStringLiteral("Edit"), QVButtonVariant::secondary, true);
    m_delete = new QVButton(QStringLiteral("Delete"), QVButtonVariant::destructive, true);
    layout->addWidget(m_edit, 0, Qt::AlignVCenter);
    layout->addWidget(m_delete, 0, Qt::AlignVCenter);
    connect(m_edit, &QAbstractButton::clicked, this, [this] { emit editRequested(m_card); });
    connect(m_delete, &QAbstractButton::clicked, this, [this] { emit deleteRequested(m_card); });
}

void StudyDraftRow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintPanel(p, rect(), 12);
}

} // namespace qv::study
