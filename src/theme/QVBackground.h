#pragma once

#include <QWidget>

namespace qv {

// The full-window background: the base colour with a faint accent glow from
// the top-right corner and a deep blue one from the bottom-left corner.
class QVBackground : public QWidget {
    Q_OBJECT
public:
    explicit QVBackground(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace qv
