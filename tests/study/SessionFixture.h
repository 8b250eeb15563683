#pragma once

#include "core/Random.h"
#include "core/VirtualScheduler.h"
#include "core/WallClock.h"
#include "model/StudyProject.h"
#include "study/StudySession.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv::study::test {

inline StudyItem makeCard(const QString &term, const QString &definition, qint64 right = 0, qint64 wrong = 0)
{
    return {QUuid::createUuid(), term, definition, right, wrong, std::nullopt, false};
}

inline StudyProject makeSet(QList<StudyItem> items, bool shuffle = false,
                            QList<StudyQuestionType> types = {StudyQuestionType::written})
{
    StudyProject p{QUuid::createUuid(), "Set", "11", std::move(items), {}, QDateTime(QDate(2025, 1, 1), {}, Qt::UTC)};
    p.options.shuffle = shuffle;
    p.options.questionTypes = std::move(types);
    return p;
}

// A set named `title`, last changed at the ISO date `iso`.
inline StudyProject dated(const QString &title, const QString &iso)
{
    return {QUuid::createUuid(), title, {}, {}, {}, QDateTime::fromString(iso, Qt::ISODate)};
}

// `n` cards, "term 1" to "term n".
inline QList<StudyItem> cards(int n)
{
    QList<StudyItem> out;
    for (int i = 1; i <= n; ++i)
        out << makeCard(QString("term %1").arg(i), QString("def %1").arg(i));
    return out;
}

// A set whose missed cards come back without a retype first.
inline StudyProject noRetype(QList<StudyItem> items)
{
    StudyProject p = makeSet(std::move(items));
    p.options.retypeMissed = false;
    return p;
}

// A session on the virtual clock with a recorder of every hand-back.
class SessionFixture : public ::testing::Test {
protected:
    SessionFixture() : clock(QDateTime::fromString("2026-03-01T12:00:00Z", Qt::ISODate), &scheduler) {}

    StudySession &make(Random &random, StudySessionStyle style = StudySessionStyle::study, bool focus = true)
    {
        session = std::make_unique<StudySession>(style, focus, random, clock, scheduler);
        session->setUpdateHandler([this](const StudyProject &p) { updates.append(p); });
        return *session;
    }

    StudyItem cardIn(const StudyProject &p, const QUuid &id) const
    {
        for (const StudyItem &item : p.items)
            if (item.id == id)
                return item;
        ADD_FAILURE() << "no card with that id";
        return {};
    }

    // A session with the seeded draws that has just appeared with `set`.
    StudySession &fresh(const StudyProject &set, StudySessionStyle style = StudySessionStyle::study, bool focus = true)
    {
        StudySession &s = make(seeded, style, focus);
        s.appear(set);
        return s;
    }

    QString currentTerm() const { return session->currentItem() ? session->currentItem()->term : QString(); }

    VirtualScheduler scheduler;
    FixedWallClock clock;
    SeededRandom seeded{42};
    std::unique_ptr<StudySession> session;
    QList<StudyProject> updates;
};

} // namespace qv::study::test
