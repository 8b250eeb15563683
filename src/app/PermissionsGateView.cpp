#include "app/PermissionsGateView.h"

#include "app/PermissionRow.h"
#include "platform/Permissions.h"
#include "platform/Workspace.h"
#include "state/AppState.h"
#include "theme/QVButton.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QShowEvent>
#include <QVBoxLayout>

namespace qv::app {

PermissionsGateView::PermissionsGateView(Services services, std::function<void()> onDismiss,
                                         QString accessibilityGuideURL, QString inputMonitoringGuideURL,
                                         QWidget *parent)
    : CardFrame(Style{22, 16, 10}, parent), m_services(std::move(services)), m_onDismiss(std::move(onDismiss))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(28, 28, 28, 28);
    column->setSpacing(18);

    column->addWidget(wordWrapped(styledLabel(QStringLiteral("Enable Permissions"), TextStyle::Title2, QFont::DemiBold,
                                              Theme::text(), this),
                                  Qt::AlignHCenter));
    auto *message = wordWrapped(
        styledLabel(
            QStringLiteral(
                "Quorvel needs Accessibility and Input Monitoring to detect text boxes and type into other apps."),
            TextStyle::Callout, std::nullopt, Theme::subtext(), this),
        Qt::AlignHCenter);
    // Wrapped at 420 pixels: a word-wrapped label squeezed to its hint loses lines.
    message->setFixedWidth(420);
    column->addWidget(message, 0, Qt::AlignHCenter);

    auto *rows = new QVBoxLayout;
    rows->setSpacing(12);
    m_accessibilityRow = new PermissionRow(
        QStringLiteral("Accessibility"), std::move(accessibilityGuideURL),
        [this] {
            m_services.permissions.requestAccessibility();
            m_services.permissions.openAccessibilitySettings();
            refreshFlags();
        },
        this);
    m_inputRow = new PermissionRow(
        QStringLiteral("Input Monitoring"), std::move(inputMonitoringGuideURL),
        [this] {
            m_services.permissions.requestInputSynthesis();
            m_services.permissions.openInputSettings();
            refreshFlags();
        },
        this);
    for (PermissionRow *row : {m_accessibilityRow, m_inputRow}) {
        connect(row, &PermissionRow::tutorialRequested, this,
                [this](const QUrl &url) { m_services.workspace.openUrl(url); });
        rows->addWidget(row);
    }
    column->addLayout(rows);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    m_restart = new QVButton(QStringLiteral("Restart App"), QVButtonVariant::secondary, false, this);
    buttons->addWidget(m_restart);
    m_skip = new QVButton(QStringLiteral("Skip for now"), QVButtonVariant::secondary, false, this);
    buttons->addWidget(m_skip);
    buttons->addStretch(1);
    column->addLayout(buttons);

    connect(m_restart, &QAbstractButton::clicked, this, &PermissionsGateView::restart);
    connect(m_skip, &QAbstractButton::clicked, this, &PermissionsGateView::skip);
    connect(&m_services.app, &state::AppState::accessibilityReadyChanged, this, &PermissionsGateView::syncRows);
    connect(&m_services.app, &state::AppState::inputMonitoringReadyChanged, this, &PermissionsGateView::syncRows);
    syncRows();
}

PermissionsGateView::~PermissionsGateView() { m_services.scheduler.cancel(m_refreshTimer); }

bool PermissionsGateView::allReady() const
{
    return m_services.app.accessibilityReady() && m_services.app.inputMonitoringReady();
}

void PermissionsGateView::refreshFlags()
{
    m_services.app.setAccessibilityReady(m_services.permissions.accessibilityReady());
    m_services.app.setInputMonitoringReady(m_services.permissions.inputSynthesisReady());
}

void PermissionsGateView::showEvent(QShowEvent *event)
{
    CardFrame::showEvent(event);
    if (!m_appeared)
        appear();
}

void PermissionsGateView::appear()
{
    m_appeared = true;
    refreshFlags();
    armRefresh();
}

void PermissionsGateView::armRefresh()
{
    QPointer<PermissionsGateView> self(this);
    m_refreshTimer = m_services.scheduler.singleShot(kRefreshMs, [self] {
        if (!self)
            return;
        self->m_refreshTimer = 0;
        // Only while on screen; the timer keeps its beat while hidden.
        if (self->isVisible())
            self->refreshFlags();
        self->armRefresh();
    });
}

void PermissionsGateView::syncRows()
{
    m_accessibilityRow->setReady(m_services.app.accessibilityReady());
    m_inputRow->setReady(m_services.app.inputMonitoringReady());
    m_restart->setVariant(allReady() ? QVButtonVariant::primary : QVButtonVariant::secondary);
}

void PermissionsGateView::restart()
{
    refreshFlags();
    // Copies: dismissing may delete this card.
    auto restartApp = m_services.restartApp;
    if (allReady()) {
        m_services.app.setSkipInitialWelcome(true);
        if (auto dismiss = m_onDismiss)
            dismiss();
    }
    if (restartApp)
        restartApp();
}

void PermissionsGateView::skip()
{
    m_services.app.setAccessibilitySkipped(true);
    m_services.app.setSkipInitialWelcome(true);
    if (auto dismiss = m_onDismiss)
        dismiss();
}

} // namespace qv::app
