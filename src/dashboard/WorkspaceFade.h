#pragma once

#include "theme/AnimatedValue.h"

#include <QObject>

class QWidget;

namespace qv::dashboard {

class FadeScaleEffect;

// The workspace layer's two pages (the picker and the card) cross-fade in one
// cell while the whole layer fades out under a welcome overlay and back in.
// The layer's fade is folded into each page's own opacity rather than nested
// as a second effect, which the painter cannot stack.
class WorkspaceFade : public QObject {
    Q_OBJECT
public:
    // Starts with the layer and the picker shown, the card hidden.
    WorkspaceFade(QWidget *layer, QWidget *picker, QWidget *card);

    void setLayerShown(bool shown, const Animation &animation);
    void setPickerShown(bool pickerShown, const Animation &animation);

    double layerOpacity() const { return m_layer->value(); }
    double pickerOpacity() const;
    double cardOpacity() const;

private:
    void sync();

    QWidget *m_layerWidget;
    QWidget *m_pickerWidget;
    QWidget *m_cardWidget;
    FadeScaleEffect *m_pickerEffect;
    FadeScaleEffect *m_cardEffect;
    AnimatedValue *m_layer;
    AnimatedValue *m_picker; // 1 picker, 0 card
    bool m_layerShown = true;
    bool m_pickerShown = true;
};

} // namespace qv::dashboard
