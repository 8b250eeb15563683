#pragma once

#include "core/VirtualScheduler.h"
#include "core/WallClock.h"
#include "editor/EditorDraft.h"
#include "editor/EditorModel.h"
#include "model/Storage.h"
#include "platform/Permissions.h"
#include "services/ScriptedTransport.h"
#include "state/AppState.h"
#include "state/FakeWorkspace.h"
#include "state/Preferences.h"
#include "state/ScriptedFetcher.h"
#include "state/TestAppEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace qv::test {

// An application state on a virtual clock with an in-memory preference
// store and its data files in a temporary folder.
struct EditorFixture : ::testing::Test {
    QTemporaryDir dir;
    VirtualScheduler scheduler;
    FixedWallClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 15, 0), Qt::UTC), &scheduler};
    state::Preferences prefs;
    FakeWorkspace workspace;
    GrantedPermissions permissions;
    std::unique_ptr<state::AppState> app;
    int closes = 0;

    void SetUp() override
    {
        app = std::make_unique<state::AppState>(testAppEnvironment(scheduler, clock, prefs, workspace, permissions, dir,
                                                                   std::make_shared<ScriptedTransport>(scheduler),
                                                                   std::make_shared<ScriptedFetcher>(scheduler)));
        scheduler.runUntilIdle();
    }

    std::unique_ptr<editor::EditorModel> model(std::optional<Project> project = std::nullopt, bool load = true)
    {
        auto m = std::make_unique<editor::EditorModel>(*app, std::move(project), clock, [this] { ++closes; });
        if (load)
            m->load();
        return m;
    }

    std::optional<QJsonObject> draft() const { return prefs.dictionaryValue(editor::EditorDraft::key); }

    // A folder where the projects file belongs makes every write of it fail.
    void breakProjectsFile()
    {
        QFile::remove(app->storage().projectsFilePath());
        ASSERT_TRUE(QDir().mkpath(app->storage().projectsFilePath()));
    }
    void repairProjectsFile() { ASSERT_TRUE(QDir(app->storage().projectsFilePath()).removeRecursively()); }
};

inline QString words(int n, const QString &word = QStringLiteral("word"))
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << word;
    return out.join(u' ');
}

// The form's settings in one line: grade/review/mode/speed/minutes.
inline QString form(const editor::EditorModel &m)
{
    return QStringLiteral("%1/%2/%3/%4/%5").arg(m.grade(), m.review(), m.mode()).arg(m.wpm()).arg(m.totalMinutes());
}

inline Project storedProject(const QString &text, qint64 wpm)
{
    Project p;
    p.id = QUuid("{3F2504E0-4F89-11D3-9A0C-0305E82C3301}");
    p.title = "Stored";
    p.text = text;
    p.wpm = wpm;
    p.isAI = true;
    p.humanize = true;
    p.grade = "10";
    p.review = "heavy";
    p.updatedAt = QDateTime(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC);
    return p;
}

} // namespace qv::test
