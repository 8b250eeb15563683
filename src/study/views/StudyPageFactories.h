#pragma once

#include "model/SaveResult.h"
#include "model/StudyProject.h"

#include <QWidget>

#include <functional>

namespace qv::study {

class StudyHostedPage;

// What the set page calls back; it never changes the workspace page itself.
struct StudyDetailActions {
    std::function<void()> onBack;
    std::function<void()> onStudy;
    std::function<void()> onQuiz;
    std::function<void()> onEdit;
    std::function<void()> onDelete;
    // Every save the page made of its set (an edit, a card, progress, a
    // reset): the workspace shows one that did not reach the disk.
    std::function<void(const SaveResult &)> onSaved;
};

// What a session calls back, hosted on a full page or inside the set page.
struct StudySessionActions {
    std::function<void()> onClose;
    std::function<void(const StudyProject &)> onUpdate; // after each answer or star
    std::function<void()> onReset;                      // reset the set's progress
};

// What a test calls back, hosted on a full page or inside the set page.
struct StudyQuizActions {
    std::function<void()> onExit;
    std::function<void(const StudyProject &)> onUpdate; // the results of a submitted test
};

using StudySessionFactory =
    std::function<StudyHostedPage *(const StudyProject &, StudySessionActions, QWidget *parent)>;
using StudyQuizFactory = std::function<StudyHostedPage *(const StudyProject &, StudyQuizActions, QWidget *parent)>;
using StudyDetailFactory = std::function<StudyHostedPage *(const StudyProject &, StudyDetailActions, QWidget *parent)>;

// How the session and the test of one set are built, as full pages of the
// workspace or inside a set page's modes. The application passes the real
// ones; the defaults are small stand-ins showing the set's title and a way
// back.
struct StudyPaneFactories {
    StudySessionFactory session;
    StudyQuizFactory quiz;

    static StudyPaneFactories standIns();
};

// How the workspace builds the pages of one set: the set page besides the
// full-page session and test.
struct StudyPageFactories : StudyPaneFactories {
    StudyDetailFactory detail;

    static StudyPageFactories standIns();
};

} // namespace qv::study
