#pragma once

#include <QLineEdit>

namespace qv {

class FocusRing;

// The look of every single-line input: plain text on a dark rounded
// background with a hairline that turns accent, with a glow, while the field
// has keyboard focus. Password fields (echo mode Password) look the same.
class QVLineEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kPadding = 12;
    static constexpr int kMinHeight = 40;

    explicit QVLineEdit(QWidget *parent = nullptr, double cornerRadius = 12);

    // Whether keyboard focus shows the accent ring (on by default); a field
    // whose focus the caller does not follow keeps the plain hairline.
    void setShowsFocus(bool on);
    bool showsFocusRing() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void syncRing();

    FocusRing *m_ring;
    double m_radius;
    bool m_showsFocus = true;
};

} // namespace qv
