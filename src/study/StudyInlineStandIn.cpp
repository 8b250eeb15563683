#include "study/StudyInlineStandIn.h"

#include "study/StudyInlineFactories.h"
#include "study/StudyText.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qv::study {

StudyInlineStandIn::StudyInlineStandIn(const StudyProject &project, const QString &kind,
                                       std::function<void()> onBack, QWidget *parent)
    : StudyInlinePane(parent)
{
    setObjectName(kind);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(styledLabel(kind, TextStyle::Caption, QFont::DemiBold, Theme::subtext()));
    m_title = styledLabel(project.title, TextStyle::Title3, QFont::DemiBold, Theme::text());
    m_title->setWordWrap(true);
    layout->addWidget(m_title);
    auto *row = new QHBoxLayout;
    m_back = new QVButton(QStringLiteral("Back to Flashcards"), QVButtonVariant::secondary, true);
    row->addWidget(m_back);
    row->addStretch(1);
    layout->addLayout(row);
    connect(m_back, &QAbstractButton::clicked, this, [onBack = std::move(onBack)] {
        if (onBack)
            onBack();
    });
}

void StudyInlineStandIn::setProject(const StudyProject &project) { m_title->setText(project.title); }

StudyInlineFactories StudyInlineFactories::standIns()
{
    StudyInlineFactories f;
    f.session = [](const StudyProject &p, StudySessionActions a, QWidget *parent) -> StudyInlinePane * {
        return new StudyInlineStandIn(p, QStringLiteral("Session"), a.onClose, parent);
    };
    f.test = [](const StudyProject &p, StudyQuizActions a, QWidget *parent) -> StudyInlinePane * {
        return new StudyInlineStandIn(p, QStringLiteral("Test"), a.onExit, parent);
    };
    return f;
}

} // namespace qv::study
