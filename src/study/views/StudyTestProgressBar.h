#pragma once

#include <QWidget>

namespace qv::study {

// The test page's answered bar: a Theme::surfaceAlt capsule track, 8 high,
// with the answered fraction in the accent colour at 60 % opacity.
class StudyTestProgressBar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 8;

    explicit StudyTestProgressBar(QWidget *parent = nullptr);

    double value() const { return m_value; }
    void setValue(double value);

    QSize sizeHint() const override { return {120, kHeight}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_value = 0;
};

} // namespace qv::study
