#include "dashboard/PreferencesCard.h"

#include "dashboard/Labels.h"
#include "dashboard/SettingsLinks.h"
#include "state/AppState.h"
#include "state/PreferenceKeys.h"
#include "state/Preferences.h"
#include "theme/QVButton.h"
#include "theme/QVToggle.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <functional>

namespace qv::dashboard {

namespace {
struct Row {
    QString title;
    bool (state::AppState::*read)() const;
    void (state::AppState::*assign)(bool);
    void (state::AppState::*changed)();
    QString key;
};
} // namespace

PreferencesCard::PreferencesCard(state::AppState &appState, platform::Workspace *workspace, QString tutorialURL,
                                 QWidget *parent)
    : Card(Theme::surfaceAlt(), 16, parent), m_appState(appState)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(10);
    column->addWidget(styledLabel(QStringLiteral("Preferences"), Typography::font(TextStyle::Caption, QFont::DemiBold),
                                  Theme::subtext(), this));

    const QList<Row> rows = {
        {QStringLiteral("Auto update on launch"), &state::AppState::autoUpdateEnabled,
         &state::AppState::setAutoUpdateEnabled, &state::AppState::autoUpdateEnabledChanged,
         state::keys::autoUpdateEnabled},
        {QStringLiteral("Reduce motion"), &state::AppState::reduceMotionEnabled,
         &state::AppState::setReduceMotionEnabled, &state::AppState::reduceMotionEnabledChanged,
         state::keys::reduceMotion},
        {QStringLiteral("Show Smart Brief"), &state::AppState::showSmartBrief, &state::AppState::setShowSmartBrief,
         &state::AppState::showSmartBriefChanged, state::AppState::showSmartBriefKey},
    };
    for (const Row &row : rows) {
        auto *line = new QHBoxLayout;
        line->setSpacing(10);
        auto *toggle = new QVToggle(row.title, this);
        toggle->setFont(Typography::font(TextStyle::Caption, QFont::DemiBold));
        toggle->setChecked((appState.*row.read)());
        line->addWidget(toggle, 1);
        auto *tutorial = new QVButton(QStringLiteral("Tutorial"), QVButtonVariant::tertiary, true, this);
        line->addWidget(tutorial);
        column->addLayout(line);
        m_toggles << toggle;
        m_tutorials << tutorial;

        // The state object first, then the stored Bool.
        connect(toggle, &QAbstractButton::clicked, this, [this, row](bool on) {
            (m_appState.*row.assign)(on);
            m_appState.preferences().setBool(row.key, on);
        });
        connect(&appState, row.changed, toggle, [this, toggle, row] { toggle->setChecked((m_appState.*row.read)()); });
        connect(tutorial, &QAbstractButton::clicked, this, [workspace, tutorialURL] {
            if (workspace)
                openAddress(*workspace, tutorialURL);
        });
    }
}

} // namespace qv::dashboard
