#pragma once

#include <QColor>
#include <QWidget>

namespace qv::study {

// A rounded card of the test page: a fill with a 1-pixel Theme::border
// outline, radius 14. The page itself sits on Theme::surface; its header and
// question cards on Theme::surfaceAlt.
class StudyTestPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr double kRadius = 14;

    explicit StudyTestPanel(const QColor &fill, QWidget *parent = nullptr);

    const QColor &fill() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill;
};

} // namespace qv::study
