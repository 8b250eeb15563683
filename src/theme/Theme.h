#pragma once

#include <QColor>

namespace qv {

// The application's one dark palette. Every colour is fixed: it does not
// follow the desktop's light or dark appearance. Each is built once, on first
// use, and never changes.
class Theme {
public:
    Theme() = delete;

    static const QColor &bg();
    static const QColor &surface();
    static const QColor &surfaceAlt();
    static const QColor &border();
    static const QColor &accent();
    static const QColor &accentPressed();
    static const QColor &accentSoft();
    static const QColor &text();
    static const QColor &subtext();
    static const QColor &secondaryLabel();
    static const QColor &success();
    static const QColor &danger();
    static const QColor &shadow();
    // The colour a window frame paints its hairline border with; the same
    // value as border(), kept apart because window chrome asks for it by name.
    static const QColor &borderNS();

    // `color` with its alpha multiplied by `factor` (clamped to [0, 1]).
    static QColor withOpacity(const QColor &color, double factor);
};

} // namespace qv
