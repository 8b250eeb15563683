#pragma once

#include "study/views/StudyHostedPage.h"
#include "study/views/StudySessionView.h"

namespace qv::study {

// The full-page learn session of one set, as the study workspace hosts it:
// always the study style in focus mode.
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

// Builds the full-page session; bind the services to get the workspace's
// session factory.
StudyHostedPage *makeStudySessionPage(const StudySessionServices &services, const StudyProject &project,
                                      StudySessionActions actions, QWidget *parent);
// The factory the study workspace calls for its full-page session.
std::function<StudyHostedPage *(const StudyProject &, StudySessionActions, QWidget *)>
studySessionPageFactory(const StudySessionServices &services);

} // namespace qv::study
