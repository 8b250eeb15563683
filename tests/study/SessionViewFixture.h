#pragma once

#include "StudyViewFixture.h"

#include "core/Random.h"
#include "study/views/StudyChoiceRow.h"
#include "study/views/StudyQuestionCard.h"
#include "study/views/StudySessionView.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"

#include <QTest>

#include <memory>

namespace qv::test {

// A session view over a whole application state, recording every callback.
class SessionViewTest : public StudyViewTest {
protected:
    SeededRandom random{7};
    QList<StudyProject> updates;
    int closes = 0;
    int resets = 0;
    std::unique_ptr<study::StudySessionView> view;

    study::StudySessionServices services() { return {app.get(), &random, &clock, &scheduler}; }

    study::StudySessionActions actions()
    {
        study::StudySessionActions a;
        a.onClose = [this] { ++closes; };
        a.onUpdate = [this](const StudyProject &p) { updates.append(p); };
        a.onReset = [this] { ++resets; };
        return a;
    }

    study::StudySessionView &make(const StudyProject &set, bool focus = true,
                                  study::StudySessionStyle style = study::StudySessionStyle::study)
    {
        view = std::make_unique<study::StudySessionView>(services(), set, style, focus, actions());
        view->resize(720, 620);
        view->show();
        return *view;
    }

    void TearDown() override
    {
        view.reset();
        StudyViewTest::TearDown();
    }

    // A set asked in term order with the given question types.
    static StudyProject typedSet(QList<StudyItem> items, QList<StudyQuestionType> types = {StudyQuestionType::written})
    {
        StudyProject set = makeSet("Capitals", 1, std::move(items));
        set.options.shuffle = false;
        set.options.questionTypes = std::move(types);
        return set;
    }

    static StudyProject twoCapitals() { return typedSet({card("France", "Paris"), card("Japan", "Tokyo")}); }

    // Ten cards asked in term order, so a goal of ten is reachable.
    static StudyProject tenCards() { return typedSet(cards(10)); }

    study::StudyQuestionCard *qcard() const { return view->questionCard(); }
    QString currentTerm() const
    {
        const auto item = view->session().currentItem();
        return item ? item->term : QString();
    }

    // Types `text` into an emptied answer or retype field.
    void typeInto(QVLineEdit *field, void (study::StudySession::*set)(const QString &), const QString &text)
    {
        field->clear();
        (view->session().*set)({});
        QTest::keyClicks(field, text);
    }
    void typeAnswer(const QString &text)
    {
        typeInto(qcard()->answerField(), &study::StudySession::setUserAnswer, text);
    }
    void typeRetype(const QString &text)
    {
        typeInto(qcard()->retypeField(), &study::StudySession::setRetypeInput, text);
    }

    // Answers the current written question of `v` right and moves on.
    static void answerRight(study::StudySessionView &v)
    {
        v.session().setUserAnswer(v.session().correctAnswer());
        v.questionCard()->mainButton()->click();
        v.questionCard()->mainButton()->click();
    }
    void answerRight() { answerRight(*view); }
};

} // namespace qv::test
