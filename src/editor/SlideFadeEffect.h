#pragma once

#include "theme/TransitionEffect.h"

namespace qv::editor {

// Paints its widget partly faded and shifted towards one edge: at progress
// 0 it is invisible and a whole height away from its place (below it, or
// above it for `Edge::Top`), at 1 it is painted untouched. What moves
// beyond the widget's own rectangle is clipped, so it slides in from the edge.
class SlideFadeEffect : public TransitionEffect {
    Q_OBJECT
public:
    enum class Edge { Top, Bottom };

    explicit SlideFadeEffect(Edge edge, QObject *parent = nullptr) : TransitionEffect(parent), m_edge(edge) {}

    double progress() const { return m_progress; }
    void setProgress(double progress);
    // The vertical shift at the current progress for a widget `height` tall.
    double offsetFor(double height) const;

protected:
    Frame frame(const QRectF &area) const override;

private:
    Edge m_edge;
    double m_progress = 1;
};

} // namespace qv::editor
