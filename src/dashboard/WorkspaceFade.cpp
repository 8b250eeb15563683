#include "dashboard/WorkspaceFade.h"

#include "dashboard/LayerFade.h"

#include <QWidget>

namespace qv::dashboard {

namespace {
constexpr double kGone = 0.001;
}

WorkspaceFade::WorkspaceFade(QWidget *layer, QWidget *picker, QWidget *card)
    : QObject(layer), m_layerWidget(layer), m_pickerWidget(picker), m_cardWidget(card),
      m_pickerEffect(new FadeScaleEffect(picker)), m_cardEffect(new FadeScaleEffect(card)),
      m_layer(new AnimatedValue(1, layer)), m_picker(new AnimatedValue(1, layer))
{
    picker->setGraphicsEffect(m_pickerEffect);
    card->setGraphicsEffect(m_cardEffect);
    connect(m_layer, &AnimatedValue::changed, this, &WorkspaceFade::sync);
    connect(m_picker, &AnimatedValue::changed, this, &WorkspaceFade::sync);
    sync();
}

double WorkspaceFade::pickerOpacity() const { return m_layer->value() * m_picker->value(); }
double WorkspaceFade::cardOpacity() const { return m_layer->value() * (1 - m_picker->value()); }

void WorkspaceFade::setLayerShown(bool shown, const Animation &animation)
{
    if (shown == m_layerShown)
        return;
    m_layerShown = shown;
    if (shown)
        m_layerWidget->show();
    m_layer->set(shown ? 1 : 0, animation);
    sync();
}

void WorkspaceFade::setPickerShown(bool pickerShown, const Animation &animation)
{
    if (pickerShown == m_pickerShown)
        return;
    m_pickerShown = pickerShown;
    (pickerShown ? m_pickerWidget : m_cardWidget)->show();
    m_picker->set(pickerShown ? 1 : 0, animation);
    sync();
}

void WorkspaceFade::sync()
{
    m_pickerEffect->setFrame(pickerOpacity(), 1);
    m_cardEffect->setFrame(cardOpacity(), 1);
    // A page that has faded out leaves the cell; so does the layer.
    const double p = m_picker->value();
    m_pickerWidget->setVisible(m_pickerShown || p > kGone);
    m_cardWidget->setVisible(!m_pickerShown || p < 1 - kGone);
    m_layerWidget->setVisible(m_layerShown || m_layer->value() > kGone);
}

} // namespace qv::dashboard
