#include "study/views/StudyCarousel.h"

#include "study/views/FlashcardDeck.h"
#include "study/views/StudyCardAreaEffect.h"
#include "study/views/StudyCardAreaGhost.h"
#include "study/views/StudyFlashcardView.h"
#include "study/views/StudySetPageText.h"
#include "study/views/StudyText.h"
#include "theme/AnimatedValue.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qv::study {

namespace {
constexpr double kEntranceMs = 220;
}

StudyCarousel::StudyCarousel(QWidget *parent) : StudyFrame(14, parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);

    auto *header = new QHBoxLayout;
    header->addWidget(styledLabel(QStringLiteral("Flashcards"), TextStyle::Headline, QFont::DemiBold, Theme::text()));
    header->addStretch(1);
    m_counter = styledLabel(setpage::counterText(0, 0), TextStyle::Callout, QFont::DemiBold, Theme::subtext());
    header->addWidget(m_counter);
    layout->addLayout(header);

    m_card = new StudyFlashcardView;
    layout->addWidget(m_card);
    m_cardEffect = new StudyCardAreaEffect(m_card);
    m_card->setGraphicsEffect(m_cardEffect);
    m_entrance = new AnimatedValue(1, m_card);
    connect(m_entrance, &AnimatedValue::changed, this, [this] { m_cardEffect->setProgress(m_entrance->value()); });

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    m_previous = new QVButton(QStringLiteral("\u25C0\uFE0E"), QVButtonVariant::secondary, true);
    m_toggle = new QVButton(QStringLiteral("Show Definition"), QVButtonVariant::secondary, false);
    m_next = new QVButton(QStringLiteral("\u25B6\uFE0E"), QVButtonVariant::secondary, true);
    buttons->addWidget(m_previous);
    buttons->addWidget(m_toggle);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    connect(m_previous, &QAbstractButton::clicked, this, &StudyCarousel::previousClicked);
    connect(m_next, &QAbstractButton::clicked, this, &StudyCarousel::nextClicked);
    connect(m_toggle, &QAbstractButton::clicked, this, &StudyCarousel::toggleClicked);
    connect(m_card, &StudyFlashcardView::clicked, this, &StudyCarousel::toggleClicked);
}

void StudyCarousel::playEntrance()
{
    // The set page animates whatever the reduce-motion preferences say.
    m_entrance->set(0, Animation::none());
    m_entrance->set(1, Animation::easeInOut(kEntranceMs));
    m_cardEffect->setProgress(m_entrance->value());
}

void StudyCarousel::playExit(QWidget *host)
{
    if (!m_card->isVisible() || !host)
        return;
    const QRect area(m_card->mapTo(host, QPoint(0, 0)), m_card->size());
    new StudyCardAreaGhost(m_card->grab(), area, host);
}

void StudyCarousel::present(const QList<StudyItem> &cards, const QSet<QUuid> &weakIds, const FlashcardDeck &deck,
                            double slideMs)
{
    // The cards in stored order, unfiltered.
    const qsizetype count = cards.size();
    const int shown = deck.shownIndex(count);
    m_counter->setText(setpage::counterText(shown, count));
    std::optional<StudyItem> card;
    if (count > 0)
        card = cards.at(shown);
    m_card->setCard(card, card && weakIds.contains(card->id), deck.showDefinition, deck.slideDirection, slideMs);
    m_toggle->setText(deck.showDefinition ? QStringLiteral("Show Term") : QStringLiteral("Show Definition"));
}

} // namespace qv::study
