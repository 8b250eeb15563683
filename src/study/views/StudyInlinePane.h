#pragma once

#include "model/StudyProject.h"

#include <QWidget>

namespace qv::study {

// A study pane hosted inside the set page (the inline session or test). The
// page pushes every newly stored copy of its set; after a reset it asks the
// pane to start over from the reset set.
class StudyInlinePane : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void setProject(const StudyProject &project) = 0;
    virtual void restart(const StudyProject &project) { Q_UNUSED(project); }
};

} // namespace qv::study
