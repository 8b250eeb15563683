#pragma once

#include "theme/AnimatedValue.h"

#include <QPainterPath>
#include <QWidget>

#include <functional>

class QGraphicsOpacityEffect;
class QVBoxLayout;

namespace qv::study {

class StudyFrame;

// A modal layer of the session view: a dark backdrop over the whole view
// that swallows every click and wheel turn, with a card centred on it. It
// fades in and out as the session asks; a layer that is leaving already
// lets clicks through, and a hidden one takes none.
class StudySessionOverlay final : public QWidget {
    Q_OBJECT
public:
    struct Look {
        double backdropOpacity = 0.2;
        double cardRadius = 18;
        int cardPadding = 18;
        int cardWidth = 0; // 0: as wide as the content asks
        bool shadow = true;
    };

    explicit StudySessionOverlay(const Look &look, QWidget *parent = nullptr);

    StudyFrame *card() const { return m_card; }
    QVBoxLayout *cardLayout() const { return m_cardLayout; }

    // The area the backdrop darkens, in this layer's coordinates; without
    // one, the whole layer. Clicks are taken over the whole layer either way.
    void setBackdropShape(std::function<QPainterPath()> shape);
    QPainterPath backdropShape() const;

    // Shows or hides the layer; without an animation at once.
    void present(bool shown, const Animation &animation);
    bool isPresented() const { return m_presented; }
    double opacity() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void follow();

    Look m_look;
    StudyFrame *m_card;
    QVBoxLayout *m_cardLayout;
    AnimatedValue *m_fade;
    QGraphicsOpacityEffect *m_effect = nullptr;
    bool m_presented = false;
    std::function<QPainterPath()> m_backdropShape;
};

} // namespace qv::study
