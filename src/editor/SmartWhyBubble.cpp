#include "editor/SmartWhyBubble.h"

#include "editor/EditorModel.h"
#include "editor/EditorStyle.h"
#include "theme/DropShadow.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace qv::editor {

SmartWhyBubble::SmartWhyBubble(EditorModel &model, QWidget *parent)
    : RoundedPanel(Theme::surface(), Theme::border(), 12, parent), m_model(model)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(6);
    column->addWidget(
        styledLabel(QStringLiteral("Why these settings"), TextStyle::Caption, QFont::DemiBold, Theme::text(), this));
    m_reason = styledLabel({}, TextStyle::Caption2, std::nullopt, Theme::subtext(), this);
    m_reason->setWordWrap(true);
    column->addWidget(m_reason);
    setFixedWidth(kWidth);
    setCursor(Qt::PointingHandCursor);
    m_shadow = new DropShadow(this, [this] { return ShadowSpec{QRectF(rect()), 12, Theme::shadow(), 10, {0, 6}}; });
}

void SmartWhyBubble::placeAt(QPoint anchorTopRight)
{
    setLabelText(m_reason, m_model.smartReason());
    const int h = layout()->totalHeightForWidth(kWidth);
    setGeometry(anchorTopRight.x() + 10 - kWidth, anchorTopRight.y() + 36, kWidth, h);
}

void SmartWhyBubble::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    m_model.closeSmartWhy();
}

} // namespace qv::editor
