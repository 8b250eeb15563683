#include "study/views/StudyInlineTest.h"

#include "study/views/StudyTestView.h"

#include <QVBoxLayout>

namespace qv::study {

StudyInlineTest::StudyInlineTest(const StudyProject &project, std::function<void()> onExit,
                                 std::function<void(const StudyProject &)> onUpdate, Random &random,
                                 const WallClock &clock, QWidget *parent)
    : StudyInlinePane(parent), m_view(new StudyTestView(project, random, clock))
{
    setObjectName(QStringLiteral("inlineTest"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &StudyTestView::exitRequested, this, [onExit = std::move(onExit)] {
        if (onExit)
            onExit();
    });
    connect(m_view, &StudyTestView::updated, this, [onUpdate = std::move(onUpdate)](const StudyProject &set) {
        if (onUpdate)
            onUpdate(set);
    });
}

void StudyInlineTest::setProject(const StudyProject &project) { m_view->setProject(project); }

void StudyInlineTest::restart(const StudyProject &project) { m_view->restart(project); }

StudyInlinePane *makeInlineStudyTest(const StudyProject &project, std::function<void()> onExit,
                                     std::function<void(const StudyProject &)> onUpdate, Random &random,
                                     const WallClock &clock, QWidget *parent)
{
    return new StudyInlineTest(project, std::move(onExit), std::move(onUpdate), random, clock, parent);
}

} // namespace qv::study
