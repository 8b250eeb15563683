#include "dashboard/LayerFade.h"

#include <QPainter>
#include <QWidget>

namespace qv::dashboard {

void FadeScaleEffect::setFrame(double opacity, double scale)
{
    if (opacity == m_opacity && scale == m_scale)
        return;
    m_opacity = opacity;
    m_scale = scale;
    update();
}

void FadeScaleEffect::draw(QPainter *painter)
{
    if (m_opacity >= 1 && m_scale == 1) {
        drawSource(painter);
        return;
    }
    if (m_opacity <= 0)
        return;
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
    if (pixmap.isNull())
        return;
    const QRectF area(offset, pixmap.deviceIndependentSize());
    painter->save();
    painter->setOpacity(painter->opacity() * m_opacity);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->translate(area.center());
    painter->scale(m_scale, m_scale);
    painter->translate(-area.center());
    painter->drawPixmap(area.topLeft(), pixmap);
    painter->restore();
}

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
