#include "dashboard/SupportCard.h"

#include "dashboard/Labels.h"
#include "platform/Workspace.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qv::dashboard {

SupportCard::SupportCard(platform::Workspace *workspace, SettingsLinks links, QWidget *parent)
    : Card(Theme::surfaceAlt(), 16, parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(10);
    column->addWidget(styledLabel(QStringLiteral("Support"), Typography::font(TextStyle::Caption, QFont::DemiBold),
                                  Theme::subtext(), this));
    m_address = styledLabel(links.supportEmail, Typography::font(TextStyle::Caption), Theme::text(), this);
    column->addWidget(m_address);
    m_contact = new QVButton(QStringLiteral("Contact Support"), QVButtonVariant::secondary, false, this);
    column->addWidget(m_contact, 0, Qt::AlignLeft);
    auto *guides = new QHBoxLayout;
    guides->setSpacing(8);
    m_install = new QVButton(QStringLiteral("Install Tutorial"), QVButtonVariant::tertiary, true, this);
    m_permissions = new QVButton(QStringLiteral("Permissions Tutorial"), QVButtonVariant::tertiary, true, this);
    guides->addWidget(m_install);
    guides->addWidget(m_permissions);
    guides->addStretch();
    column->addLayout(guides);

    connect(m_contact, &QAbstractButton::clicked, this, [workspace, address = links.supportEmail] {
        // A malformed address opens nothing.
        if (const std::optional<QUrl> mail = mailtoUrl(address); mail && workspace)
            workspace->openUrl(*mail);
    });
    connect(m_install, &QAbstractButton::clicked, this, [workspace, url = links.installGuideURL] {
        if (workspace)
            openAddress(*workspace, url);
    });
    connect(m_permissions, &QAbstractButton::clicked, this, [workspace, url = links.permissionsGuideURL] {
        if (workspace)
            openAddress(*workspace, url);
    });
}

} // namespace qv::dashboard
