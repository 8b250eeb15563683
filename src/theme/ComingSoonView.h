#pragma once

#include <QWidget>

class QLabel;

namespace qv {

class DropShadow;
class ShimmerTitle;

// The card shown for a workspace that does not exist yet: its title, a line
// of detail and a "COMING SOON" badge. It has no buttons.
class ComingSoonView : public QWidget {
    Q_OBJECT
public:
    ComingSoonView(const QString &title, const QString &detail, QWidget *parent = nullptr);

    ShimmerTitle *title() const { return m_title; }
    QLabel *detail() const { return m_detail; }
    QLabel *badge() const { return m_badge; }

    // As wide as it may be (380) unless its container is narrower.
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ShimmerTitle *m_title;
    QLabel *m_detail;
    QLabel *m_badge;
    DropShadow *m_shadow;
};

} // namespace qv
