#include "SyntheticInput.h"

#include "TargetApp.h"

#include <QImage>
#include <QProcess>

// Last: its macros clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

bool moveTo(QPoint at)
{
    return xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
}

bool type(const QString &text)
{
    return xdotool(
        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("25"), QStringLiteral("--"), text});
}

bool key(const QString &keys) { return xdotool({QStringLiteral("key"), QStringLiteral("--"), keys}); }

bool wheel(QPoint at, int step)
{
    return xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                    QStringLiteral("click"), step > 0 ? QStringLiteral("5") : QStringLiteral("4")});
}

bool drag(QPoint from, QPoint to, int steps)
{
    if (!xdotool({QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y()),
                  QStringLiteral("mousedown"), QStringLiteral("1")}))
        return false;
    // In steps, as a hand moves: the program starts a move only once the
    // pointer has travelled, and the window manager follows each step.
    bool moved = true;
    for (int i = 1; i <= steps && moved; ++i) {
        const QPoint at = from + (to - from) * i / steps;
        moved = xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
    }
    return xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}) && moved;
}

bool resizeActiveWindow(QSize size)
{
    return xdotool({QStringLiteral("getactivewindow"), QStringLiteral("windowsize"), QString::number(size.width()),
                    QString::number(size.height())});
}

bool resizeWindowOf(qint64 pid, QSize size)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                             QStringLiteral("--pid"), QString::number(pid)});
    if (!search.waitForFinished(10000) || search.exitCode() != 0)
        return false;
    const QStringList windows =
        QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    bool resized = !windows.isEmpty();
    for (const QString &window : windows)
        resized = xdotool({QStringLiteral("windowsize"), window.trimmed(), QString::number(size.width()),
                           QString::number(size.height())})
                  && resized;
    return resized;
}

// What the screen shows in `area`, read straight from the X server.
QImage grabScreen(const QRect &area)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return {};
    const QRect screen(0, 0, DisplayWidth(display, DefaultScreen(display)),
                       DisplayHeight(display, DefaultScreen(display)));
    const QRect r = area.intersected(screen);
    QImage out;
    if (!r.isEmpty()) {
        if (XImage *image = XGetImage(display, DefaultRootWindow(display), r.x(), r.y(), unsigned(r.width()),
                                      unsigned(r.height()), AllPlanes, ZPixmap)) {
            if (image->bits_per_pixel == 32)
                out = QImage(reinterpret_cast<const uchar *>(image->data), r.width(), r.height(), image->bytes_per_line,
                             QImage::Format_RGB32)
                          .copy();
            XDestroyImage(image);
        }
    }
    XCloseDisplay(display);
    return out;
}

} // namespace qv::e2e::input
