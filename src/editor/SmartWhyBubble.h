#pragma once

#include "editor/RoundedPanel.h"
#include "theme/Shadow.h"

class QLabel;

namespace qv {
class DropShadow;
}

namespace qv::editor {

class EditorModel;

// "Why these settings": the reason for the current suggestion, floating over
// the form below the "Why?" button. A click anywhere on it closes it.
class SmartWhyBubble : public RoundedPanel {
    Q_OBJECT
public:
    static constexpr int kWidth = 220;

    explicit SmartWhyBubble(EditorModel &model, QWidget *parent = nullptr);

    QLabel *reasonLabel() const { return m_reason; }
    // Places the bubble's top-right corner 10 right of and 36 below `anchorTopRight`.
    void placeAt(QPoint anchorTopRight);
    // The shadow as painted now: it takes part in the bubble's slide and fade.
    ShadowSpec shadowSpec() const;
    // Repaints the shadow after the bubble's fade moved on.
    void refreshShadow();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    EditorModel &m_model;
    QLabel *m_reason;
    DropShadow *m_shadow;
};

} // namespace qv::editor
