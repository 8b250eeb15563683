#include "dashboard/LayerFade.h"

#include <QWidget>

namespace qv::dashboard {

void FadeScaleEffect::setFrame(double opacity, double scale)
{
    if (opacity == m_opacity && scale == m_scale)
        return;
    m_opacity = opacity;
    m_scale = scale;
    frameChanged();
}

TransitionEffect::Frame FadeScaleEffect::frame(const QRectF &) const { return {m_opacity, m_scale, 0, false}; }

LayerFade::LayerFade(QWidget *layer, double hiddenScale)
    : QObject(layer), m_layer(layer), m_hiddenScale(hiddenScale), m_effect(new FadeScaleEffect(layer)),
      m_progress(new AnimatedValue(0, layer)), m_shown(false)
{
    layer->setGraphicsEffect(m_effect);
    layer->hide();
    connect(m_progress, &AnimatedValue::changed, this, &LayerFade::sync);
    sync();
}

void LayerFade::setShown(bool shown, const Animation &animation)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    m_layer->setAttribute(Qt::WA_TransparentForMouseEvents, !shown);
    if (shown)
        m_layer->show();
    m_progress->set(shown ? 1 : 0, animation);
    sync();
}

void LayerFade::sync()
{
    const double p = m_progress->value();
    m_effect->setFrame(p, m_hiddenScale + (1 - m_hiddenScale) * p);
    if (!m_shown && p <= 0.001 && !m_layer->isHidden()) {
        m_layer->hide();
        emit hidden();
    }
}

} // namespace qv::dashboard
