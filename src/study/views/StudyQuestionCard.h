#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace qv {
class DropShadow;
class QVButton;
class QVLineEdit;
} // namespace qv

namespace qv::study {

class StudyChoiceRow;
class StudySession;

// The card that asks the session's current question and takes the answer.
// It keeps no state of its own beyond its widgets: it shows the session after
// every change and hands each control's action to the session.
class StudyQuestionCard final : public QWidget {
    Q_OBJECT
public:
    static constexpr double kRadius = 14;
    static constexpr int kPadding = 14;

    explicit StudyQuestionCard(StudySession &session, QWidget *parent = nullptr);

    // Shows the session's current question and answer state.
    void sync();

    QLabel *typeLabel() const { return m_type; }
    QPushButton *starButton() const { return m_star; }
    QLabel *sideLabel() const { return m_side; }
    QLabel *promptLabel() const { return m_prompt; }
    QVLineEdit *answerField() const { return m_answer; }
    QList<StudyChoiceRow *> choiceRows() const { return m_rows; }
    QLabel *resultLabel() const { return m_result; }
    QWidget *retypeBlock() const { return m_retypeBlock; }
    QVLineEdit *retypeField() const { return m_retype; }
    QVButton *mainButton() const { return m_main; }
    QVButton *dontKnowButton() const { return m_dontKnow; }
    QVButton *overrideButton() const { return m_override; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void syncChoices();
    void tapRow(StudyChoiceRow *row);

    StudySession &m_session;
    QLabel *m_type;
    QPushButton *m_star;
    QLabel *m_side;
    QLabel *m_prompt;
    QVLineEdit *m_answer;
    QWidget *m_choiceBox;
    QVBoxLayout *m_choiceLayout;
    QList<StudyChoiceRow *> m_rows;
    QStringList m_shownChoices;
    // The row that was tapped, so that of two rows with the same text only
    // the tapped one is outlined.
    int m_tappedRow = -1;
    QLabel *m_result;
    QWidget *m_retypeBlock;
    bool m_resultShown = false;
    QVLineEdit *m_retype;
    QVButton *m_main;
    QVButton *m_dontKnow;
    QVButton *m_override;
    DropShadow *m_shadow;
};

} // namespace qv::study
