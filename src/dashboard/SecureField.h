#pragma once

#include <QLineEdit>

namespace qv {
class FocusRing;
}

namespace qv::dashboard {

// A password field of the settings window: hidden text 10 points inside a
// square-cornered surface fill, with the focus ring (radius 10) over it.
class SecureField : public QLineEdit {
    Q_OBJECT
public:
    explicit SecureField(const QString &placeholder, QWidget *parent = nullptr);
    bool showsFocusRing() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    FocusRing *m_ring;
};

} // namespace qv::dashboard
