#include "study/views/StudyTestQuestionCard.h"

#include "study/views/StudyCapsuleLabel.h"
#include "study/views/StudyTestOption.h"
#include "study/views/StudyText.h"
#include "theme/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qv::study {

StudyTestQuestionCard::StudyTestQuestionCard(const QuizQuestion &question, qsizetype index, QWidget *parent)
    : StudyFrame(14, Theme::surfaceAlt(), parent), m_index(index)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(8);

    auto *head = new QHBoxLayout;
    head->setSpacing(8);
    m_number = new StudyCapsuleLabel(QuizTest::numberLabel(index), TextStyle::Caption, QFont::Bold, Theme::text(),
                                     Theme::surface(), 8, 4);
    head->addWidget(m_number, 0, Qt::AlignVCenter);
    if (question.isTrueFalse) {
        m_badge = new StudyCapsuleLabel(QStringLiteral("TRUE / FALSE"), TextStyle::Caption2, QFont::Bold,
                                        Theme::subtext(), Theme::surface(), 8, 4);
        head->addWidget(m_badge, 0, Qt::AlignVCenter);
    }
    m_prompt = styledLabel(question.prompt, TextStyle::Callout, QFont::DemiBold, Theme::text());
    m_prompt->setWordWrap(true);
    head->addWidget(m_prompt, 1, Qt::AlignVCenter);
    column->addLayout(head);

    for (const QString &choice : question.choices) {
        auto *option = new StudyTestOption(choice);
        connect(option, &QAbstractButton::clicked, this, [this, choice] { emit picked(m_index, choice); });
        column->addWidget(option);
        m_options.append(option);
    }

    m_correct = styledLabel(QuizTest::correctLine(question), TextStyle::Caption2, std::nullopt, Theme::subtext());
    m_correct->setWordWrap(true);
    m_correct->hide();
    column->addWidget(m_correct);
}

void StudyTestQuestionCard::sync(const QuizTest &test)
{
    if (m_index < 0 || m_index >= test.questions().size())
        return;
    const QuizQuestion &q = test.questions()[m_index];
    for (StudyTestOption *option : std::as_const(m_options)) {
        option->setLook(test.tint(option->option(), q), test.mark(option->option(), q));
        option->setEnabled(!test.submitted());
    }
    m_correct->setVisible(test.submitted() && q.isCorrect == false);
}

} // namespace qv::study
