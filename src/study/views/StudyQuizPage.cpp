#include "study/views/StudyQuizPage.h"

#include "study/views/StudyTestView.h"

#include <QVBoxLayout>

namespace qv::study {

StudyQuizPage::StudyQuizPage(const StudyProject &project, StudyQuizActions actions, Random &random,
                             const WallClock &clock, QWidget *parent)
    : StudyHostedPage(parent), m_view(new StudyTestView(project, random, clock))
{
    setObjectName(QStringLiteral("quiz"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &StudyTestView::exitRequested, this, [onExit = std::move(actions.onExit)] {
        if (onExit)
            onExit();
    });
    connect(m_view, &StudyTestView::updated, this, [onUpdate = std::move(actions.onUpdate)](const StudyProject &set) {
        if (onUpdate)
            onUpdate(set);
    });
}

void StudyQuizPage::setProject(const StudyProject &project) { m_view->setProject(project); }

void StudyQuizPage::restart(const StudyProject &project) { m_view->restart(project); }

StudyQuizFactory studyQuizPageFactory(Random &random, const WallClock &clock)
{
    return
        [&random, &clock](const StudyProject &project, StudyQuizActions actions, QWidget *parent) -> StudyHostedPage * {
            return new StudyQuizPage(project, std::move(actions), random, clock, parent);
        };
}

} // namespace qv::study
