#include "study/views/StudyStandInPage.h"

#include "study/views/StudyPageFactories.h"
#include "study/views/StudyText.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qv::study {

StudyStandInPage::StudyStandInPage(const StudyProject &project, const QString &kind, std::function<void()> onBack,
                                   QWidget *parent)
    : StudyHostedPage(parent), m_project(project)
{
    setObjectName(kind);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto *top = new QHBoxLayout;
    m_back = new QVButton(QStringLiteral("Back"), QVButtonVariant::secondary, true);
    top->addWidget(m_back);
    top->addStretch(1);
    layout->addLayout(top);
    m_title = styledLabel(project.title, TextStyle::Title2, QFont::DemiBold, Theme::text());
    layout->addWidget(m_title);
    layout->addStretch(1);
    connect(m_back, &QAbstractButton::clicked, this, [onBack = std::move(onBack)] {
        if (onBack)
            onBack();
    });
}

void StudyStandInPage::setProject(const StudyProject &project)
{
    m_project = project;
    m_title->setText(project.title);
}

StudyPaneFactories StudyPaneFactories::standIns()
{
    StudyPaneFactories f;
    f.session = [](const StudyProject &p, StudySessionActions a, QWidget *parent) -> StudyHostedPage * {
        return new StudyStandInPage(p, QStringLiteral("study"), a.onClose, parent);
    };
    f.quiz = [](const StudyProject &p, StudyQuizActions a, QWidget *parent) -> StudyHostedPage * {
        return new StudyStandInPage(p, QStringLiteral("quiz"), a.onExit, parent);
    };
    return f;
}

StudyPageFactories StudyPageFactories::standIns()
{
    StudyPageFactories f;
    static_cast<StudyPaneFactories &>(f) = StudyPaneFactories::standIns();
    f.detail = [](const StudyProject &p, StudyDetailActions a, QWidget *parent) -> StudyHostedPage * {
        return new StudyStandInPage(p, QStringLiteral("detail"), a.onBack, parent);
    };
    return f;
}

} // namespace qv::study
