#pragma once

#include <QColor>
#include <QWidget>

namespace qv::editor {

// A container drawn as a filled rounded rectangle (or a capsule) with a
// 1-pixel outline; its children are laid out inside as usual.
class RoundedPanel : public QWidget {
    Q_OBJECT
public:
    // A negative radius draws a capsule.
    RoundedPanel(const QColor &fill, const QColor &outline, double radius, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill;
    QColor m_outline;
    double m_radius;
};

} // namespace qv::editor
