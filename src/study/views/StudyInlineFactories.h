#pragma once

#include "study/views/StudyInlinePane.h"
#include "study/views/StudyPageFactories.h"

#include <functional>

namespace qv::study {

// How a set's page builds the panes it hosts in its Learn/Review and Test
// modes. The application passes the real session and test; the defaults are
// small stand-ins.
struct StudyInlineFactories {
    std::function<StudyInlinePane *(const StudyProject &, StudySessionActions, QWidget *parent)> session;
    std::function<StudyInlinePane *(const StudyProject &, StudyQuizActions, QWidget *parent)> test;

    static StudyInlineFactories standIns();
};

} // namespace qv::study
