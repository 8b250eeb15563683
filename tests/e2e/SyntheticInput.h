#pragma once

#include <QPoint>
#include <QString>

// The user's hands on the desktop session: synthetic clicks and keys through
// xdotool, each waited for.
namespace qv::e2e::input {

bool click(QPoint at);
// Types text into whatever has the keyboard focus.
bool type(const QString &text);
// One key or chord in xdotool's names ("End", "ctrl+a").
bool key(const QString &keys);

} // namespace qv::e2e::input
