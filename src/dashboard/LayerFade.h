#pragma once

#include "theme/AnimatedValue.h"
#include "theme/TransitionEffect.h"

#include <QObject>

class QWidget;

namespace qv::dashboard {

// Paints its widget at an opacity and a scale about the centre; at full
// opacity and scale it paints the widget untouched.
class FadeScaleEffect : public TransitionEffect {
    Q_OBJECT
public:
    explicit FadeScaleEffect(QObject *parent = nullptr) : TransitionEffect(parent) {}

    double opacity() const { return m_opacity; }
    double scale() const { return m_scale; }
    void setFrame(double opacity, double scale);

protected:
    Frame frame(const QRectF &area) const override;

private:
    double m_opacity = 1;
    double m_scale = 1;
};

// Brings a layer in and out with a fade, optionally growing from
// `hiddenScale` to full size as it comes and shrinking back as it goes. A
// leaving layer takes no clicks and is hidden once it has faded out.
class LayerFade : public QObject {
    Q_OBJECT
public:
    // Starts with the layer hidden.
    LayerFade(QWidget *layer, double hiddenScale = 1.0);

    bool isShown() const { return m_shown; }
    // 0 hidden … 1 shown, as painted now.
    double progress() const { return m_progress->value(); }
    double opacity() const { return m_effect->opacity(); }
    double scale() const { return m_effect->scale(); }

    // Without an animation the layer appears or disappears at once.
    void setShown(bool shown, const Animation &animation);

signals:
    // The layer has just been hidden at the end of its way out.
    void hidden();

private:
    void sync();

    QWidget *m_layer;
    double m_hiddenScale;
    FadeScaleEffect *m_effect;
    AnimatedValue *m_progress;
    bool m_shown;
};

} // namespace qv::dashboard
