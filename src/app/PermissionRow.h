#pragma once

#include <QWidget>

#include <functional>

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::app {

// One permission of the permissions card: a round status mark, the title
// with "Enabled" or "Required", a Tutorial link and the button that asks
// for the permission (disabled, reading "Enabled", once it is granted).
class PermissionRow final : public QWidget {
    Q_OBJECT
public:
    PermissionRow(const QString &title, QString tutorialUrl, std::function<void()> action, QWidget *parent = nullptr);

    void setReady(bool ready);
    bool isReady() const { return m_ready; }

    // Whether `text` is an address the browser can open.
    static bool isOpenableAddress(const QString &text);

    QString title() const;
    QString statusText() const;
    // The symbol name the mark shows: "checkmark" or "exclamationmark".
    QString symbolName() const;
    const QString &tutorialUrl() const { return m_tutorialUrl; }
    QVButton *tutorialButton() const { return m_tutorial; }
    QVButton *actionButton() const { return m_action; }

signals:
    // "Tutorial" with an address that parses.
    void tutorialRequested(const QUrl &url);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_ready = false;
    QString m_tutorialUrl;
    std::function<void()> m_onAction;
    QWidget *m_mark;
    QLabel *m_title;
    QLabel *m_status;
    QVButton *m_tutorial;
    QVButton *m_action;
};

} // namespace qv::app
