#include "study/views/StudySessionPage.h"

#include <QVBoxLayout>

namespace qv::study {

StudySessionPage::StudySessionPage(const StudySessionServices &services, const StudyProject &project,
                                   StudySessionActions actions, QWidget *parent)
    : StudyHostedPage(parent), m_project(project)
{
    setObjectName(QStringLiteral("study"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new StudySessionView(services, project, StudySessionStyle::study, true, std::move(actions));
    layout->addWidget(m_view);
}

void StudySessionPage::restart(const StudyProject &project)
{
    m_project = project;
    m_view->appear(project);
}

StudySessionFactory studySessionPageFactory(const StudySessionServices &services)
{
    return [services](const StudyProject &project, StudySessionActions actions, QWidget *parent) -> StudyHostedPage * {
        return new StudySessionPage(services, project, std::move(actions), parent);
    };
}

} // namespace qv::study
