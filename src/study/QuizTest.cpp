#include "study/QuizTest.h"

#include "core/Random.h"
#include "core/Text.h"
#include "core/WallClock.h"
#include "study/Counters.h"
#include "study/Grading.h"
#include "study/Shuffle.h"

#include <QSet>

#include <algorithm>

namespace qv::study {

QuizTest::QuizTest(Random &random, const WallClock &clock) : m_random(random), m_clock(clock) {}

bool QuizTest::isBooleanAnswer(const QString &text)
{
    const QString n = text::trimmed(text).toLower();
    return n == u"true" || n == u"false";
}

QList<QuizQuestion> QuizTest::makeQuestions(const StudyProject &project, Random &random)
{
    if (project.items.isEmpty())
        return {};
    QList<StudyItem> cards = project.items;
    shuffleInPlace(cards, random);

    QStringList pool;
    for (const StudyItem &item : project.items)
        if (!isBooleanAnswer(item.definition))
            pool.append(item.definition);

    QList<QuizQuestion> questions;
    // Each question from a different card: a hand-edited file may repeat an id,
    // and two questions must not write into one card.
    QSet<QUuid> taken;
    for (const StudyItem &card : std::as_const(cards)) {
        if (questions.size() >= kMaxQuestions)
            break;
        if (taken.contains(card.id))
            continue;
        taken.insert(card.id);
        QuizQuestion q;
        q.id = card.id;
        q.prompt = card.term;
        if (isBooleanAnswer(card.definition)) {
            q.isTrueFalse = true;
            q.correct = text::trimmed(card.definition).toLower() == u"true" ? QStringLiteral("True")
                                                                            : QStringLiteral("False");
            q.choices = {QStringLiteral("True"), QStringLiteral("False")};
        } else {
            q.correct = card.definition;
            QStringList distractors = pool;
            shuffleInPlace(distractors, random);
            q.choices = {q.correct};
            appendDistinctChoices(q.choices, distractors, 4);
            shuffleInPlace(q.choices, random);
        }
        questions.append(q);
    }
    return questions;
}

StudyProject QuizTest::applyResults(StudyProject project, const QList<QuizQuestion> &questions, const QDateTime &now)
{
    for (const QuizQuestion &q : questions) {
        auto it = std::find_if(project.items.begin(), project.items.end(),
                               [&](const StudyItem &item) { return item.id == q.id; });
        if (it == project.items.end())
            continue;
        if (q.isCorrect.value_or(false))
            it->correctCount = saturatingAdd(it->correctCount, 1);
        else
            it->incorrectCount = saturatingAdd(it->incorrectCount, 1);
        it->lastReviewedAt = now;
    }
    project.updatedAt = now;
    return project;
}

void QuizTest::begin()
{
    m_submitted = false;
    m_questions = makeQuestions(m_project, m_random);
}

void QuizTest::select(const QString &option, qsizetype index)
{
    // The option buttons are disabled once the test is judged.
    if (m_submitted || index < 0 || index >= m_questions.size())
        return;
    m_questions[index].selected = option;
}

void QuizTest::submit()
{
    for (QuizQuestion &q : m_questions)
        q.isCorrect = q.selected.has_value() && *q.selected == q.correct;
    m_submitted = true;
    // Keep what was handed on until the owner pushes the stored set: a retake
    // taken before that push must not write the old counters back. Assigned
    // first, so a push made from inside the handler wins.
    m_project = applyResults(m_project, m_questions, m_clock.nowUtc());
    if (m_onUpdate) {
        const StudyProject handed = m_project; // the handler may push a new set
        m_onUpdate(handed);
    }
}

void QuizTest::pressMain()
{
    if (m_submitted)
        begin();
    else
        submit();
}

QString QuizTest::mainButtonTitle() const
{
    return m_submitted ? QStringLiteral("Retake Quiz") : QStringLiteral("Submit");
}

qsizetype QuizTest::answeredCount() const
{
    return std::count_if(m_questions.begin(), m_questions.end(),
                         [](const QuizQuestion &q) { return q.selected.has_value(); });
}

qsizetype QuizTest::score() const
{
    return std::count_if(m_questions.begin(), m_questions.end(),
                         [](const QuizQuestion &q) { return q.isCorrect.value_or(false); });
}

double QuizTest::progressFraction() const
{
    return m_questions.isEmpty() ? 0.0 : double(answeredCount()) / double(m_questions.size());
}

QString QuizTest::subtitle() const
{
    return m_submitted ? QStringLiteral("Review your answers") : QStringLiteral("Answer every question, then submit");
}

QString QuizTest::answeredLabel() const
{
    return QStringLiteral("%1/%2 answered").arg(answeredCount()).arg(m_questions.size());
}

QString QuizTest::questionCountLabel() const { return QStringLiteral("%1 Questions").arg(m_questions.size()); }

QString QuizTest::scoreLabel() const { return QStringLiteral("Score: %1/%2").arg(score()).arg(m_questions.size()); }

QString QuizTest::numberLabel(qsizetype index) { return QStringLiteral("Q%1").arg(index + 1); }

QString QuizTest::correctLine(const QuizQuestion &q) { return QStringLiteral("Correct: ") + q.correct; }

QuizTest::Tint QuizTest::tint(const QString &option, const QuizQuestion &q) const
{
    if (m_submitted) {
        if (option == q.correct)
            return Tint::accent;
        if (q.selected && option == *q.selected)
            return Tint::danger;
    }
    return q.selected && option == *q.selected ? Tint::surface : Tint::surfaceAlt;
}

QuizTest::Mark QuizTest::mark(const QString &option, const QuizQuestion &q) const
{
    if (!m_submitted)
        return Mark::none;
    if (option == q.correct)
        return Mark::check;
    if (q.selected && option == *q.selected)
        return Mark::cross;
    return Mark::none;
}

} // namespace qv::study
