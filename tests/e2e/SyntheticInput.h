#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The user's hands on the desktop session: synthetic clicks and keys through
// xdotool, each waited for.
namespace qv::e2e::input {

bool click(QPoint at);
// Moves the pointer without pressing.
bool moveTo(QPoint at);
// Types text into whatever has the keyboard focus.
bool type(const QString &text);
// One key or chord in xdotool's names ("End", "ctrl+a").
bool key(const QString &keys);
// One notch of the wheel at a point: down for a positive step, up otherwise.
bool wheel(QPoint at, int step);
// What the screen shows in `area` (empty when the display cannot be read).
QImage grabScreen(const QRect &area);
// Presses the left button at `from`, moves to `to` in `steps` and lets go.
bool drag(QPoint from, QPoint to, int steps = 6);
// Resizes the window that has the keyboard focus.
bool resizeActiveWindow(QSize size);
// Resizes the visible top-level window of a process.
bool resizeWindowOf(qint64 pid, QSize size);

} // namespace qv::e2e::input
