#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace qv {

class FocusRing;

// The look of every multi-line input: the editor sits 10 pixels inside a
// dark rounded background whose hairline turns accent, with a glow, while
// the editor has keyboard focus.
class QVTextEditor : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPadding = 10;

    explicit QVTextEditor(QWidget *parent = nullptr, double cornerRadius = 12);

    QPlainTextEdit *editor() const { return m_editor; }
    QString toPlainText() const;
    void setPlainText(const QString &text);

    void setShowsFocus(bool on);
    bool showsFocusRing() const;

signals:
    void textChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void syncRing();

    QPlainTextEdit *m_editor;
    FocusRing *m_ring;
    double m_radius;
    bool m_showsFocus = true;
};

} // namespace qv
