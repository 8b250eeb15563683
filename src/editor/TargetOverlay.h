#pragma once

#include "theme/LayerPaint.h"

#include <QWidget>

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::editor {

class LineClampLabel;
class TypingPanelModel;

// The card the typing panel lays over itself while the job waits for its
// target text box or has lost it: a dimming scrim over the whole panel and a
// centred card with what to do, what is known of the target so far, and
// "Stop" (which only asks) and "Got it" (which hides the card for this wait).
// It lies over the whole panel, so no click reaches the controls under it;
// a press on the scrim still drags the window.
class TargetOverlay : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCardMaxWidth = 420;

    explicit TargetOverlay(TypingPanelModel &model, QWidget *parent = nullptr);

    // Shows what the model holds now.
    void sync();

    QWidget *card() const { return m_card; }
    QLabel *titleLabel() const { return m_title; }
    QLabel *explanationLabel() const { return m_explanation; }
    QWidget *warningRow() const { return m_warningRow; }
    QWidget *stepsBlock() const { return m_steps; }
    LineClampLabel *debugLabel() const { return m_debug; }
    QWidget *targetRow() const { return m_targetRow; }
    QLabel *targetLabel() const { return m_target; }
    QString iconSymbol() const;
    QVButton *stopButton() const { return m_stop; }
    QVButton *gotItButton() const { return m_gotIt; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeCard();

    TypingPanelModel &m_model;
    QWidget *m_card;
    QWidget *m_icon;
    QLabel *m_title;
    QLabel *m_explanation;
    QWidget *m_warningRow;
    QWidget *m_steps;
    LineClampLabel *m_debug;
    QWidget *m_targetRow;
    QLabel *m_target;
    QVButton *m_stop;
    QVButton *m_gotIt;
    // The dim, drawn once per size: the panel's glow pulses beneath it.
    CachedLayer m_scrim;
};

} // namespace qv::editor
