#include "SyntheticInput.h"

#include "TargetApp.h"

#include <QProcess>

namespace qv::e2e::input {

namespace {
bool xdotool(const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), args);
    bool done = false;
    QObject::connect(&tool, &QProcess::finished, [&] { done = true; });
    // The event loop runs meanwhile: the program under test may be ours.
    if (!waitUntil([&] { return done || tool.state() == QProcess::NotRunning; }, 15000)) {
        tool.kill();
        tool.waitForFinished(1000);
        return false;
    }
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}
} // namespace

bool click(QPoint at)
{
    return xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                    QStringLiteral("click"), QStringLiteral("1")});
}

bool type(const QString &text)
{
    return xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("25"), QStringLiteral("--"), text});
}

bool key(const QString &keys) { return xdotool({QStringLiteral("key"), QStringLiteral("--"), keys}); }

} // namespace qv::e2e::input
