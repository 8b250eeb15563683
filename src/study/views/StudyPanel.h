#pragma once

#include <QWidget>

namespace qv::study {

// A rounded Theme::surface box with a 1-pixel Theme::border outline that
// holds other widgets: the session's statistics cards and the quiz setup.
class StudyPanel : public QWidget {
    Q_OBJECT
public:
    explicit StudyPanel(double radius, QWidget *parent = nullptr);

    double radius() const { return m_radius; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_radius;
};

} // namespace qv::study
