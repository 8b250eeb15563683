#include "model/StudyEnums.h"
#include "model/StudyOptions.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(StudyEnums, OnlyExactRawValuesRoundTripInDeclarationOrder)
{
    QStringList raws;
    for (auto c : allCases<StudyAnswerDirection>())
        raws << rawValue(c);
    for (auto c : allCases<StudyQuestionType>())
        raws << rawValue(c);
    for (auto c : allCases<StudyGrading>())
        raws << rawValue(c);
    EXPECT_EQ(raws, QStringList({"term", "definition", "mixed", "written", "multiple_choice", "true_false", "exact",
                                 "lenient", "very_lenient"}));
    for (auto c : allCases<StudyQuestionType>())
        EXPECT_EQ(fromRawValue<StudyQuestionType>(rawValue(c)), c);
    EXPECT_EQ(id(StudyQuestionType::multipleChoice), QStringLiteral("multiple_choice"));

    EXPECT_FALSE(fromRawValue<StudyGrading>(u"Exact"));
    EXPECT_FALSE(fromRawValue<StudyGrading>(u"veryLenient"));
    EXPECT_FALSE(fromRawValue<StudyQuestionType>(u"multipleChoice"));
    EXPECT_FALSE(fromRawValue<StudyAnswerDirection>(u""));
    EXPECT_FALSE(fromRawValue<StudyAnswerDirection>(u"term "));
}

TEST(StudyOptions, DefaultsAndOrderedQuestionTypes)
{
    const StudyOptions o;
    EXPECT_EQ(o.answerDirection, StudyAnswerDirection::mixed);
    EXPECT_TRUE(o.shuffle);
    EXPECT_FALSE(o.onlyStarred);
    EXPECT_EQ(o.grading, StudyGrading::lenient);
    EXPECT_TRUE(o.retypeMissed);
    EXPECT_EQ(o.questionTypes, QList<StudyQuestionType>({StudyQuestionType::written, StudyQuestionType::multipleChoice}));

    StudyOptions a, b;
    a.questionTypes = {StudyQuestionType::trueFalse, StudyQuestionType::written};
    b.questionTypes = {StudyQuestionType::written, StudyQuestionType::trueFalse};
    EXPECT_NE(a, b);
}
