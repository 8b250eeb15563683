#include "dashboard/ProfilePreviewRow.h"

#include "dashboard/AvatarCircle.h"
#include "dashboard/Labels.h"
#include "state/AppState.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qv::dashboard {

ProfilePreviewRow::ProfilePreviewRow(state::AppState &appState, QWidget *parent)
    : Card(Theme::surfaceAlt(), 12, parent), m_appState(appState)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(12);
    m_avatar = new AvatarCircle(appState, 46, this);
    row->addWidget(m_avatar);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(4);
    m_name = styledLabel(QString(), Typography::font(TextStyle::Callout, QFont::DemiBold), Theme::text(), this);
    m_email = styledLabel(QString(), Typography::font(TextStyle::Caption2), Theme::subtext(), this);
    texts->addWidget(m_name);
    texts->addWidget(m_email);
    row->addLayout(texts);
    row->addStretch();
    m_update = new QVButton(QStringLiteral("Update Profile"), QVButtonVariant::secondary, true, this);
    row->addWidget(m_update);
    connect(m_update, &QAbstractButton::clicked, this, &ProfilePreviewRow::updateProfileRequested);
    connect(&appState, &state::AppState::profileNameChanged, this, &ProfilePreviewRow::sync);
    connect(&appState, &state::AppState::authEmailChanged, this, &ProfilePreviewRow::sync);
    sync();
}

void ProfilePreviewRow::sync()
{
    const QString &name = m_appState.profileName();
    m_name->setText(name.isEmpty() ? QStringLiteral("Your Profile") : name);
    m_email->setText(m_appState.authEmail());
}

} // namespace qv::dashboard
