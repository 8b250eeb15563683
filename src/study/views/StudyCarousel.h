#pragma once

#include "model/StudyItem.h"
#include "study/views/StudyFrame.h"

#include <QList>
#include <QSet>
#include <QUuid>

class QLabel;

namespace qv {
class QVButton;
class AnimatedValue;
} // namespace qv

namespace qv::study {

struct FlashcardDeck;
class StudyFlashcardView;
class StudyCardAreaEffect;

// The flashcards panel: its heading and position, the card, and the buttons
// that step back, turn the card and step forward. It shows what the page
// holds and reports the buttons; the page owns the position and the face.
class StudyCarousel final : public StudyFrame {
    Q_OBJECT
public:
    explicit StudyCarousel(QWidget *parent = nullptr);

    // `slideMs`: how long another card takes to slide in (0: no slide).
    void present(const QList<StudyItem> &cards, const QSet<QUuid> &weakIds, const FlashcardDeck &deck,
                 double slideMs = 0);

    QLabel *counterLabel() const { return m_counter; }
    StudyFlashcardView *cardView() const { return m_card; }
    StudyCardAreaEffect *cardAreaEffect() const { return m_cardEffect; }
    // The card area fades in, growing from just under full size.
    void playEntrance();
    // Leaves a picture of the card area on `host` that fades and shrinks away.
    void playExit(QWidget *host);
    QVButton *previousButton() const { return m_previous; }
    QVButton *toggleButton() const { return m_toggle; }
    QVButton *nextButton() const { return m_next; }

signals:
    void previousClicked();
    void nextClicked();
    void toggleClicked();

private:
    QLabel *m_counter;
    StudyFlashcardView *m_card;
    StudyCardAreaEffect *m_cardEffect;
    AnimatedValue *m_entrance;
    QVButton *m_previous;
    QVButton *m_toggle;
    QVButton *m_next;
};

} // namespace qv::study
