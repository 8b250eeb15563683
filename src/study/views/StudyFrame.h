#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

namespace qv::study {

// How every card of the study views is painted: the rectangle with rounded
// corners in the fill, and a 1-pixel outline just inside its edge.
void paintFramedRect(QPainter &p, const QRect &rect, double radius, const QColor &fill, const QColor &outline);

// A rounded card of the study views: a fill with a 1-pixel Theme::border
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
