#pragma once

#include <QColor>
#include <QLabel>

namespace qv::study {

// One figure of the progress row: a coloured dot and "Label: N" on a capsule.
class StudyProgressChip final : public QLabel {
    Q_OBJECT
public:
    StudyProgressChip(const QString &label, const QColor &dot, QWidget *parent = nullptr);

    void setCount(qint64 count);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_label;
    QColor m_dot;
};

} // namespace qv::study
