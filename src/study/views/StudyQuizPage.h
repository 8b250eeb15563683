#pragma once

#include "study/views/StudyHostedPage.h"
#include "study/views/StudyPageFactories.h"

namespace qv {
class Random;
class WallClock;
} // namespace qv

namespace qv::study {

class StudyTestView;

// The test of one set, as the workspace hosts it on a full page and a set
// page in its Test mode.
class StudyQuizPage final : public StudyHostedPage {
    Q_OBJECT
public:
    StudyQuizPage(const StudyProject &project, StudyQuizActions actions, Random &random, const WallClock &clock,
                  QWidget *parent = nullptr);

    void setProject(const StudyProject &project) override;
    // A fresh test of the given set.
    void restart(const StudyProject &project) override;

    StudyTestView *view() const { return m_view; }

private:
    StudyTestView *m_view;
};

// The factory of the test page; `random` and `clock` must outlive every page built.
StudyQuizFactory studyQuizPageFactory(Random &random, const WallClock &clock);

} // namespace qv::study
