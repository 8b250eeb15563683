#pragma once

#include <QWidget>

class QLabel;

namespace qv {
class DropShadow;
class QVButton;
} // namespace qv

namespace qv::study {

// The banner at the bottom of the workspace that offers a deleted set back.
class StudyUndoBanner final : public QWidget {
    Q_OBJECT
public:
    explicit StudyUndoBanner(QWidget *parent = nullptr);

    void setText(const QString &text);
    QLabel *label() const { return m_label; }
    QVButton *undoButton() const { return m_undo; }

signals:
    void undoClicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_label;
    QVButton *m_undo;
    DropShadow *m_shadow;
};

} // namespace qv::study
