#include "study/views/StudyGoalPicker.h"

#include "study/SessionLabels.h"
#include "study/StudySession.h"
#include "study/views/StudyText.h"
#include "theme/QVButton.h"

#include <QLabel>
#include <QVBoxLayout>

namespace qv::study {

StudyGoalPicker::StudyGoalPicker(StudySession &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto *title = styledLabel(QStringLiteral("Set your Learn goal"), TextStyle::Headline, QFont::DemiBold,
                              Theme::text());
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    m_column = new QVBoxLayout;
    m_column->setSpacing(8);
    layout->addLayout(m_column);
    sync();
}

void StudyGoalPicker::sync()
{
    const QList<int> goals = m_session.goalOptions();
    const qsizetype pool = m_session.activeItems().size();
    if (goals == m_shownGoals && pool == m_shownPool)
        return;
    m_shownGoals = goals;
    m_shownPool = pool;
    // Old buttons go later: this can run inside a goal button's own click.
    for (QVButton *b : std::as_const(m_buttons)) {
        b->hide();
        b->deleteLater();
    }
    m_buttons.clear();
    for (int goal : goals) {
        auto *button = new QVButton(labels::goalButton(goal, pool), QVButtonVariant::primary);
        button->setObjectName(QString::number(goal));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(button, &QAbstractButton::clicked, this, [this, goal] {
            if (m_session.showGoalPicker())
                m_session.chooseGoal(goal);
        });
        m_column->addWidget(button);
        m_buttons.append(button);
    }
}

} // namespace qv::study
