#pragma once

#include "model/StudyEnums.h"

#include <QList>

namespace qv {

// Session options of a study set. A default-constructed value is the default
// options a set gets when it has none stored.
struct StudyOptions {
    StudyAnswerDirection answerDirection = StudyAnswerDirection::mixed;
    bool shuffle = true;
    bool onlyStarred = false;
    StudyGrading grading = StudyGrading::lenient;
    bool retypeMissed = true;
    // Ordered: the same kinds in another order are different options.
    QList<StudyQuestionType> questionTypes{StudyQuestionType::written, StudyQuestionType::multipleChoice};

    friend bool operator==(const StudyOptions &, const StudyOptions &) = default;
};

} // namespace qv
