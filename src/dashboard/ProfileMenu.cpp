#include "dashboard/ProfileMenu.h"

#include "theme/AnimatedValue.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"

#include <QGraphicsOpacityEffect>
#include <QVBoxLayout>

namespace qv::dashboard {

ProfileMenu::ProfileMenu(QWidget *parent) : Card(Theme::surface(), 10, parent), m_opacity(new AnimatedValue(0, this))
{
    setBorder(Theme::withOpacity(Theme::border(), 0.7));
    setShadow(8, {0, 6});
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(6);
    auto entry = [this, column](const QString &label) {
        auto *b = new QVButton(label, QVButtonVariant::secondary, true, this);
        column->addWidget(b, 0, Qt::AlignLeft);
        return b;
    };
    m_settings = entry(QStringLiteral("Settings"));
    m_updates = entry(QStringLiteral("Check for Updates"));
    m_signOut = entry(QStringLiteral("Sign Out"));
    connect(m_settings, &QAbstractButton::clicked, this, &ProfileMenu::settingsRequested);
    connect(m_updates, &QAbstractButton::clicked, this, &ProfileMenu::checkForUpdatesRequested);
    connect(m_signOut, &QAbstractButton::clicked, this, &ProfileMenu::signOutRequested);

    auto *fade = new QGraphicsOpacityEffect(this);
    fade->setOpacity(0);
    setGraphicsEffect(fade);
    connect(m_opacity, &AnimatedValue::changed, this, &ProfileMenu::syncOpacity);
    hide();
}

void ProfileMenu::setShown(bool shown, bool animated)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    // A leaving menu takes no more clicks.
    setAttribute(Qt::WA_TransparentForMouseEvents, !shown);
    if (shown)
        show();
    m_opacity->set(shown ? 1 : 0, animated ? Animation::easeInOut(kFadeMs) : Animation::none());
    syncOpacity();
}

void ProfileMenu::syncOpacity()
{
    const double o = m_opacity->value();
    static_cast<QGraphicsOpacityEffect *>(graphicsEffect())->setOpacity(o);
    setShadow(8, {0, 6}, o);
    if (!m_shown && o <= 0.001)
        hide();
}

} // namespace qv::dashboard
