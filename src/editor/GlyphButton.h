#pragma once

#include <QAbstractButton>

namespace qv::editor {

// A small square button with one bold glyph, as the editor's close and
// minimise controls (20 x 20, corners of 6) and the typing panel's close
// (24 x 24, corners of 7).
class GlyphButton : public QAbstractButton {
    Q_OBJECT
public:
    GlyphButton(const QString &glyph, const QString &accessibleName, QWidget *parent = nullptr, int side = 20,
                double cornerRadius = 6);
    QSize sizeHint() const override { return {m_side, m_side}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_side;
    double m_radius;
};

} // namespace qv::editor
