#pragma once

#include "theme/Typography.h"

#include <QAbstractButton>

namespace qv::study {

// The round "⋯" button that opens a menu, drawn without button chrome.
class StudyEllipsisButton final : public QAbstractButton {
    Q_OBJECT
public:
    StudyEllipsisButton(int diameter, TextStyle style, QWidget *parent = nullptr);

    QSize sizeHint() const override { return {m_diameter, m_diameter}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_diameter;
};

} // namespace qv::study
