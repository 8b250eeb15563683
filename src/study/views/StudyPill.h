#pragma once

#include <QLabel>

namespace qv::study {

// One summary pill of a set's header: a short caption on a raised capsule.
class StudyPill final : public QLabel {
    Q_OBJECT
public:
    explicit StudyPill(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace qv::study
