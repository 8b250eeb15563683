#pragma once

#include <QLabel>

namespace qv::editor {

// One summary pill: the text on a capsule with a hairline outline.
class DetailPill : public QLabel {
    Q_OBJECT
public:
    explicit DetailPill(const QString &text = {}, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace qv::editor
