#include "dashboard/SettingsWindowView.h"

#include "dashboard/AccountCard.h"
#include "dashboard/AvatarChooser.h"
#include "dashboard/Card.h"
#include "dashboard/CloseDot.h"
#include "dashboard/Labels.h"
#include "dashboard/PreferencesCard.h"
#include "dashboard/ProfilePreviewRow.h"
#include "dashboard/SettingsBindings.h"
#include "dashboard/SmartnessCard.h"
#include "dashboard/SupportCard.h"
#include "state/AppState.h"
#include "state/Preferences.h"
#include "theme/NoticeBanner.h"
#include "theme/Theme.h"
#include "theme/Typography.h"
#include "theme/WindowFrame.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace qv::dashboard {

SettingsWindowView::SettingsWindowView(state::AppState &appState, std::shared_ptr<SettingsBindings> bindings,
                                       SettingsLinks links, Services services, std::function<void()> onClose,
                                       QWidget *parent)
    : QWidget(parent), m_appState(appState), m_bindings(std::move(bindings)), m_links(std::move(links)),
      m_onClose(std::move(onClose)), m_avatarChooser(std::make_unique<AvatarChooser>(appState, services.fileChooser))
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    WindowFrame::insetVerticalScrollBar(m_scroll, kWindowCornerRadius);
    m_scroll->setAutoFillBackground(false);
    m_scroll->viewport()->setAutoFillBackground(false);
    outer->addWidget(m_scroll);

    m_panel = new Card(Theme::surface(), 18);
    m_panel->setShadow(14, {0, 8});
    auto *stack = new QVBoxLayout(m_panel);
    stack->setContentsMargins(16, 16, 16, 16);
    stack->setSpacing(16);

    // The header: close control, the title near the middle, a balancing box.
    // The panel follows the window down to the window's smallest width; no
    // row asks for more than that, so nothing is ever cut.
    auto *headerRow = new QWidget(m_panel);
    m_headerRow = headerRow;
    auto *header = new QHBoxLayout(headerRow);
    header->setContentsMargins(0, 0, 0, 0);
    m_close = new CloseDot(m_panel);
    header->addWidget(m_close);
    header->addStretch();
    header->addWidget(styledLabel(QStringLiteral("SETTINGS"), Typography::font(TextStyle::Headline, QFont::Black),
                                  Theme::text(), m_panel));
    header->addStretch();
    header->addSpacing(18);
    stack->addWidget(headerRow);
    connect(m_close, &QAbstractButton::clicked, this, &SettingsWindowView::closeWindow);

    // Every control here writes a preference: one that did not reach the
    // disk is said here, under the header.
    m_saveNotice = new NoticeBanner(m_panel);
    stack->addWidget(m_saveNotice);
    connect(&appState.preferences(), &state::Preferences::saveFailed, m_saveNotice, [this](const QString &reason) {
        m_saveNotice->present(saveFailureText(QStringLiteral("your settings"), SaveResult::failure(reason)));
    });

    m_profile = new ProfilePreviewRow(appState, m_panel);
    m_account = new AccountCard(appState, m_bindings, m_panel);
    m_smartness = new SmartnessCard(appState, m_bindings, m_panel);
    m_preferences = new PreferencesCard(appState, services.workspace, m_links.settingsGuideURL, m_panel);
    m_support = new SupportCard(services.workspace, m_links, m_panel);
    for (QWidget *w : std::initializer_list<QWidget *>{m_profile, m_account, m_smartness, m_preferences, m_support})
        stack->addWidget(w);
    stack->addStretch();
    connect(m_profile, &ProfilePreviewRow::updateProfileRequested, this, &SettingsWindowView::chooseProfilePicture);

    m_scroll->setWidget(m_panel);
    m_panel->setAutoFillBackground(false);
    // The window moves by its background: presses on the panel, its cards
    // and the gaps between them reach the window frame; controls keep theirs.
    m_panel->setTakesBackgroundClicks(false);
    for (Card *card : m_panel->findChildren<Card *>())
        card->setTakesBackgroundClicks(false);
}

SettingsWindowView::~SettingsWindowView() = default;

void SettingsWindowView::closeWindow()
{
    if (m_onClose)
        m_onClose();
}

void SettingsWindowView::chooseProfilePicture() { m_avatarChooser->choose(this); }

} // namespace qv::dashboard
