#pragma once

#include <QWidget>

class QLabel;

namespace qv {

class QVButton;

// A notice the user has to see, such as a save that did not reach the disk:
// a rounded panel with a warning mark, the text (wrapped) and a Dismiss
// button. It stays until dismissed; a newer notice replaces its text and
// shows it again.
class NoticeBanner final : public QWidget {
    Q_OBJECT
public:
    explicit NoticeBanner(QWidget *parent = nullptr);

    // Shows `text`; an empty text hides the notice.
    void present(const QString &text);
    // The same, unless the user dismissed this very text already (a notice
    // about a lasting state is not forced back at every refresh).
    void presentOnce(const QString &text);
    void dismiss();
    QString text() const;

    QLabel *label() const { return m_label; }
    QVButton *dismissButton() const { return m_dismiss; }

signals:
    void dismissed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_label;
    QVButton *m_dismiss;
    QString m_dismissedText;
};

} // namespace qv
