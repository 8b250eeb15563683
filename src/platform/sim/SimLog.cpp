#include "platform/sim/SimLog.h"

#include <algorithm>

namespace qv::sim {

QString SimLog::typedText() const
{
    QString out;
    for (const KeyEvent &k : keys) {
        if (k.kind == KeyEvent::Kind::Grapheme)
            out += k.text;
    }
    return out;
}

std::vector<KeyEvent> SimLog::keysOf(KeyEvent::Kind kind) const
{
    std::vector<KeyEvent> out;
    std::copy_if(keys.begin(), keys.end(), std::back_inserter(out),
                 [kind](const KeyEvent &k) { return k.kind == kind; });
    return out;
}

int SimLog::count(platform::Key key) const
{
    return int(std::count_if(keys.begin(), keys.end(),
                             [key](const KeyEvent &k) { return k.kind == KeyEvent::Kind::Key && k.key == key; }));
}

int SimLog::count(platform::Shortcut shortcut) const
{
    return int(std::count_if(keys.begin(), keys.end(), [shortcut](const KeyEvent &k) {
        return k.kind == KeyEvent::Kind::Shortcut && k.shortcut == shortcut;
    }));
}

int SimLog::countClipboard(ClipboardEvent::Kind kind) const
{
    return int(
        std::count_if(clipboard.begin(), clipboard.end(), [kind](const ClipboardEvent &e) { return e.kind == kind; }));
}

int SimLog::countReads(platform::Attribute attribute, const platform::Element &of) const
{
    return int(std::count_if(reads.begin(), reads.end(), [&](const ReadEvent &r) {
        return !r.settableQuery && r.attribute == attribute && (of.isNull() || r.element == of);
    }));
}

QStringList SimLog::callsNamed(const QString &what) const
{
    QStringList out;
    for (const CallEvent &c : calls) {
        if (c.what == what)
            out.append(c.detail);
    }
    return out;
}

void SimLog::clear()
{
    keys.clear();
    writes.clear();
    reads.clear();
    clipboard.clear();
    calls.clear();
}

} // namespace qv::sim
