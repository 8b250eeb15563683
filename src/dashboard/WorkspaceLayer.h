#pragma once

#include "dashboard/DashboardMode.h"
#include "theme/AnimatedValue.h"

#include <QWidget>

#include <functional>

class QScrollArea;
class QStackedWidget;
class QVBoxLayout;

namespace qv {
class ShimmerTitle;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::dashboard {

class Card;
class DashboardSwitchBar;
class ModePickerView;
class OverlayHost;
class WorkspaceFade;
class WorkspaceSwitch;
class WriterWorkspace;

// The dashboard's bottom layer: the workspace picker, or the one scrolling
// card with the page title, the switch bar and the current workspace (the
// writer list, or the study workspace made when first chosen). Both lie in
// one cell so that one can fade out while the other fades in. It lays itself
// at the bottom of the host it is given.
class WorkspaceLayer : public QWidget {
    Q_OBJECT
public:
    WorkspaceLayer(state::AppState &appState, std::function<QWidget *(state::AppState &)> makeStudyWorkspace,
                   OverlayHost &host);

    // Shows what the switch asks for: picker or card, the layer itself
    // faded out while a welcome covers the page, the title, the switch bar
    // and the workspace of the current mode.
    void sync(const WorkspaceSwitch &state, const Animation &fade);
    // The title and the switch bar give way to a project or study page.
    void setHeaderShown(bool shown);

    ModePickerView *picker() const { return m_picker; }
    WriterWorkspace *writer() const { return m_writer; }
    QWidget *studyWorkspace() const { return m_study; }
    QWidget *pickerPage() const { return m_pickerPage; }
    QScrollArea *scrollView() const { return m_scroll; }
    QWidget *header() const { return m_header; }
    ShimmerTitle *pageTitle() const { return m_title; }
    DashboardSwitchBar *switchBar() const { return m_switchBar; }
    const WorkspaceFade &fade() const { return *m_fade; }
    Card *card() const { return m_card; }
    // The card's distance from the top of the page at rest: 30, or more
    // where the window's controls island would otherwise reach over it.
    int cardTop() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void keepClearOfWindowControls();
    QWidget *buildPickerPage();
    QWidget *buildScrollCard();
    void setTitleMode(DashboardMode mode);
    void showWorkspace(DashboardMode mode);

    state::AppState &m_appState;
    std::function<QWidget *(state::AppState &)> m_makeStudy;
    QWidget *m_pickerPage = nullptr;
    ModePickerView *m_picker = nullptr;
    QScrollArea *m_scroll = nullptr;
    Card *m_card = nullptr;
    QVBoxLayout *m_cardPage = nullptr;
    QWidget *m_header = nullptr;
    ShimmerTitle *m_title = nullptr;
    DashboardSwitchBar *m_switchBar = nullptr;
    QStackedWidget *m_content = nullptr;
    WriterWorkspace *m_writer = nullptr;
    QWidget *m_study = nullptr;
    WorkspaceFade *m_fade = nullptr;
};

} // namespace qv::dashboard
