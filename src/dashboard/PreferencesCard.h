#pragma once

#include "dashboard/Card.h"

#include <QList>

namespace qv {
class QVButton;
class QVToggle;
namespace platform {
class Workspace;
}
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

// Three application-wide switches, each written through to the state object
// and to the preferences (as a Bool) at once, each with a "Tutorial" button
// that opens the support guides page.
class PreferencesCard : public Card {
    Q_OBJECT
public:
    PreferencesCard(state::AppState &appState, platform::Workspace *workspace, QString tutorialURL,
                    QWidget *parent = nullptr);

    // In display order: auto update, reduce motion, smart brief.
    QVToggle *toggle(int row) const { return m_toggles.value(row); }
    QVButton *tutorialButton(int row) const { return m_tutorials.value(row); }

private:
    state::AppState &m_appState;
    QList<QVToggle *> m_toggles;
    QList<QVButton *> m_tutorials;
};

} // namespace qv::dashboard
