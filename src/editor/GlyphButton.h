#pragma once

#include <QAbstractButton>

namespace qv::editor {

// A 20 x 20 square button with one bold glyph, as the editor's close and
// minimise controls.
class GlyphButton : public QAbstractButton {
    Q_OBJECT
public:
    GlyphButton(const QString &glyph, const QString &accessibleName, QWidget *parent = nullptr);
    QSize sizeHint() const override { return {20, 20}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace qv::editor
