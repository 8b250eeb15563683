#pragma once

#include "core/VirtualScheduler.h"
#include "core/WallClock.h"
#include "dashboard/DashboardView.h"
#include "dashboard/LayerFade.h"
#include "dashboard/PageOverlays.h"
#include "dashboard/PermissionsLayer.h"
#include "dashboard/ProfileAvatarButton.h"
#include "dashboard/ProfileIsland.h"
#include "dashboard/ProfileMenu.h"
#include "dashboard/SettingsBindings.h"
#include "dashboard/WorkspaceLayer.h"
#include "editor/ProjectEditorWindow.h"
#include "platform/sim/SimDesktop.h"
#include "services/ScriptedTransport.h"
#include "services/SupabaseSession.h"
#include "state/AppState.h"
#include "state/HttpFetcher.h"
#include "state/Preferences.h"
#include "theme/CustomWindow.h"
#include "theme/MotionSettings.h"
#include "theme/ThemeEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace qv::test {

// Answers the update feed from a script on the virtual clock; without a
// scripted answer a request stays unanswered.
class FeedFetcher final : public state::HttpFetcher {
public:
    explicit FeedFetcher(Scheduler &scheduler) : m_scheduler(scheduler) {}
    void get(const QUrl &url, Done done) override
    {
        requests << url;
        if (onGet)
            onGet();
        if (answers.isEmpty())
            return;
        m_scheduler.singleShot(10, [done, body = answers.takeFirst()] { done(body); });
    }
    QList<std::optional<QByteArray>> answers;
    QList<QUrl> requests;
    std::function<void()> onGet;

private:
    Scheduler &m_scheduler;
};

inline QByteArray updateFeed(const QString &version, const QString &url)
{
    return QStringLiteral("<rss><channel><item><title>New</title>"
                          "<sparkle:shortVersionString>%1</sparkle:shortVersionString>"
                          "<enclosure length=\"1\" url=\"%2\" type=\"application/octet-stream\"/>"
                          "</item></channel></rss>")
        .arg(version, url)
        .toUtf8();
}

inline Project makeProject(const QString &title, int minute, const QString &grade = "12",
                           const QString &review = "medium", bool isAI = false)
{
    Project p;
    p.id = QUuid::createUuid();
    p.title = title;
    p.text = "Text of " + title;
    p.wpm = 45;
    p.isAI = isAI;
    p.grade = grade;
    p.review = review;
    p.updatedAt = QDateTime(QDate(2026, 11, 1), QTime(9, minute), Qt::UTC);
    return p;
}

// A dashboard on a virtual clock and a simulated desktop, with factories
// that record what they were asked to open.
class DashboardFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    VirtualScheduler scheduler;
    FixedWallClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 0), Qt::UTC), &scheduler};
    sim::SimDesktop sim{scheduler};
    MotionSettings motion{&sim.desktop()};
    ThemeEnvironment theme{scheduler, motion};
    state::Preferences prefs;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>(scheduler);
    std::shared_ptr<FeedFetcher> fetcher = std::make_shared<FeedFetcher>(scheduler);
    std::unique_ptr<state::AppState> app;
    std::unique_ptr<dashboard::DashboardView> view;

    platform::FileChooser *fileChooser = nullptr;
    QList<std::optional<Project>> editorsOpened;
    QList<Project> panelsOpened;
    int studyBuilt = 0;
    bool realEditor = false; // the editor's own window instead of the stand-in
    // The study workspace to build instead of the stand-in, when set.
    std::function<QWidget *(state::AppState &)> studyWorkspace;

    state::AppStateEnvironment environment()
    {
        state::AppStateEnvironment env;
        env.scheduler = &scheduler;
        env.clock = &clock;
        env.preferences = &prefs;
        env.workspace = &sim.workspace();
        env.permissions = &sim.permissions();
        env.dataFolders = AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share"));
        env.backendUrl = QUrl("http://127.0.0.1:54321");
        env.backendAnonKey = "anon";
        env.backendTransport = transport;
        env.siteFetcher = fetcher;
        env.siteUrl = QUrl("http://127.0.0.1:54321");
        env.version = "1.2.0";
        return env;
    }

    dashboard::DashboardFactories factories()
    {
        dashboard::DashboardFactories f = dashboard::DashboardFactories::standIns();
        auto editor = f.editor;
        f.editor = [this, editor](state::AppState &a, const std::optional<Project> &p, std::function<void()> close) {
            editorsOpened << p;
            if (realEditor) {
                editor::EditorServices services;
                services.clock = &clock;
                return static_cast<CustomWindow *>(new editor::ProjectEditorWindow(a, p, std::move(close), services));
            }
            return editor(a, p, std::move(close));
        };
        auto panel = f.typingPanel;
        f.typingPanel = [this, panel](state::AppState &a, const Project &p, std::function<void()> close) {
            panelsOpened << p;
            return panel(a, p, std::move(close));
        };
        auto study = f.studyWorkspace;
        f.studyWorkspace = [this, study](state::AppState &a) {
            ++studyBuilt;
            return studyWorkspace ? studyWorkspace(a) : study(a);
        };
        return f;
    }

    // A stored session whose profile answers: the state object starts signed in.
    void makeSignedInApp(const QString &email = "pat@example.test")
    {
        prefs.setData(state::keys::session, SupabaseSession{"A0", "R0", "u1", email}.toJson());
        transport->respond("GET", "/rest/v1/profiles", 200,
                           QStringLiteral(R"([{"id":"u1","email":"%1"}])").arg(email).toUtf8());
        makeApp();
        scheduler.runUntil([&] { return app->isAuthenticated(); }, 10'000);
    }

    void makeApp()
    {
        if (!app)
            app = std::make_unique<state::AppState>(environment());
    }

    // Builds, shows and installs a dashboard.
    dashboard::DashboardView &makeView(QSize size = {1100, 900})
    {
        makeApp();
        dashboard::DashboardEnvironment env{&scheduler, &sim.permissions(), &sim.workspace(),
                                            QUrl("http://127.0.0.1:54321")};
        env.fileChooser = fileChooser;
        env.supportEmail = "help@quorvel.example";
        view = std::make_unique<dashboard::DashboardView>(*app, env, factories());
        view->resize(size);
        view->show();
        view->appear();
        settle();
        return *view;
    }

    void settle(double ms = 0)
    {
        scheduler.advance(ms);
        QApplication::processEvents();
    }

    // Picks the writer workspace from the picker and waits for the switch.
    void enterWriter()
    {
        view->handleModeSwitch(dashboard::DashboardMode::writer, true);
        settle(3400);
    }

    // A dashboard in the writer workspace over `projects`, stored first.
    void openWriter(const QList<Project> &projects = {})
    {
        makeApp();
        for (const Project &p : projects)
            EXPECT_TRUE(app->saveProject(p));
        makeView();
        enterWriter();
    }

    // Stores a set of `items` cards, each with a term and a definition.
    StudyProject storeStudySet(const QString &title, int items, const QString &grade = "11")
    {
        StudyProject set;
        set.id = QUuid::createUuid();
        set.title = title;
        set.grade = grade;
        set.updatedAt = clock.nowUtc();
        for (int c = 0; c < items; ++c)
            set.items.append({QUuid::createUuid(), QString("term %1").arg(c), QString("definition %1").arg(c), 0, 0,
                              std::nullopt, false});
        const SaveResult saved = app->saveStudyProject(set);
        EXPECT_TRUE(saved) << saved.reason().toStdString();
        return set;
    }

    // The rows lie one under the next in the one scrolling page, none
    // squeezed below what its lines need.
    template <typename Row>
    void expectStackedWhole(const QList<Row *> &rows) const
    {
        QWidget *page = view->workspace()->scrollView()->widget();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(i);
            const QRect placed(rows[i]->mapTo(page, QPoint()), rows[i]->size());
            EXPECT_TRUE(rows[i]->isVisible() && page->rect().contains(placed));
            EXPECT_GE(rows[i]->height(), rows[i]->minimumSizeHint().height());
            if (i > 0) {
                EXPECT_GE(placed.top(), rows[i - 1]->mapTo(page, QPoint(0, rows[i - 1]->height())).y());
            }
        }
    }

    void click(QWidget *w, QPoint at = {-1, -1})
    {
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->isVisible());
        QTest::mouseClick(w, Qt::LeftButton, {}, at.x() < 0 ? w->rect().center() : at);
        QApplication::processEvents();
    }

    // A layer's fade takes 0.25 s: about halfway after 0.1 s.
    void runFade(dashboard::FadeScaleEffect *effect)
    {
        settle(100);
        EXPECT_NEAR(effect->opacity(), 0.5, 0.05);
        settle(150);
    }

    // Presses the delete alert's button named `text`.
    void answerDelete(const QString &text)
    {
        ASSERT_NE(view->deleteAlert(), nullptr);
        for (QAbstractButton *b : view->deleteAlert()->buttons())
            if (b->text() == text) {
                b->click();
                settle();
                return;
            }
        FAIL() << "no button " << text.toStdString();
    }

    QList<CustomWindow *> openWindows() const
    {
        QList<CustomWindow *> out;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *c = qobject_cast<CustomWindow *>(w); c && c->isVisible())
                out << c;
        return out;
    }

    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<CustomWindow *>(w))
                delete w;
        view.reset();
        app.reset();
    }

    static QString screenshotDir()
    {
        const QString d = QStringLiteral(QUORVEL_SCREENSHOT_DIR);
        QDir().mkpath(d);
        return d;
    }
};

} // namespace qv::test
