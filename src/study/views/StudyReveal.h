#pragma once

#include <QRect>

#include <functional>

class QWidget;

namespace qv::study {

// Scrolls the nearest scrolling ancestor of `widget` so that a part of it
// shows, once the layout changes already asked for have settled. `part`
// gives that part in the widget's own coordinates when the scroll happens
// (the whole widget when empty). A part taller than the view shows its top.
// Nothing moves when the part already shows or no ancestor scrolls.
void revealInScroll(QWidget *widget, std::function<QRect()> part = {});
// Scrolls the nearest scrolling ancestor of `widget` back to its top.
void scrollToTop(QWidget *widget);

} // namespace qv::study
