#pragma once

#include <QWidget>

namespace qv::dashboard {

// Holds one list row at its full size and shows the top `revealed` part of
// it, clipping the rest. A row that comes or goes animates this part alone:
// its own layout never sees less than its full height, so its texts and
// buttons keep their shape on every frame.
class RowReveal final : public QWidget {
    Q_OBJECT
public:
    explicit RowReveal(QWidget *content, QWidget *parent = nullptr);

    QWidget *content() const { return m_content; }
    // 0 shows nothing, 1 the whole row.
    void setRevealed(double fraction);
    double revealed() const { return m_revealed; }
    // The row's height at the current width.
    int fullHeight() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeContent();

    QWidget *m_content;
    double m_revealed = 1;
};

} // namespace qv::dashboard
