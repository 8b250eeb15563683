#include "SessionViewFixture.h"

#include <QImage>

using namespace qv;
using namespace qv::study;

namespace {
using qv::test::Backdrop;

class StudySessionScreenshotTest : public qv::test::SessionViewTest {
protected:
    void shoot(const StudyProject &set, const std::function<void(StudySessionView &)> &prepare, const QString &name,
               bool focus = true, StudySessionStyle style = StudySessionStyle::study)
    {
        auto *v = new StudySessionView(services(), set, style, focus, actions());
        Backdrop backdrop(v, {760, 560});
        backdrop.show();
        prepare(*v);
        scheduler.advance(1000); // past every fade
        const QImage image = backdrop.grab().toImage();
        EXPECT_FALSE(image.isNull());
        EXPECT_TRUE(image.save(screenshotDir() + "/" + name + ".png")) << name.toStdString();
    }

    static StudyProject capitals(QList<StudyQuestionType> types)
    {
        return typedSet({card("France", "Paris"), card("Japan", "Tokyo"), card("Peru", "Lima"),
                         card("Kenya", "Nairobi & the Rift Valley")},
                        std::move(types));
    }
};

} // namespace

TEST_F(StudySessionScreenshotTest, Questions)
{
    shoot(capitals({StudyQuestionType::written}), [](StudySessionView &) {}, "study-session-written");
    shoot(capitals({StudyQuestionType::multipleChoice}), [](StudySessionView &) {}, "study-session-choice");
    shoot(typedSet({card("The Nile is the longest river in Africa", "True")}), [](StudySessionView &) {},
          "study-session-truefalse");
}

TEST_F(StudySessionScreenshotTest, ResultAndCompletion)
{
    StudyProject set = capitals({StudyQuestionType::written});
    set.options.retypeMissed = true;
    shoot(set,
          [](StudySessionView &v) {
              v.session().setUserAnswer("Lyon");
              v.questionCard()->mainButton()->click();
          },
          "study-session-result");
    QList<StudyItem> cards;
    for (int i = 0; i < 10; ++i)
        cards.append(card(QString("term %1").arg(i), QString("answer %1").arg(i)));
    shoot(typedSet(cards),
          [](StudySessionView &v) {
              for (int i = 0; i < 10; ++i) {
                  v.session().setUserAnswer(v.session().correctAnswer());
                  v.questionCard()->mainButton()->click();
                  if (i < 9)
                      v.questionCard()->mainButton()->click();
              }
          },
          "study-session-complete");
    shoot(set, [](StudySessionView &v) { v.exitButton()->click(); }, "study-session-exit");
}

TEST_F(StudySessionScreenshotTest, LayersAndQuiz)
{
    StudyProject set = capitals({StudyQuestionType::written});
    shoot(set, [](StudySessionView &) {}, "study-session-goal", false);
    shoot(set,
          [](StudySessionView &v) {
              v.session().chooseGoal(4);
              v.session().setUserAnswer("Paris");
              v.questionCard()->mainButton()->click();
              v.optionsButton()->click();
          },
          "study-session-options", false);
    shoot(set, [](StudySessionView &) {}, "study-session-quiz-setup", false, StudySessionStyle::quiz);
    shoot(set,
          [this](StudySessionView &v) {
              v.session().setQuizTimeLimit(2);
              v.session().startQuiz();
              v.session().chooseGoal(4);
              scheduler.advance(125'000);
          },
          "study-session-quiz-timeup", false, StudySessionStyle::quiz);
}
