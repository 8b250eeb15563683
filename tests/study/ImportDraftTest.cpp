#include "SessionFixture.h"

#include "core/Text.h"
#include "study/StudyImportDraft.h"
#include "study/StudyLibraryText.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::study;

namespace {
const QDateTime kNow = QDateTime(QDate(2026, 12, 6), QTime(10, 0), Qt::UTC);

StudyProject savedOrFail(const std::variant<StudyProject, QString> &result)
{
    if (const auto *p = std::get_if<StudyProject>(&result))
        return *p;
    ADD_FAILURE() << "not saved: " << std::get<QString>(result).toStdString();
    return {};
}

QStringList terms(const StudyProject &p)
{
    QStringList out;
    for (const StudyItem &i : p.items)
        out << i.term;
    return out;
}
} // namespace

TEST(ImportDraftTest, SaveBuildsTheSetOrSaysWhyNot)
{
    StudyImportDraft draft;
    ImportForm form;
    form.title = "   ";
    form.grade = "University";
    EXPECT_EQ(std::get<QString>(draft.prepareSave(form, std::nullopt, kNow)),
              QString("Add at least one card to save."));

    // Pasted text is read only on the Paste tab.
    form.rawText = "a,1\nb,2";
    form.mode = ImportMode::manual;
    EXPECT_TRUE(std::holds_alternative<QString>(draft.prepareSave(form, std::nullopt, kNow)));
    form.mode = ImportMode::pdf;
    EXPECT_TRUE(std::holds_alternative<QString>(draft.prepareSave(form, std::nullopt, kNow)));

    // Nothing valid pasted and no manual cards: still nothing to save.
    form.mode = ImportMode::paste;
    form.rawText = "no separator here\n,empty term";
    EXPECT_TRUE(std::holds_alternative<QString>(draft.prepareSave(form, std::nullopt, kNow)));

    draft.addManualCard("m1", "d1");
    draft.addManualCard("m2", "d2");
    form.rawText = "p1\tq1\np2 - q2\np3|q3";
    const StudyProject saved = savedOrFail(draft.prepareSave(form, std::nullopt, kNow));
    EXPECT_EQ(terms(saved), (QStringList{"m1", "m2", "p1", "p2", "p3"}));
    EXPECT_EQ(saved.title, QString("Untitled Set"));
    EXPECT_EQ(saved.grade, QString("University"));
    EXPECT_EQ(saved.options, StudyOptions{});
    EXPECT_EQ(saved.updatedAt, kNow);
    EXPECT_FALSE(saved.id.isNull());
    EXPECT_EQ(saved.items[0].id, draft.cards()[0].id);
}

TEST(ImportDraftTest, EditedSetKeepsItsIdAndTitleIsTrimmed)
{
    StudyProject existing = test::dated("Old", "2026-01-01T00:00:00Z");
    const StudyItem item = test::makeCard("t", "d", 3);
    existing.items = {item};

    StudyImportDraft draft;
    draft.load(existing);
    ASSERT_EQ(draft.cards().size(), 1);
    EXPECT_EQ(draft.cards()[0].id, item.id);

    ImportForm form;
    form.title = "  New name \u2003";
    form.grade = "9";
    const StudyProject saved = savedOrFail(draft.prepareSave(form, existing, kNow));
    EXPECT_EQ(saved.id, existing.id);
    EXPECT_EQ(saved.title, QString("New name"));
    // The draft alone carries no progress; the window restores it.
    EXPECT_EQ(saved.items[0].correctCount, 0);
}

TEST(StudyLibraryTextTest, SearchIgnoresCaseButNotAccents)
{
    EXPECT_TRUE(library::matchesSearch("Biology", ""));
    EXPECT_TRUE(library::matchesSearch("Biology", "BIO"));
    EXPECT_FALSE(library::matchesSearch("Café", "cafe"));
}

TEST(StudyLibraryTextTest, TheResumeLineWritesTheDateAsEveryUpdatedLineDoes)
{
    StudyProject set;
    set.updatedAt = QDateTime(QDate(2026, 12, 6), QTime(10, 15, 42), Qt::UTC);
    EXPECT_EQ(library::resumeMeta(set),
              "Updated " + qv::text::abbreviatedDateTime(set.updatedAt) + QString::fromUtf8(" \u2022 0 cards"));
}
