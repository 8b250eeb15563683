#pragma once

#include "theme/LayerPaint.h"

#include <QWidget>

namespace qv {
class AnimatedValue;
}

namespace qv::editor {

// The typing progress bar: a track, an accent fill that grows from the left
// with the progress and, while characters are being typed, a soft highlight
// that sweeps from left to right again and again (standing still without
// motion).
//
// It lies on the progress card, whose face is the track's own colour, so it
// paints that colour under the track's rounded ends itself and is opaque:
// nothing beneath it repaints with it. A progress step repaints only where
// the fill's end moved, a frame of the sweep only where the highlight was
// and is.
class TypingProgressBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 8;
    static constexpr double kRadius = 6;
    static constexpr double kSweepMs = 1400;
    // The sweep's frame rate: a soft, faint highlight glides as smoothly at
    // 30 frames a second, for half the repaints.
    static constexpr double kSweepFrameMs = 1000.0 / 30;

    explicit TypingProgressBar(QWidget *parent = nullptr);

    void setProgress(double progress);
    double progress() const { return m_progress; }
    // Shows or hides the highlight; `reduceMotion` holds it still.
    void setHighlight(bool visible, bool reduceMotion);
    bool highlightVisible() const { return m_highlight; }
    // The highlight's current offset from the leading edge.
    double highlightOffset() const;

    QSize sizeHint() const override { return {200, kHeight}; }
    QSize minimumSizeHint() const override { return {20, kHeight}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The pixels the highlight covers at `offset`.
    QRect highlightRect(double offset) const;
    void sweepMoved();

    double m_progress = 0;
    bool m_highlight = false;
    bool m_still = false;
    AnimatedValue *m_sweep;
    // Where the highlight was last painted.
    QRect m_paintedHighlight;
    // The track with its fill, drawn once per size and progress; the
    // highlight, drawn once.
    CachedLayer m_trackAndFill;
    CachedLayer m_highlightLayer;
};

} // namespace qv::editor
