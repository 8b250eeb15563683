#pragma once

#include <QWidget>

#include <functional>

namespace qv {

class WindowFrame;

// The frameless top-level window of every secondary window (editors, the
// typing panel, settings). It takes keyboard focus like any window. Its
// opener decides when it closes: a close from the window manager (Alt+F4)
// runs the opener's close action instead of closing behind its back.
class CustomWindow : public QWidget {
    Q_OBJECT
public:
    explicit CustomWindow(QWidget *content = nullptr, double cornerRadius = 20, bool resizable = true);

    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }
    WindowFrame *frame() const { return m_frame; }

    // What a close from outside does; without one the window simply closes.
    void setCloseAction(std::function<void()> action);
    // Closes for real; the opener's close action ends with this.
    void closeFromOpener();

signals:
    // A close was asked for from outside (window manager, Alt+F4).
    void closeRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *m_content = nullptr;
    WindowFrame *m_frame;
    std::function<void()> m_closeAction;
    bool m_closingFromOpener = false;
};

} // namespace qv
