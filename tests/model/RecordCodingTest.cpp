#include "model/RecordCoding.h"

#include "ModelFixtures.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;
using coding::decodeProjects;
using coding::decodeStudyProjects;
using coding::encodeProjects;
using coding::encodeStudyProjects;

namespace {

const QDateTime kNow = utc(2026, 12, 6, 10, 15, 0, 250);

const char *kProjectMinimal =
    R"({"id":"3f2504e0-4f89-11d3-9a0c-0305e82c3301","title":"T","text":"x","wpm":60,"grade":"12","review":"light")";

// Decodes `[object]` as projects; the object text is given without its closing brace
// so tests can add members.
coding::DecodeResult<Project> project(const QString &object)
{
    return decodeProjects(QStringLiteral("[%1]").arg(object).toUtf8(), kNow);
}

coding::DecodeResult<Project> projectWith(const char *extra)
{
    return project(QString::fromUtf8(kProjectMinimal) + QString::fromUtf8(extra) + u'}');
}

const char *kSetMinimal = R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","title":"Bio","grade":"11")";
const char *kOptions =
    R"({"answerDirection":"term","shuffle":false,"onlyStarred":true,"grading":"exact","retypeMissed":false,"questionTypes":["true_false","written"]})";

coding::DecodeResult<StudyProject> setWith(const QString &extra)
{
    return decodeStudyProjects(QStringLiteral("[%1%2}]").arg(QString::fromUtf8(kSetMinimal), extra).toUtf8(), kNow);
}

QString card(const char *members)
{
    return QStringLiteral(R"(,"items":[{"id":"A0B1C2D3-E4F5-4617-8899-AABBCCDDEEFF","term":"t","definition":"d"%1}])")
        .arg(QString::fromUtf8(members));
}

} // namespace

TEST(RecordWriting, ProjectFileMatchesTheReferenceBytes)
{
    Project p = essayOne();
    p.updatedAt = p.updatedAt.addMSecs(870); // the fraction is dropped, not rounded
    const auto out = encodeProjects({p});
    ASSERT_TRUE(out);
    EXPECT_EQ(bytes(*out), QStringLiteral(R"([
  {
    "grade" : "12",
    "humanize" : true,
    "id" : "3F2504E0-4F89-11D3-9A0C-0305E82C3301",
    "isAI" : false,
    "review" : "medium",
    "text" : "Line one\nA\/B \"q\"",
    "title" : "Essay 1",
    "updatedAt" : "2025-03-01T14:05:09Z",
    "wpm" : 60
  }
])"));
}

TEST(RecordWriting, CardsWithAndWithoutReviewTimeAndAwkwardCharacters)
{
    const auto out = encodeStudyProjects({cellsSet()});
    ASSERT_TRUE(out);
    EXPECT_EQ(bytes(*out), QString::fromUtf8(R"json([
  {
    "grade" : "University",
    "id" : "6F9619FF-8B86-D011-B42D-00C04FC964FF",
    "items" : [
      {
        "correctCount" : 3,
        "definition" : "Powerhouse of the cell",
        "id" : "A0B1C2D3-E4F5-4617-8899-AABBCCDDEEFF",
        "incorrectCount" : 1,
        "isStarred" : true,
        "lastReviewedAt" : "2025-02-28T23:59:59Z",
        "term" : "Mitochondria"
      },
      {
        "correctCount" : 0,
        "definition" : "quoted",
        "id" : "00000000-0000-4000-8000-000000000001",
        "incorrectCount" : 0,
        "isStarred" : false,
        "term" : "say \"hi\" \\ a\/b\tx\u0001y 🧬"
      }
    ],
    "options" : {
      "answerDirection" : "definition",
      "grading" : "very_lenient",
      "onlyStarred" : false,
      "questionTypes" : [
        "true_false",
        "written"
      ],
      "retypeMissed" : true,
      "shuffle" : false
    },
    "title" : "Cells",
    "updatedAt" : "2025-03-01T14:05:09Z"
  }
])json"));
}

TEST(RecordWriting, EmptyListsAndArraysUseTheBlankLineForm)
{
    EXPECT_EQ(*encodeProjects({}), QByteArray("[\n\n]"));
    EXPECT_EQ(*encodeStudyProjects({}), QByteArray("[\n\n]"));
    StudyProject s = cellsSet();
    s.items.clear();
    s.options.questionTypes.clear();
    const QByteArray out = *encodeStudyProjects({s});
    EXPECT_TRUE(out.contains("\"items\" : [\n\n    ],\n")) << out.constData();
    EXPECT_TRUE(out.contains("\"questionTypes\" : [\n\n      ],\n")) << out.constData();
}

TEST(RecordWriting, AnInvalidDateFailsTheWholeEncoding)
{
    Project bad = essayOne();
    bad.updatedAt = QDateTime();
    QString error;
    EXPECT_FALSE(encodeProjects({essayOne(), bad}, &error));
    EXPECT_TRUE(error.contains(u"[1]")) << error.toStdString();

    StudyProject s = cellsSet();
    s.items[1].lastReviewedAt = QDateTime();
    EXPECT_FALSE(encodeStudyProjects({s}, &error));
    EXPECT_TRUE(error.contains(u"items[1]")) << error.toStdString();
}

TEST(RecordRoundTrip, EveryFieldSurvives)
{
    Project a = essayOne();
    Project b = essayOne();
    b.id = QUuid::createUuid();
    b.title = QString::fromUtf8("Ünïcödé \xF0\x9F\x98\x80 \u2028 line");
    b.text = QString::fromUtf8("tabs\tand\r\nbreaks\x7F\x1F/\\\"");
    b.wpm = std::numeric_limits<qint64>::min();
    b.isAI = true;
    b.humanize = false;
    b.grade = QString();
    b.review = QStringLiteral("heavy");
    b.updatedAt = utc(1999, 12, 31, 23, 59, 58);
    const QList<Project> projects{a, b};
    const auto decoded = decodeProjects(*encodeProjects(projects), kNow);
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    EXPECT_EQ(*decoded.records, projects);

    StudyProject s = cellsSet();
    s.items[0].correctCount = std::numeric_limits<qint64>::max();
    s.items[0].incorrectCount = -3;
    StudyProject empty;
    empty.id = QUuid::createUuid();
    empty.updatedAt = utc(2025, 1, 1, 0, 0, 0);
    empty.options.questionTypes.clear();
    const QList<StudyProject> sets{s, empty};
    const auto decodedSets = decodeStudyProjects(*encodeStudyProjects(sets), kNow);
    ASSERT_TRUE(decodedSets.ok()) << decodedSets.error.toStdString();
    EXPECT_EQ(*decodedSets.records, sets);
}

TEST(RecordRoundTrip, UnknownKeysAreIgnoredAndNotWrittenBack)
{
    const auto decoded = projectWith(R"(,"colour":"red","isAI":true,"nested":{"a":[1,2]})");
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    const QByteArray out = *encodeProjects(*decoded.records);
    EXPECT_FALSE(out.contains("colour"));
    EXPECT_FALSE(out.contains("nested"));
    EXPECT_TRUE(decoded.records->at(0).isAI);
}

TEST(ProjectReading, MissingOptionalKeysTakeTheirDefaults)
{
    const auto r = projectWith("");
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const Project &p = r.records->at(0);
    EXPECT_EQ(p.id, uuid("3F2504E0-4F89-11D3-9A0C-0305E82C3301")); // lower case is read
    EXPECT_FALSE(p.isAI);
    EXPECT_FALSE(p.humanize);
    EXPECT_EQ(p.updatedAt, kNow);
    EXPECT_EQ(p.wpm, 60);

    // Null counts as absent for the optional keys.
    const auto nulls = projectWith(R"(,"isAI":null,"humanize":null,"updatedAt":null)");
    ASSERT_TRUE(nulls.ok()) << nulls.error.toStdString();
    EXPECT_FALSE(nulls.records->at(0).isAI);
    EXPECT_EQ(nulls.records->at(0).updatedAt, kNow);
}

TEST(ProjectReading, EachRequiredKeyIsRequired)
{
    const QString full = QString::fromUtf8(kProjectMinimal) + u'}';
    for (const char *key : {"id", "title", "text", "wpm", "grade", "review"}) {
        QString without = full;
        // Drop `"key":value` by renaming the key, which leaves an unknown key behind.
        without.replace(QStringLiteral("\"%1\":").arg(QLatin1String(key)),
                        QStringLiteral("\"x%1\":").arg(QLatin1String(key)));
        const auto r = project(without);
        EXPECT_FALSE(r.ok()) << key;
        EXPECT_TRUE(r.error.contains(QLatin1String(key))) << r.error.toStdString();
        // A repeated key takes its last value: here null.
        EXPECT_FALSE(projectWith((",\"" + std::string(key) + "\":null").c_str()).ok()) << key;
    }
}

TEST(ProjectReading, WrongTypesFail)
{
    for (const char *bad :
         {R"(,"wpm":"60")", R"(,"wpm":60.5)", R"(,"wpm":true)", R"(,"wpm":9223372036854775808)", R"(,"wpm":1e19)",
          R"(,"isAI":1)", R"(,"isAI":"true")", R"(,"humanize":[])", R"(,"grade":12)", R"(,"updatedAt":1740837909)",
          R"(,"updatedAt":"yesterday")", R"(,"updatedAt":"2025-03-01")",
          R"(,"id":"3F2504E0-4F89-11D3-9A0C-0305E82C330")", R"(,"id":"{3F2504E0-4F89-11D3-9A0C-0305E82C3301}")",
          R"(,"id":42)", R"(,"title":{"a":1})"}) {
        EXPECT_FALSE(projectWith(bad).ok()) << bad;
    }
}

TEST(ProjectReading, ExactNumbersDateVariantsAndRepeatedKeysAreAccepted)
{
    const std::pair<const char *, qint64> wpms[] = {
        {R"(,"wpm":60.0)", 60},
        {R"(,"wpm":6e1)", 60},
        {R"(,"wpm":-9223372036854775808)", std::numeric_limits<qint64>::min()},
        {R"(,"wpm":9007199254740993)", 9007199254740993LL}, // beyond double precision
        {R"(,"wpm":"sixty","wpm":75)", 75},                 // a repeated key takes its last value
    };
    for (const auto &[extra, wpm] : wpms) {
        const auto r = projectWith(extra);
        ASSERT_TRUE(r.ok()) << extra << ": " << r.error.toStdString();
        EXPECT_EQ(r.records->at(0).wpm, wpm) << extra;
    }
    auto r = projectWith(R"(,"title":"second","updatedAt":"2025-03-01T15:05:09.25+01:00")");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.records->at(0).title, QStringLiteral("second"));
    EXPECT_EQ(r.records->at(0).updatedAt, utc(2025, 3, 1, 14, 5, 9, 250));
}

TEST(ProjectReading, NotAnArrayNotJsonOrOneBadRecordFailsTheWholeFile)
{
    const QByteArray good = *encodeProjects({essayOne(), essayOne(), essayOne()});
    QByteArray broken = good;
    broken.replace(broken.lastIndexOf("\"title\""), 7, "\"titel\"");
    const auto r = decodeProjects(broken, kNow);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.error.contains(u"[2].title")) << r.error.toStdString();

    for (const char *bad : {"", "{}", "null", "42", "[", "[1]", "[{}", "[{},]", "[] []", "\"[]\"", "[null]"})
        EXPECT_FALSE(decodeProjects(QByteArray(bad), kNow).ok()) << bad;
    EXPECT_FALSE(decodeProjects(QByteArray("[{\"title\":\"\xC3\x28\"}]"), kNow).ok()); // ill-formed UTF-8
    // Strict strings: raw control characters and lone surrogate escapes are not JSON.
    EXPECT_FALSE(projectWith(",\"title\":\"tab\there\"").ok());
    EXPECT_FALSE(projectWith(R"(,"title":"half \ud800 pair")").ok());
    const auto pair = projectWith(R"(,"title":"\ud83d\ude00 \u0000")");
    ASSERT_TRUE(pair.ok()) << pair.error.toStdString();
    EXPECT_EQ(pair.records->at(0).title, QString::fromUtf8("\xF0\x9F\x98\x80 ") + QChar(0));
    const auto empty = decodeProjects(QByteArray(" [ ] "), kNow);
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty.records->isEmpty());
    EXPECT_TRUE(decodeProjects(QByteArray("\xEF\xBB\xBF[]"), kNow).ok()); // a byte-order mark is skipped
}

TEST(RecordEquality, ComparesEveryFieldCardAndOptionAndExactInstants)
{
    Project a = essayOne();
    Project b = a;
    EXPECT_EQ(a, b);
    b.updatedAt = a.updatedAt.addMSecs(1);
    EXPECT_NE(a, b);
    b = a;
    b.updatedAt = a.updatedAt.toOffsetFromUtc(3600); // same instant, other zone
    EXPECT_EQ(a, b);
    b = a;
    b.review = QStringLiteral("heavy");
    EXPECT_NE(a, b);

    // Cards and options take part in a set's equality.
    const StudyProject s = cellsSet();
    StudyProject t = s;
    EXPECT_EQ(s, t);
    t.items[1].lastReviewedAt = utc(2025, 1, 1, 0, 0, 0);
    EXPECT_NE(s, t); // one absent, one present
    t = s;
    std::swap(t.items[0], t.items[1]);
    EXPECT_NE(s, t);
    t = s;
    t.options.onlyStarred = true;
    EXPECT_NE(s, t);
}

TEST(StudySetReading, OnlyTheRequiredKeysAreNeededForAnEmptySetWithDefaultOptions)
{
    const auto r = setWith(QString());
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const StudyProject &s = r.records->at(0);
    EXPECT_TRUE(s.items.isEmpty());
    EXPECT_EQ(s.options, StudyOptions());
    EXPECT_EQ(s.updatedAt, kNow);
    EXPECT_EQ(setWith(QStringLiteral(R"(,"items":null,"options":null,"updatedAt":null)")).records->at(0).options,
              StudyOptions());

    // Each required key of the set, and containers of the wrong kind.
    EXPECT_FALSE(decodeStudyProjects(R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","title":"Bio"}])", kNow).ok());
    EXPECT_FALSE(decodeStudyProjects(R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","grade":"1"}])", kNow).ok());
    EXPECT_FALSE(decodeStudyProjects(R"([{"title":"Bio","grade":"1"}])", kNow).ok());
    EXPECT_FALSE(decodeStudyProjects(R"([{"id":null,"title":"Bio","grade":"1"}])", kNow).ok());
    EXPECT_FALSE(setWith(QStringLiteral(R"(,"items":{})")).ok());
    EXPECT_FALSE(setWith(QStringLiteral(R"(,"items":[1])")).ok());
    EXPECT_FALSE(setWith(QStringLiteral(R"(,"options":[])")).ok());
}

TEST(StudySetReading, OptionsAreReadWholeOrNotAtAll)
{
    auto r = setWith(QStringLiteral(",\"options\":%1").arg(QString::fromUtf8(kOptions)));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const StudyOptions &o = r.records->at(0).options;
    EXPECT_EQ(o.answerDirection, StudyAnswerDirection::term);
    EXPECT_FALSE(o.shuffle);
    EXPECT_TRUE(o.onlyStarred);
    EXPECT_EQ(o.grading, StudyGrading::exact);
    EXPECT_FALSE(o.retypeMissed);
    EXPECT_EQ(o.questionTypes, QList<StudyQuestionType>({StudyQuestionType::trueFalse, StudyQuestionType::written}));

    // Each of the six keys is required inside "options": never completed from defaults.
    for (const char *key : {"answerDirection", "shuffle", "onlyStarred", "grading", "retypeMissed", "questionTypes"}) {
        QString options = QString::fromUtf8(kOptions);
        options.replace(QStringLiteral("\"%1\"").arg(QLatin1String(key)), QStringLiteral("\"other\""));
        r = setWith(QStringLiteral(",\"options\":%1").arg(options));
        EXPECT_FALSE(r.ok()) << key;
        EXPECT_TRUE(r.error.contains(QStringLiteral("options.%1").arg(QLatin1String(key)))) << r.error.toStdString();
    }
    // Empty question types are kept empty.
    QString options = QString::fromUtf8(kOptions);
    options.replace(QStringLiteral(R"(["true_false","written"])"), QStringLiteral("[]"));
    r = setWith(QStringLiteral(",\"options\":%1").arg(options));
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.records->at(0).options.questionTypes.isEmpty());

    // Unknown enum values fail the set.
    for (const auto &[from, to] : std::initializer_list<std::pair<const char *, const char *>>{
             {R"("grading":"exact")", R"("grading":"strict")"},
             {R"("grading":"exact")", R"("grading":"veryLenient")"},
             {R"("answerDirection":"term")", R"("answerDirection":"both")"},
             {R"("true_false")", R"("essay")"},
             {R"("true_false")", R"(null)"},
             {R"("grading":"exact")", R"("grading":null)"}}) {
        QString options = QString::fromUtf8(kOptions);
        options.replace(QString::fromUtf8(from), QString::fromUtf8(to));
        EXPECT_FALSE(setWith(QStringLiteral(",\"options\":%1").arg(options)).ok()) << to;
    }
}

TEST(StudySetReading, CardsDefaultTheirCountersAndStar)
{
    auto r = setWith(card(""));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const StudyItem &c = r.records->at(0).items.at(0);
    EXPECT_EQ(c.correctCount, 0);
    EXPECT_EQ(c.incorrectCount, 0);
    EXPECT_FALSE(c.lastReviewedAt);
    EXPECT_FALSE(c.isStarred);

    r = setWith(card(R"(,"lastReviewedAt":null,"correctCount":null,"isStarred":null)"));
    ASSERT_TRUE(r.ok());
    EXPECT_FALSE(r.records->at(0).items.at(0).lastReviewedAt);

    r = setWith(card(R"(,"lastReviewedAt":"2025-03-01T14:05:09.999Z","correctCount":2.0,"isStarred":true)"));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.records->at(0).items.at(0).lastReviewedAt, utc(2025, 3, 1, 14, 5, 9, 999));
    EXPECT_EQ(r.records->at(0).items.at(0).correctCount, 2);
}

TEST(StudySetReading, ABrokenCardFailsTheSetAndTheFile)
{
    for (const char *bad : {R"(,"correctCount":"1")", R"(,"lastReviewedAt":"2025-03-01")", R"(,"isStarred":0)",
                            R"(,"term":null)", R"(,"id":"not-a-uuid")"}) {
        const auto r = setWith(card(bad));
        EXPECT_FALSE(r.ok()) << bad;
        EXPECT_TRUE(r.error.startsWith(u"[0].items[0]")) << r.error.toStdString();
    }
    EXPECT_FALSE(
        decodeStudyProjects(
            R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","title":"Bio","grade":"11","items":[{"id":"A0B1C2D3-E4F5-4617-8899-AABBCCDDEEFF","term":"t"}]}])",
            kNow)
            .ok());
}
