#include "study/views/StudyCardRow.h"

#include "study/views/StudyEllipsisButton.h"
#include "study/views/StudySlideMenu.h"
#include "study/views/StudyText.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qv::study {

StudyCardRow::StudyCardRow(const StudyItem &card, int position, bool weak, QWidget *parent)
    : StudyFrame(12, Theme::surfaceAlt(), parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);

    auto *header = new QHBoxLayout;
    header->setSpacing(8);
    m_term = styledLabel({}, TextStyle::Headline, QFont::DemiBold, Theme::text());
    m_term->setWordWrap(true);
    header->addWidget(m_term, 1);
    m_number = styledLabel({}, TextStyle::Callout, QFont::DemiBold, Theme::subtext());
    header->addWidget(m_number);
    m_menuButton = new StudyEllipsisButton(24, TextStyle::Caption);
    header->addWidget(m_menuButton);
    layout->addLayout(header);

    m_menu = new StudySlideMenu;
    m_edit = new QVButton(QStringLiteral("Edit"), QVButtonVariant::secondary, true);
    m_delete = new QVButton(QStringLiteral("Delete"), QVButtonVariant::destructive, true);
    m_menu->addButton(m_edit);
    m_menu->addButton(m_delete);
    layout->addWidget(m_menu);

    m_definition = styledLabel({}, TextStyle::Callout, std::nullopt, Theme::subtext());
    m_definition->setWordWrap(true);
    layout->addWidget(m_definition);
    m_weak = styledLabel(QStringLiteral("Needs review"), TextStyle::Caption2, QFont::DemiBold, Theme::danger());
    layout->addWidget(m_weak);

    connect(m_menuButton, &QAbstractButton::clicked, this, [this] { emit menuClicked(m_card.id); });
    connect(m_edit, &QAbstractButton::clicked, this, [this] { emit editClicked(m_card); });
    connect(m_delete, &QAbstractButton::clicked, this, [this] { emit deleteClicked(m_card); });
    setCard(card, position, weak);
}

void StudyCardRow::setCard(const StudyItem &card, int position, bool weak)
{
    m_card = card;
    m_term->setText(card.term);
    m_number->setText(QStringLiteral("#%1").arg(position + 1));
    m_definition->setText(card.definition);
    m_weak->setVisible(weak);
}

void StudyCardRow::setMenuOpen(bool open, bool animated) { m_menu->setOpen(open, animated); }

} // namespace qv::study
