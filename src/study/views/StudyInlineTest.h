#pragma once

#include "study/views/StudyInlinePane.h"

#include <functional>

namespace qv {
class Random;
class WallClock;
} // namespace qv

namespace qv::study {

class StudyTestView;

// The test as a set's page hosts it in its Test mode.
class StudyInlineTest final : public StudyInlinePane {
    Q_OBJECT
public:
    StudyInlineTest(const StudyProject &project, std::function<void()> onExit,
                    std::function<void(const StudyProject &)> onUpdate, Random &random, const WallClock &clock,
                    QWidget *parent = nullptr);

    void setProject(const StudyProject &project) override;
    // A fresh test of the given set.
    void restart(const StudyProject &project) override;

    StudyTestView *view() const { return m_view; }

private:
    StudyTestView *m_view;
};

// Builds the inline test: `onExit` leaves the Test mode, `onUpdate` receives
// the set with the results of each submission. `random` and `clock` must
// outlive the pane.
StudyInlinePane *makeInlineStudyTest(const StudyProject &project, std::function<void()> onExit,
                                     std::function<void(const StudyProject &)> onUpdate, Random &random,
                                     const WallClock &clock, QWidget *parent = nullptr);

} // namespace qv::study
