#pragma once

#include <QColor>
#include <QWidget>

namespace qv::editor {

// Plain text wrapped at word boundaries to at most `maxLines` lines; the
// last line ends in "…" when the text goes on. Its height follows its width.
class LineClampLabel : public QWidget {
    Q_OBJECT
public:
    LineClampLabel(const QString &text, int maxLines, const QColor &color, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    void setColor(const QColor &color);
    int maxLines() const { return m_maxLines; }
    // The lines as drawn at the current width (the last one possibly elided).
    QStringList visibleLines() const { return linesFor(width()); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QStringList linesFor(int width) const;

    QString m_text;
    int m_maxLines;
    QColor m_color;
};

} // namespace qv::editor
