#include "study/views/StudyInlineSession.h"

#include <QVBoxLayout>

namespace qv::study {

StudyInlineSession::StudyInlineSession(const StudySessionServices &services, const StudyProject &project,
                                       StudySessionActions actions, QWidget *parent)
    : StudyInlinePane(parent), m_project(project)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new StudySessionView(services, project, StudySessionStyle::study, true, std::move(actions));
    layout->addWidget(m_view);
}

void StudyInlineSession::restart(const StudyProject &project)
{
    m_project = project;
    m_view->appear(project);
}

StudyInlinePane *makeInlineStudySession(const StudySessionServices &services, const StudyProject &project,
                                        StudySessionActions actions, QWidget *parent)
{
    return new StudyInlineSession(services, project, std::move(actions), parent);
}

} // namespace qv::study
