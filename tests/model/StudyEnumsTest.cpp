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

    for (const char16_t *bad : {u"Exact", u"veryLenient"})
        EXPECT_FALSE(fromRawValue<StudyGrading>(bad));
    EXPECT_FALSE(fromRawValue<StudyQuestionType>(u"multipleChoice"));
    for (const char16_t *bad : {u"", u"term "})
        EXPECT_FALSE(fromRawValue<StudyAnswerDirection>(bad));
}

TEST(StudyOptions, TheOrderOfQuestionTypesCounts)
{
    StudyOptions a, b;
    a.questionTypes = {StudyQuestionType::trueFalse, StudyQuestionType::written};
    b.questionTypes = {StudyQuestionType::written, StudyQuestionType::trueFalse};
    EXPECT_NE(a, b);
}
