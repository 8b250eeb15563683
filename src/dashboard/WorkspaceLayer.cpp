#include "dashboard/WorkspaceLayer.h"

#include "dashboard/Card.h"
#include "dashboard/DashboardSwitchBar.h"
#include "dashboard/ModePickerView.h"
#include "dashboard/OverlayHost.h"
#include "dashboard/WorkspaceFade.h"
#include "dashboard/WorkspaceSwitch.h"
#include "dashboard/WriterWorkspace.h"
#include "theme/ShimmerTitle.h"
#include "theme/Theme.h"
#include "theme/WindowControlsIsland.h"
#include "theme/WindowFrame.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qv::dashboard {

namespace {
constexpr int kFooterHeight = 64;
constexpr int kCardTop = 30;
constexpr int kCardSide = 32;
// Room kept between the window's controls island and the card beneath it.
constexpr int kIslandGap = 8;
// The main window's corner radius: the page's scroll bar runs along the
// window's right edge, from corner to corner.
constexpr int kWindowCornerRadius = 20;

// `widget` takes the width it may have, up to its maximum, centred.
QHBoxLayout *centredRow(QWidget *widget)
{
    widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto *row = new QHBoxLayout;
    row->addStretch(0);
    row->addWidget(widget, 1);
    row->addStretch(0);
    return row;
}
} // namespace

WorkspaceLayer::WorkspaceLayer(state::AppState &appState,
                               std::function<QWidget *(state::AppState &)> makeStudyWorkspace, OverlayHost &host)
    : m_appState(appState), m_makeStudy(std::move(makeStudyWorkspace))
{
    auto *cell = new QGridLayout(this);
    cell->setContentsMargins(0, 0, 0, 0);
    cell->addWidget(buildPickerPage(), 0, 0);

    m_scroll = new QScrollArea;
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    WindowFrame::insetVerticalScrollBar(m_scroll, kWindowCornerRadius);
    m_scroll->setWidget(buildScrollCard());
    // The page background shows through.
    m_scroll->setAutoFillBackground(false);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->widget()->setAutoFillBackground(false);
    cell->addWidget(m_scroll, 0, 0);
    host.addLayer(this, 0, OverlayHost::Placement::Fill);
    m_fade = new WorkspaceFade(this, m_pickerPage, m_scroll);
    m_scroll->viewport()->installEventFilter(this);
}

bool WorkspaceLayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        keepClearOfWindowControls();
    return QWidget::eventFilter(watched, event);
}

void WorkspaceLayer::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    keepClearOfWindowControls();
}

int WorkspaceLayer::cardTop() const { return m_cardPage->contentsMargins().top(); }

void WorkspaceLayer::keepClearOfWindowControls()
{
    // The island floats over the window's top-left corner. Where the window
    // is narrow enough for the card to reach under it, the card starts below
    // the island instead of running into it; wider, the card sits beside it.
    int top = kCardTop;
    const auto *island = window()->findChild<WindowControlsIsland *>();
    QWidget *viewport = m_scroll->viewport();
    if (island && island->parentWidget() && !island->isHidden()) {
        const QRect card = island->cardGeometry();
        const QRect shown(viewport->mapFromGlobal(island->parentWidget()->mapToGlobal(card.topLeft())), card.size());
        // Where the layout puts the card: centred, at most its width.
        const int room = viewport->width() - 2 * kCardSide;
        const int width = std::min(m_card->maximumWidth(), room);
        const int left = kCardSide + (room - width) / 2;
        if (shown.right() + kIslandGap >= left && shown.left() < left + width)
            top = std::max(top, shown.bottom() + 1 + kIslandGap);
    }
    if (top != cardTop())
        m_cardPage->setContentsMargins(kCardSide, top, kCardSide, 0);
}

QWidget *WorkspaceLayer::buildPickerPage()
{
    m_pickerPage = new QWidget;
    auto *layout = new QVBoxLayout(m_pickerPage);
    layout->setContentsMargins(32, 28, 32, 28);
    m_picker = new ModePickerView(m_pickerPage);
    // As wide as it may be (760), centred.
    layout->addStretch();
    layout->addLayout(centredRow(m_picker));
    layout->addStretch();
    return m_pickerPage;
}

QWidget *WorkspaceLayer::buildScrollCard()
{
    auto *outer = new QWidget;
    auto *outerLayout = new QVBoxLayout(outer);
    outerLayout->setContentsMargins(kCardSide, kCardTop, kCardSide, 0);
    m_cardPage = outerLayout;

    m_card = new Card(Theme::surface(), 20, outer);
    m_card->setShadow(16, {0, 10});
    m_card->setMaximumWidth(980);
    auto *column = new QVBoxLayout(m_card);
    column->setContentsMargins(16, 16, 16, 16 + kFooterHeight);
    column->setSpacing(12);

    m_header = new QWidget(m_card);
    auto *head = new QVBoxLayout(m_header);
    head->setContentsMargins(0, 8, 0, 0);
    head->setSpacing(12);
    m_title = new ShimmerTitle(title(DashboardMode::writer), 68, m_header);
    head->addWidget(m_title);
    m_switchBar = new DashboardSwitchBar(m_header);
    head->addWidget(m_switchBar, 0, Qt::AlignHCenter);
    column->addWidget(m_header);

    m_content = new QStackedWidget(m_card);
    m_writer = new WriterWorkspace(m_appState, m_content);
    m_content->addWidget(m_writer);
    column->addWidget(m_content);
    column->addStretch();

    outerLayout->addLayout(centredRow(m_card));
    outerLayout->addStretch();
    return outer;
}

void WorkspaceLayer::sync(const WorkspaceSwitch &s, const Animation &fade)
{
    const bool covered = s.showInitialWelcome() || s.showWelcomeOverlay();
    // The picker and the card cross-fade; the whole layer fades out while
    // a welcome overlay covers the page.
    m_fade->setPickerShown(s.showModePicker(), fade);
    m_fade->setLayerShown(!covered, fade);
    setTitleMode(s.dashboardMode());
    m_switchBar->setCurrent(s.dashboardMode());
    showWorkspace(s.dashboardMode());
}

void WorkspaceLayer::showWorkspace(DashboardMode mode)
{
    if (mode == DashboardMode::study) {
        if (!m_study) {
            m_study = m_makeStudy(m_appState);
            m_content->addWidget(m_study);
        }
        m_content->setCurrentWidget(m_study);
    } else {
        m_content->setCurrentWidget(m_writer);
    }
    // The card grows with the workspace on show alone: a hidden one must not
    // leave its height behind.
    for (int i = 0; i < m_content->count(); ++i) {
        QWidget *page = m_content->widget(i);
        const QSizePolicy::Policy policy = page == m_content->currentWidget() ? QSizePolicy::Preferred
                                                                              : QSizePolicy::Ignored;
        page->setSizePolicy(policy, policy);
    }
    m_content->updateGeometry();
}

void WorkspaceLayer::setTitleMode(DashboardMode mode)
{
    if (m_title->text() == title(mode))
        return;
    auto *fresh = new ShimmerTitle(title(mode), 68, m_header);
    // The layout hands back the item that held the old title; it is ours.
    delete m_header->layout()->replaceWidget(m_title, fresh);
    m_title->deleteLater();
    m_title = fresh;
}

void WorkspaceLayer::setHeaderShown(bool shown) { m_header->setVisible(shown); }

} // namespace qv::dashboard
