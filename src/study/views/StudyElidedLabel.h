#pragma once

#include <QLabel>

namespace qv::study {

// A one-line plain-text label that cuts its text at the end with an
// ellipsis instead of growing its container.
class StudyElidedLabel final : public QLabel {
    Q_OBJECT
public:
    explicit StudyElidedLabel(const QString &text = {}, QWidget *parent = nullptr);

    // The text as painted at the current width.
    QString shownText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace qv::study
