#include "editor/EditorStyle.h"

#include <QLabel>

namespace qv::editor {

void setLabelText(QLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

} // namespace qv::editor
