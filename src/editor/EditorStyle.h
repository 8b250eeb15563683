#pragma once

#include <QString>

class QLabel;

namespace qv::editor {

// Sets a label's text only when it differs (no needless relayout).
void setLabelText(QLabel *label, const QString &text);

} // namespace qv::editor
