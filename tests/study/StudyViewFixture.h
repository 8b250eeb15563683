#pragma once

#include "state/FakeWorkspace.h"
#include "state/ScriptedFetcher.h"
#include "state/TestAppEnvironment.h"

#include "core/VirtualScheduler.h"
#include "core/WallClock.h"
#include "model/AppConfig.h"
#include "platform/Permissions.h"
#include "services/ScriptedTransport.h"
#include "state/AppState.h"
#include "state/Library.h"
#include "state/Preferences.h"
#include "study/views/StudyPageFactories.h"
#include "theme/CustomWindow.h"
#include "theme/MotionSettings.h"
#include "theme/QVBackground.h"
#include "theme/ThemeEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace qv::test {

// A view on the application's background, as the dashboard hosts it.
class Backdrop : public QVBackground {
public:
    explicit Backdrop(QWidget *content, QSize size = {960, 760})
    {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(24, 24, 24, 24);
        layout->addWidget(content);
        resize(size);
    }
};

// A hosted page or inline pane that records what its host hands it and keeps
// its actions so a test can call them as the real one would.
template <typename Base>
class Recorder final : public Base {
public:
    Recorder(const StudyProject &initial, QWidget *parent) : Base(parent), initial(initial)
    {
        this->setMinimumHeight(120);
        (new QVBoxLayout(this))->addWidget(new QLabel(initial.title));
    }
    void setProject(const StudyProject &p) override { pushed << p; }
    void restart(const StudyProject &p) override { restarts << p; }

    StudyProject initial;
    QList<StudyProject> pushed;
    QList<StudyProject> restarts;
    study::StudyDetailActions detail;
    study::StudySessionActions session;
    study::StudyQuizActions quiz;
};

// A whole application state on a virtual clock with an in-memory preference
// store and its data folder in a temporary directory.
class StudyViewTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    VirtualScheduler scheduler;
    FixedWallClock clock{QDateTime(QDate(2026, 12, 6), QTime(10, 15, 0), Qt::UTC), &scheduler};
    MotionSettings motion;
    ThemeEnvironment theme{scheduler, motion};
    state::Preferences prefs;
    FakeWorkspace workspace;
    GrantedPermissions permissions;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>(scheduler);
    std::shared_ptr<ScriptedFetcher> fetcher = std::make_shared<ScriptedFetcher>(scheduler);
    std::unique_ptr<state::AppState> app;

    void SetUp() override
    {
        state::AppStateEnvironment env = testAppEnvironment(scheduler, clock, prefs, workspace, permissions, dir,
                                                            transport, fetcher);
        env.version = "1.2.0";
        app = std::make_unique<state::AppState>(env);
        scheduler.advance(0);
    }

    void TearDown() override
    {
        closeWindows();
        settle();
        app.reset();
    }

    static void closeWindows()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *window = qobject_cast<CustomWindow *>(w))
                delete window;
    }

    // Delivers what the views posted (refreshes, deferred deletions).
    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // Whether `inner` lies whole inside `outer` at no less than its minimum
    // height: nothing of it is cut off or squeezed by an inner viewport.
    static bool showsWhole(const QWidget *outer, const QWidget *inner)
    {
        const QRect placed(inner->mapTo(outer, QPoint(0, 0)), inner->size());
        return inner->isVisible() && outer->rect().contains(placed)
               && inner->height() >= inner->minimumSizeHint().height();
    }

    static StudyItem card(const QString &term, const QString &definition, qint64 right = 0, qint64 wrong = 0)
    {
        return {QUuid::createUuid(), term, definition, right, wrong, std::nullopt, false};
    }

    // `n` cards, "term 1" to "term n".
    static QList<StudyItem> cards(int n)
    {
        QList<StudyItem> out;
        for (int i = 1; i <= n; ++i)
            out << card(QStringLiteral("term %1").arg(i), QStringLiteral("definition %1").arg(i));
        return out;
    }

    static StudyProject makeSet(const QString &title, int minute, QList<StudyItem> items = {})
    {
        return {QUuid::createUuid(), title, "11",
                std::move(items),    {},    QDateTime(QDate(2026, 12, 1), QTime(9, minute), Qt::UTC)};
    }

    StudyProject storedSet(const QUuid &id) const
    {
        for (const StudyProject &p : app->studyProjects())
            if (p.id == id)
                return p;
        ADD_FAILURE() << "set not stored";
        return {};
    }
    bool isStored(const QUuid &id) const
    {
        const QList<StudyProject> all = app->studyProjects();
        return std::any_of(all.begin(), all.end(), [&](const StudyProject &p) { return p.id == id; });
    }

    // The button of `box` reading `text`, if both exist.
    static QAbstractButton *buttonIn(QMessageBox *box, const QString &text)
    {
        for (QAbstractButton *b : box ? box->buttons() : QList<QAbstractButton *>())
            if (b->text() == text)
                return b;
        return nullptr;
    }

    static void click(QAbstractButton *button)
    {
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        button->click();
    }

    static QString screenshotDir()
    {
        const QString d = QStringLiteral(QUORVEL_SCREENSHOT_DIR);
        QDir().mkpath(d);
        return d;
    }

    // Saves a grab of `w` once the clock has run past every fade.
    void saveShot(QWidget &w, const QString &name, qint64 advanceMs = 1000)
    {
        scheduler.advance(advanceMs);
        const QImage image = w.grab().toImage();
        EXPECT_FALSE(image.isNull());
        EXPECT_TRUE(image.save(screenshotDir() + "/" + name + ".png")) << name.toStdString();
    }
};

} // namespace qv::test
