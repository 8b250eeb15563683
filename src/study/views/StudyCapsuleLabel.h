#pragma once

#include "theme/Typography.h"

#include <QColor>
#include <QLabel>

#include <optional>

namespace qv::study {

// A short plain-text label on a filled capsule: the test page's question
// count, question number and true/false badge.
class StudyCapsuleLabel final : public QLabel {
    Q_OBJECT
public:
    StudyCapsuleLabel(const QString &text, TextStyle style, QFont::Weight weight, const QColor &textColor,
                      const QColor &fill, int padX, int padY, QWidget *parent = nullptr);

    const QColor &fill() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill;
};

} // namespace qv::study
