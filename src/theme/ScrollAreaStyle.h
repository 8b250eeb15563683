#pragma once

class QScrollArea;

namespace qv {

// A frameless scroll area whose viewport shows what lies behind it, with the
// application's thin vertical bar. `barEndMargin` keeps the bar that far from
// the area's top and bottom (clear of a card's rounded corners).
void styleScrollArea(QScrollArea *area, int barEndMargin = 0, int handleRadius = 4);

} // namespace qv
