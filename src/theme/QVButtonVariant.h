#pragma once

#include <QColor>
#include <QFont>

namespace qv {

enum class QVButtonVariant { primary, secondary, tertiary, destructive };

// What a variant paints: label, outline and the fill at rest and pressed.
struct QVButtonColors {
    QColor label;
    QColor border;
    double borderWidth = 0;
    QColor fill;
    QColor fillPressed;
};

// Sizes of the regular and the compact button.
struct QVButtonMetrics {
    QFont font;
    int paddingV = 10;
    int paddingH = 15;
    double cornerRadius = 12;
    int minHeight = 38;
};

QVButtonColors buttonColors(QVButtonVariant variant);
QVButtonMetrics buttonMetrics(bool compact);

} // namespace qv
