#pragma once

#include "study/views/StudyHostedPage.h"
#include "study/views/StudyPageFactories.h"

#include <functional>

namespace qv {
class Random;
class WallClock;
} // namespace qv

namespace qv::study {

class StudyTestView;

// The workspace's full-page test of one set.
class StudyQuizPage final : public StudyHostedPage {
    Q_OBJECT
public:
    StudyQuizPage(const StudyProject &project, StudyQuizActions actions, Random &random, const WallClock &clock,
                  QWidget *parent = nullptr);

    void setProject(const StudyProject &project) override;

    StudyTestView *view() const { return m_view; }

private:
    StudyTestView *m_view;
};

// The workspace's `quiz` page factory: `factories.quiz = makeStudyQuizPage(random, clock)`.
// Both must outlive every page built.
std::function<StudyHostedPage *(const StudyProject &, StudyQuizActions, QWidget *)>
makeStudyQuizPage(Random &random, const WallClock &clock);

} // namespace qv::study
