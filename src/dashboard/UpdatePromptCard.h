#pragma once

#include "dashboard/Card.h"

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::dashboard {

// The card announcing an update check's result: a new version to download,
// or none.
class UpdatePromptCard : public Card {
    Q_OBJECT
public:
    enum class Kind { NewUpdate, NoUpdate };

    explicit UpdatePromptCard(Kind kind, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    void setVersion(const QString &version);

    QLabel *badgeLabel() const { return m_badge; }
    QLabel *lineLabel() const { return m_line; }
    // New update: "Do Later" and "Download Now"; no update: "Return to Dashboard".
    QList<QVButton *> buttons() const { return m_buttons; }

    QSize sizeHint() const override;

signals:
    void laterRequested();
    void downloadRequested();
    void returnRequested();

private:
    Kind m_kind;
    QLabel *m_badge;
    QLabel *m_line;
    QList<QVButton *> m_buttons;
};

} // namespace qv::dashboard
