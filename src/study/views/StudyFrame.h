#pragma once

#include <QColor>
#include <QWidget>

namespace qv::study {

// A rounded card of the set page: a fill with a 1-pixel Theme::border
// outline. Children are laid out by whoever fills it.
class StudyFrame : public QWidget {
    Q_OBJECT
public:
    explicit StudyFrame(double radius, QWidget *parent = nullptr);
    StudyFrame(double radius, const QColor &fill, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_radius;
    QColor m_fill;
};

} // namespace qv::study
