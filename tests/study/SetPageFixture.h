#pragma once

#include "StudyViewFixture.h"

#include "study/views/StudyCapsuleLabel.h"
#include "study/views/StudyCardList.h"
#include "study/views/StudyCardRow.h"
#include "study/views/StudyCarousel.h"
#include "study/views/StudyEllipsisButton.h"
#include "study/views/StudyFlashcardView.h"
#include "study/views/StudyHostedPage.h"
#include "study/views/StudyProgressRow.h"
#include "study/views/StudyRootView.h"
#include "study/views/StudySetPage.h"
#include "study/views/StudySetPageFactory.h"
#include "theme/QVButton.h"

#include <QPointer>

#include <memory>

namespace qv::test {

using FakePane = Recorder<study::StudyHostedPage>;

class SetPageTest : public StudyViewTest {
protected:
    std::unique_ptr<study::StudyRootView> root;
    QList<QPointer<FakePane>> sessions;
    QList<QPointer<FakePane>> tests;

    void TearDown() override
    {
        root.reset();
        StudyViewTest::TearDown();
    }

    study::StudyPaneFactories fakePanes()
    {
        study::StudyPaneFactories f;
        f.session = [this](const StudyProject &p, study::StudySessionActions a, QWidget *parent) {
            auto *pane = new FakePane(p, parent);
            pane->session = std::move(a);
            sessions.append(pane);
            return pane;
        };
        f.quiz = [this](const StudyProject &p, study::StudyQuizActions a, QWidget *parent) {
            auto *pane = new FakePane(p, parent);
            pane->quiz = std::move(a);
            tests.append(pane);
            return pane;
        };
        return f;
    }

    // Stores the set and shows its page in the workspace, as the library does.
    study::StudySetPage *open(const StudyProject &set, bool standIns = false)
    {
        EXPECT_TRUE(app->saveStudyProject(set));
        study::StudyPageFactories factories = study::StudyPageFactories::standIns();
        factories.detail = study::makeStudySetPage(*app, clock,
                                                   standIns ? study::StudyPaneFactories::standIns() : fakePanes());
        root = std::make_unique<study::StudyRootView>(*app, scheduler, clock, factories);
        root->resize(960, 1600);
        root->show();
        root->setViewState(study::StudyViewState::detail(set));
        settle();
        return qobject_cast<study::StudySetPage *>(root->currentPage());
    }

    static QString counter(study::StudySetPage *page) { return page->carousel()->counterLabel()->text(); }
    static QString shownTerm(study::StudySetPage *page)
    {
        const auto &c = page->carousel()->cardView()->card();
        return c ? c->term : QString();
    }
    static QString progress(study::StudySetPage *page) { return page->progressRow()->progressLabel()->text(); }
};

} // namespace qv::test
