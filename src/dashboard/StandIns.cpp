#include "dashboard/StandIns.h"

#include "dashboard/Card.h"
#include "dashboard/Labels.h"
#include "state/AppState.h"
#include "theme/CustomWindow.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QVBoxLayout>

namespace qv::dashboard::standins {

namespace {
QWidget *panel(const QString &heading, const QString &detail, const QString &buttonText, std::function<void()> action,
               QColor fill = Theme::surface())
{
    auto *card = new Card(fill, 22);
    auto *column = new QVBoxLayout(card);
    column->setContentsMargins(28, 28, 28, 28);
    column->setSpacing(18);
    column->addWidget(styledLabel(heading, Typography::font(TextStyle::Title2, QFont::DemiBold), Theme::text(), card),
                      0, Qt::AlignHCenter);
    auto *text = styledLabel(detail, Typography::font(TextStyle::Callout), Theme::subtext(), card);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignHCenter);
    text->setMaximumWidth(420);
    column->addWidget(text, 0, Qt::AlignHCenter);
    column->addStretch();
    if (action) {
        auto *button = new QVButton(buttonText, QVButtonVariant::secondary, false, card);
        QObject::connect(button, &QAbstractButton::clicked, card, [action] { action(); });
        column->addWidget(button, 0, Qt::AlignHCenter);
    }
    return card;
}
} // namespace

// A window around a panel whose Close button, like a close from the window
// manager, runs the opener's action.
CustomWindow *window(QWidget *content, std::function<void()> onClose, double cornerRadius)
{
    auto *w = new CustomWindow(content, cornerRadius);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setCloseAction(std::move(onClose));
    return w;
}

CustomWindow *editor(state::AppState &, const std::optional<Project> &project, std::function<void()> onClose)
{
    return window(panel(project ? QStringLiteral("Edit Project") : QStringLiteral("New Project"),
                        project ? project->title : QString(), QStringLiteral("Close"), onClose),
                  onClose, 22);
}

CustomWindow *typingPanel(state::AppState &, const Project &project, std::function<void()> onClose)
{
    return window(panel(project.title, QString(), QStringLiteral("Close"), onClose), onClose, 18);
}

QWidget *studyWorkspace(state::AppState &)
{
    auto *w = panel(QStringLiteral("Lexmoor"), QStringLiteral("Study sets, quizzes, and flashcards."), {}, {},
                    Theme::surfaceAlt());
    w->setMinimumHeight(180);
    return w;
}

QWidget *permissionsGate(state::AppState &appState, std::function<void()> onDismiss, const QString &, const QString &)
{
    // "Skip for now" does what the full card's button does.
    state::AppState *app = &appState;
    QWidget *card = panel(QStringLiteral("Enable Permissions"),
                          QStringLiteral("Quorvel needs Accessibility and Input Monitoring to detect text boxes and "
                                         "type into other apps."),
                          QStringLiteral("Skip for now"), [app, onDismiss] {
                              app->setAccessibilitySkipped(true);
                              app->setSkipInitialWelcome(true);
                              if (onDismiss)
                                  onDismiss();
                          });
    card->setMaximumWidth(520);
    return card;
}

} // namespace qv::dashboard::standins
