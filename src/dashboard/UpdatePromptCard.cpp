#include "dashboard/UpdatePromptCard.h"

#include "dashboard/Labels.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qv::dashboard {

UpdatePromptCard::UpdatePromptCard(Kind kind, QWidget *parent) : Card(Theme::surface(), 18, parent), m_kind(kind)
{
    setFixedWidth(320);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(12);
    const bool isNew = kind == Kind::NewUpdate;
    m_badge = styledLabel(isNew ? QStringLiteral("NEW UPDATE") : QStringLiteral("NO UPDATES"),
                          Typography::font(TextStyle::Headline, QFont::Black), Theme::text(), this);
    column->addWidget(m_badge, 0, Qt::AlignHCenter);
    m_line = styledLabel(isNew ? QStringLiteral("Update available: ")
                               : QStringLiteral("You are on the latest version."),
                         Typography::font(TextStyle::Caption), Theme::subtext(), this);
    column->addWidget(m_line, 0, Qt::AlignHCenter);
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addStretch();
    if (isNew) {
        auto *later = new QVButton(QStringLiteral("Do Later"), QVButtonVariant::secondary, false, this);
        auto *download = new QVButton(QStringLiteral("Download Now"), QVButtonVariant::primary, false, this);
        connect(later, &QAbstractButton::clicked, this, &UpdatePromptCard::laterRequested);
        connect(download, &QAbstractButton::clicked, this, &UpdatePromptCard::downloadRequested);
        m_buttons = {later, download};
    } else {
        auto *back = new QVButton(QStringLiteral("Return to Dashboard"), QVButtonVariant::primary, false, this);
        connect(back, &QAbstractButton::clicked, this, &UpdatePromptCard::returnRequested);
        m_buttons = {back};
    }
    for (QVButton *b : m_buttons)
        row->addWidget(b);
    row->addStretch();
    column->addLayout(row);
}

void UpdatePromptCard::setVersion(const QString &version)
{
    if (m_kind == Kind::NewUpdate)
        m_line->setText(QStringLiteral("Update available: ") + version);
}

QSize UpdatePromptCard::sizeHint() const { return {320, layout()->sizeHint().height()}; }

} // namespace qv::dashboard
