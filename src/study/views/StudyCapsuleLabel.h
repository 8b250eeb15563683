#pragma once

#include "theme/Typography.h"

#include <QColor>
#include <QLabel>

#include <optional>

namespace qv::study {

// A short plain-text label on a filled capsule: the test page's question
// count, question number and true/false badge; outlined, a set header's
// summary pill; outlined and with a coloured dot, one figure of the set's
// progress row.
class StudyCapsuleLabel final : public QLabel {
    Q_OBJECT
public:
    StudyCapsuleLabel(const QString &text, TextStyle style, QFont::Weight weight, const QColor &textColor,
                      const QColor &fill, int padX, int padY, QWidget *parent = nullptr);

    const QColor &fill() const { return m_fill; }

    // A 1 px line just inside the capsule's edge.
    void setOutline(const QColor &color);
    // A dot in front of the text, which moves over to make room for it.
    void setDot(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill;
    std::optional<QColor> m_outline;
    std::optional<QColor> m_dot;
    int m_padX;
};

} // namespace qv::study
