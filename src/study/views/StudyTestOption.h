#pragma once

#include "study/QuizTest.h"

#include <QAbstractButton>
#include <QColor>

class QLabel;

namespace qv::study {

// One option of a test question: its text verbatim, the mark after
// submission, on a rounded fill that shows whether it is picked, right or
// wrong. The option is known by its text.
class StudyTestOption final : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr double kRadius = 12;

    explicit StudyTestOption(const QString &option, QWidget *parent = nullptr);

    const QString &option() const { return m_option; }
    void setLook(QuizTest::Tint tint, QuizTest::Mark mark);
    QuizTest::Tint tint() const { return m_tint; }
    QuizTest::Mark mark() const { return m_mark; }
    QColor fillColor() const;

    QLabel *textLabel() const { return m_text; }
    QLabel *markLabel() const { return m_markLabel; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_option;
    QLabel *m_text;
    QLabel *m_markLabel;
    QuizTest::Tint m_tint = QuizTest::Tint::surfaceAlt;
    QuizTest::Mark m_mark = QuizTest::Mark::none;
};

} // namespace qv::study
