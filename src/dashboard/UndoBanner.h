#pragma once

#include "dashboard/Card.h"

class QLabel;

namespace qv {
class QVButton;
}

namespace qv::dashboard {

// The banner at the bottom of the page after a deletion: Deleted "<title>"
// and an Undo button.
class UndoBanner : public Card {
    Q_OBJECT
public:
    explicit UndoBanner(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QSize sizeHint() const override;
    QLabel *textLabel() const { return m_text; }
    QVButton *undoButton() const { return m_undo; }

signals:
    void undoRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitText();

    QString m_title;
    QLabel *m_text;
    QVButton *m_undo;
};

} // namespace qv::dashboard
