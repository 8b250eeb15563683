#pragma once

#include "study/views/StudyHostedPage.h"
#include "study/views/StudyPageFactories.h"
#include "study/views/StudySessionView.h"

namespace qv::study {

// The learn session of one set, as the workspace hosts it on a full page and
// a set page in its Learn and Review modes: always the study style in focus
// mode.
class StudySessionPage final : public StudyHostedPage {
    Q_OBJECT
public:
    StudySessionPage(const StudySessionServices &services, const StudyProject &project, StudySessionActions actions,
                     QWidget *parent = nullptr);

    // Kept for the next appearance only: a running session never takes a
    // newer copy of its set mid-way.
    void setProject(const StudyProject &project) override { m_project = project; }
    void restart(const StudyProject &project) override;

    const StudyProject &project() const { return m_project; }
    StudySessionView *view() const { return m_view; }

private:
    StudyProject m_project;
    StudySessionView *m_view;
};

// The factory of the session page; the services must outlive every page built.
StudySessionFactory studySessionPageFactory(const StudySessionServices &services);

} // namespace qv::study
