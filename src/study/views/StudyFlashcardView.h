#pragma once

#include "model/StudyItem.h"

#include <QPixmap>
#include <QWidget>

#include <optional>

namespace qv {
class AnimatedValue;
}

namespace qv::study {

// The card area of the flashcards: a raised rounded card showing one card's
// term or definition. Turning it rotates the faces about the vertical axis
// while they cross-fade; showing another card slides the old one out and the
// new one in. A click anywhere asks to turn it.
class StudyFlashcardView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 240;
    static constexpr double kTurnMs = 450.0;
    static constexpr int kMaxLines = 6;

    explicit StudyFlashcardView(QWidget *parent = nullptr);

    // The card shown (none for an empty set), whether it is weak, its face,
    // the direction a new card slides in from (+1 trailing, -1 leading) and
    // how long that slide takes (0: another card simply replaces this one).
    void setCard(const std::optional<StudyItem> &card, bool weak, bool showDefinition, double slideDirection,
                 double slideMs = 0);

    const std::optional<StudyItem> &card() const { return m_card; }
    bool showsDefinition() const { return m_showDefinition; }
    bool showsWeakBadge() const { return m_card && m_weak; }
    bool isTurning() const;
    bool isSliding() const;

    QSize sizeHint() const override { return {480, kHeight}; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void paintFaces(QPainter &p, const QRectF &area, double turn) const;
    void paintFace(QPainter &p, const QRectF &area, bool front) const;
    QPixmap snapshot() const;

    std::optional<StudyItem> m_card;
    bool m_weak = false;
    bool m_showDefinition = false;
    AnimatedValue *m_turn;
    AnimatedValue *m_slide;
    QPixmap m_outgoing;
    double m_direction = 1.0;
    bool m_pressed = false;
};

} // namespace qv::study
