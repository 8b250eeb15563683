#pragma once

#include <QWidget>

namespace qv {
class DropShadow;
}

namespace qv::app {

// A card of the shell: a `Theme::surface` face with rounded corners, a
// 1-pixel `Theme::border` outline and a soft `Theme::shadow` below. Content
// goes into the card's layout.
class CardFrame : public QWidget {
    Q_OBJECT
public:
    struct Style {
        double cornerRadius = 22;
        double shadowRadius = 16;
        double shadowOffsetY = 10;
    };

    explicit CardFrame(Style style, QWidget *parent = nullptr);

    const Style &style() const { return m_style; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Style m_style;
    DropShadow *m_shadow;
};

} // namespace qv::app
