#include "editor/SmartWhyBubble.h"

#include "editor/EditorModel.h"
#include "editor/EditorStyle.h"
#include "editor/SlideFadeEffect.h"
#include "theme/DropShadow.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

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
    m_shadow = new DropShadow(this, [this] { return shadowSpec(); });
}

ShadowSpec SmartWhyBubble::shadowSpec() const
{
    QRectF face(rect());
    QColor colour = Theme::shadow();
    // The shadow is painted beside the bubble, outside its fade: it follows
    // the part of the bubble that has slid in and fades with it.
    if (const auto *fade = qobject_cast<const SlideFadeEffect *>(graphicsEffect()); fade && fade->isEnabled()) {
        const double shift = fade->progress() >= 1 ? 0 : fade->offsetFor(face.height());
        face = shift < 0 ? face.adjusted(0, 0, 0, shift) : face.adjusted(0, shift, 0, 0);
        colour.setAlphaF(float(colour.alphaF() * std::clamp(fade->progress(), 0.0, 1.0)));
    }
    if (face.height() <= 0 || colour.alphaF() <= 0)
        return {};
    return ShadowSpec{face, 12, colour, 10, {0, 6}};
}

void SmartWhyBubble::refreshShadow() { m_shadow->refresh(); }

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
