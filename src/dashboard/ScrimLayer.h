#pragma once

#include <QWidget>

namespace qv::dashboard {

// A dimmed layer over the whole page with one widget centred on it. The dim
// takes every click, so nothing under it can be used; a click on the dim
// itself (not on the centred widget) is announced.
class ScrimLayer : public QWidget {
    Q_OBJECT
public:
    ScrimLayer(double opacity, QWidget *content, QWidget *parent = nullptr);

    QWidget *content() const { return m_content; }
    double opacity() const { return m_opacity; }

signals:
    void scrimClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeContent();

    double m_opacity;
    QWidget *m_content;
    bool m_pressedOnScrim = false;
};

} // namespace qv::dashboard
