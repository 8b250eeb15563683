#pragma once

#include <QWidget>

namespace qv::study {

// A thin linear bar showing a fraction of 1 in the accent colour.
class StudyProgressBar final : public QWidget {
    Q_OBJECT
public:
    explicit StudyProgressBar(double value = 0, QWidget *parent = nullptr);

    double value() const { return m_value; }
    void setValue(double value);

    QSize sizeHint() const override { return {120, 6}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_value = 0;
};

} // namespace qv::study
