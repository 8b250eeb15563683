#pragma once

#include <QAbstractButton>

namespace qv::dashboard {

// The settings window's close control: a 12-point red dot with a faint white
// outline, clickable over its whole padded 24-point square.
class CloseDot : public QAbstractButton {
    Q_OBJECT
public:
    explicit CloseDot(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace qv::dashboard
