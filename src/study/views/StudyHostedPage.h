#pragma once

#include "model/StudyProject.h"

#include <QWidget>

namespace qv::study {

// A page of one set: the set page, and the session and the test, which the
// workspace hosts as full pages and the set page inside its modes. The host
// builds one when the page's case or set changes and otherwise hands the
// existing page the newest stored copy of its set.
class StudyHostedPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The newest stored copy of the page's set. A session keeps it for its
    // next appearance and never reconfigures itself from it.
    virtual void setProject(const StudyProject &project) = 0;
    // After the set's progress was reset: start over from the stored, reset
    // set.
    virtual void restart(const StudyProject &project) { Q_UNUSED(project); }
};

} // namespace qv::study
