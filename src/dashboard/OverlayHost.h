#pragma once

#include <QList>
#include <QMargins>
#include <QWidget>

namespace qv::dashboard {

// Holds the page's layers in one fixed order, back to front: by z, then by
// the order they were added. A layer is a child widget; a hidden layer takes
// no clicks, a shown one takes the clicks on its own rectangle (a dimmed
// layer fills the page and so takes them all).
class OverlayHost : public QWidget {
    Q_OBJECT
public:
    enum class Placement {
        Fill,        // the whole page
        Bottom,      // centred at the bottom edge, at its preferred size
        TopTrailing, // in the top-right corner, at its preferred size
    };

    explicit OverlayHost(QWidget *parent = nullptr);

    void addLayer(QWidget *layer, int z, Placement placement, QMargins margins = {});
    // The layers, back to front.
    QList<QWidget *> layers() const;
    // The shown layer that takes a click at `pos`, if any.
    QWidget *layerAt(QPoint pos) const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Layer {
        QWidget *widget;
        int z;
        int order;
        Placement placement;
        QMargins margins;
    };
    void restack();
    void place(const Layer &layer);
    void placeAll();

    QList<Layer> m_layers;
    int m_nextOrder = 0;
};

} // namespace qv::dashboard
