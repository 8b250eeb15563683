#pragma once

#include <QFont>
#include <QStringList>

class QPainter;
class QRectF;

namespace qv::study {

// A text wrapped to a width and cut after a number of lines, the last shown
// line ending in "…" when text was left out.
struct ClampedText {
    QStringList lines;
    bool elided = false;
};

ClampedText clampText(const QString &text, const QFont &font, double width, int maxLines);

// Draws the lines centred horizontally in `area`, from its top; returns the
// height they took.
double paintCentredLines(QPainter &painter, const QRectF &area, const ClampedText &text, const QFont &font);
double linesHeight(const ClampedText &text, const QFont &font);

} // namespace qv::study
