#pragma once

#include "study/views/StudyInlinePane.h"
#include "study/views/StudySessionView.h"

namespace qv::study {

// The learn session inside a set page (its Learn and Review modes): the same
// session view, in the study style with focus mode on.
class StudyInlineSession final : public StudyInlinePane {
    Q_OBJECT
public:
    StudyInlineSession(const StudySessionServices &services, const StudyProject &project,
                       StudySessionActions actions, QWidget *parent = nullptr);

    // Kept for the next appearance only, like the full-page session.
    void setProject(const StudyProject &project) override { m_project = project; }
    void restart(const StudyProject &project) override;

    const StudyProject &project() const { return m_project; }
    StudySessionView *view() const { return m_view; }

private:
    StudyProject m_project;
    StudySessionView *m_view;
};

// Builds the inline session of a set page. onClose is the page's exit
// handler, onUpdate its update handler and onReset its reset callback.
StudyInlinePane *makeInlineStudySession(const StudySessionServices &services, const StudyProject &project,
                                        StudySessionActions actions, QWidget *parent);

} // namespace qv::study
