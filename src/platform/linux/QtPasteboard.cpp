#include "platform/linux/QtPasteboard.h"

#include "core/Scheduler.h"
#include "platform/linux/ClipboardFormats.h"
#include "platform/linux/SlowCalls.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace qv::linuxdesktop {

QtPasteboard::QtPasteboard(Scheduler &scheduler, std::function<quint64()> ownerKey, QObject *parent)
    : QObject(parent), m_scheduler(scheduler), m_ownerKey(std::move(ownerKey)), m_reader(scheduler)
{
    if (QClipboard *cb = QGuiApplication::clipboard()) {
        connect(cb, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
            if (mode == QClipboard::Clipboard)
                ++m_changeCount;
        });
    }
}

bool QtPasteboard::ownerUsable(quint64 &owner)
{
    QClipboard *cb = QGuiApplication::clipboard();
    if (!cb)
        return false;
    owner = 0;
    if (cb->ownsClipboard())
        return true;
    owner = m_ownerKey ? m_ownerKey() : 0;
    return owner == 0 || !m_slowOwners.isBackedOff(qint64(owner), m_scheduler.nowNs());
}

void QtPasteboard::noteRead(quint64 owner, qint64 startNs, const QString &what)
{
    reportSlowCall(m_scheduler.nowNs() - startNs, QStringLiteral("clipboard read (%1)").arg(what));
    if (owner != 0 && m_scheduler.nowNs() - startNs >= kSlowReadNs)
        m_slowOwners.mark(qint64(owner), m_scheduler.nowNs());
}

QtPasteboard::~QtPasteboard()
{
    if (m_forgetTimer)
        m_scheduler.cancel(*m_forgetTimer);
}

void QtPasteboard::forgetRead()
{
    m_lastRead.reset();
    if (m_forgetTimer)
        m_scheduler.cancel(*m_forgetTimer);
    m_forgetTimer.reset();
}

platform::TypedData QtPasteboard::directData()
{
    quint64 owner = 0;
    if (!ownerUsable(owner))
        return {};
    if (owner == 0)
        return readAll(owner); // ours, or no owner: nothing to wait for
    if (m_lastRead && m_lastRead->changeCount == m_changeCount && m_lastRead->owner == owner)
        return m_lastRead->data;
    forgetRead();
    platform::TypedData out = readAll(owner);
    m_lastRead = LastRead{m_changeCount, owner, out};
    m_forgetTimer = m_scheduler.singleShot(0, [this] {
        m_forgetTimer.reset();
        m_lastRead.reset();
    });
    return out;
}

platform::TypedData QtPasteboard::readAll(quint64 owner)
{
    platform::TypedData out;
    const qint64 start = m_scheduler.nowNs();
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!mime)
        return out;
    const QStringList formats = mime->formats();
    noteRead(owner, start, QStringLiteral("formats"));
    for (const QString &format : formats) {
        if (clipboard::isMetaTarget(format))
            continue;
        if (owner != 0 && m_slowOwners.isBackedOff(qint64(owner), m_scheduler.nowNs()))
            break; // the owner stopped answering: keep what we have
        const qint64 t0 = m_scheduler.nowNs();
        const QByteArray data = mime->data(format);
        noteRead(owner, t0, format);
        if (!data.isEmpty())
            out.append({format, data});
    }
    return out;
}

QList<platform::TypedData> QtPasteboard::items()
{
    const platform::TypedData data = directData();
    if (data.isEmpty())
        return {};
    return {data};
}

void QtPasteboard::clear()
{
    forgetRead();
    if (QClipboard *cb = QGuiApplication::clipboard())
        cb->clear(QClipboard::Clipboard);
}

void QtPasteboard::writeItems(const QList<platform::TypedData> &items)
{
    forgetRead();
    QClipboard *cb = QGuiApplication::clipboard();
    if (!cb)
        return;
    // One X11 selection holds one item: later items add only the types the
    // earlier ones did not have.
    auto *mime = new QMimeData;
    for (const auto &item : items)
        for (const auto &[type, data] : item)
            if (!mime->hasFormat(type) && !clipboard::isMetaTarget(type))
                mime->setData(type, data);
    if (mime->formats().isEmpty()) {
        delete mime;
        cb->clear(QClipboard::Clipboard);
        return;
    }
    cb->setMimeData(mime, QClipboard::Clipboard);
}

void QtPasteboard::setDirectData(const QString &type, const QByteArray &data)
{
    forgetRead();
    QClipboard *cb = QGuiApplication::clipboard();
    if (!cb || clipboard::isMetaTarget(type))
        return;
    auto *mime = new QMimeData;
    // Adds to what we put there ourselves; another owner's contents are
    // replaced, as a fresh write of the clipboard does.
    if (cb->ownsClipboard()) {
        if (const QMimeData *current = cb->mimeData(QClipboard::Clipboard))
            for (const QString &format : current->formats())
                if (format != type)
                    mime->setData(format, current->data(format));
    }
    mime->setData(type, data);
    cb->setMimeData(mime, QClipboard::Clipboard);
}

std::optional<QString> QtPasteboard::plainText()
{
    quint64 owner = 0;
    if (!ownerUsable(owner))
        return std::nullopt;
    const qint64 start = m_scheduler.nowNs();
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!mime || !mime->hasText()) {
        noteRead(owner, start, QStringLiteral("no text"));
        return std::nullopt;
    }
    // GTK serves "text/plain;charset=utf-8" (which Qt's text() prefers)
    // with CRLF line ends; plain "text/plain", which Qt fetches through the
    // UTF8_STRING target, holds the text as it stands.
    QString text;
    if (!QGuiApplication::clipboard()->ownsClipboard()) {
        const QByteArray utf8 = mime->data(QStringLiteral("text/plain"));
        if (!utf8.isEmpty())
            text = QString::fromUtf8(utf8);
    }
    if (text.isEmpty())
        text = mime->text();
    noteRead(owner, start, QStringLiteral("plain text"));
    return text;
}

bool QtPasteboard::foreignOwner(quint64 &owner)
{
    owner = 0;
    QClipboard *cb = QGuiApplication::clipboard();
    if (!cb || cb->ownsClipboard() || !m_reader.usable() || !m_ownerKey)
        return false;
    owner = m_ownerKey();
    return owner != 0;
}

QCoro::Task<platform::ClipboardContents> QtPasteboard::readContents()
{
    platform::ClipboardContents contents;
    quint64 owner = 0;
    if (!foreignOwner(owner)) {
        // Ours or nobody's: nothing to wait for. (Without a display
        // connection of our own, Qt's blocking read is all there is.)
        contents.direct = directData();
        if (!contents.direct.isEmpty())
            contents.items = {contents.direct};
        co_return contents;
    }
    if (m_slowOwners.isBackedOff(qint64(owner), m_scheduler.nowNs())) {
        contents.unread << QStringLiteral("everything (its owner did not answer lately)");
        co_return contents;
    }
    const qint64 changes = m_changeCount;
    const std::optional<QList<QByteArray>> targets = co_await m_reader.targets(kRequestTimeoutNs);
    if (!targets) {
        contents.unread << QStringLiteral("everything (the owner did not list its types)");
        m_slowOwners.mark(qint64(owner), m_scheduler.nowNs());
        co_return contents;
    }
    const QList<clipboard::TypeSource> types = clipboard::restorableTypes(*targets);
    platform::TypedData data;
    bool stopped = false;
    for (const clipboard::TypeSource &source : types) {
        if (stopped) {
            contents.unread << QStringLiteral("%1 (not asked: its owner stopped answering)").arg(source.type);
            continue;
        }
        const X11SelectionReader::Read read = co_await m_reader.read(source.target, kRequestTimeoutNs);
        switch (read.answer) {
        case X11SelectionReader::Answer::Ok:
            if (!read.data.isEmpty())
                data.append({source.type, clipboard::decoded(source, read.data)});
            break;
        case X11SelectionReader::Answer::Refused:
            break; // listed but not given: no data for it, as for a paste
        case X11SelectionReader::Answer::TimedOut:
            stopped = true;
            m_slowOwners.mark(qint64(owner), m_scheduler.nowNs());
            [[fallthrough]];
        case X11SelectionReader::Answer::Failed:
            contents.unread << QStringLiteral("%1 (%2)").arg(source.type, X11SelectionReader::answerText(read.answer));
            break;
        }
    }
    // A copy made meanwhile mixes two clipboards.
    if (m_changeCount != changes || m_ownerKey() != owner)
        contents.unread << QStringLiteral("everything (the clipboard changed while it was read)");
    contents.direct = data;
    if (!data.isEmpty())
        contents.items = {data};
    co_return contents;
}

QCoro::Task<std::optional<QString>> QtPasteboard::readPlainText()
{
    quint64 owner = 0;
    if (!foreignOwner(owner))
        co_return plainText();
    if (m_slowOwners.isBackedOff(qint64(owner), m_scheduler.nowNs()))
        co_return std::nullopt;
    // As plainText() reads it through Qt: UTF8_STRING first (text as it
    // stands), the Latin-1 targets next, GTK's CRLF variant last.
    std::optional<QString> text;
    for (const QByteArray &target : clipboard::plainTextTargets()) {
        const X11SelectionReader::Read read = co_await m_reader.read(target, kRequestTimeoutNs);
        if (read.answer == X11SelectionReader::Answer::TimedOut) {
            m_slowOwners.mark(qint64(owner), m_scheduler.nowNs());
            co_return std::nullopt;
        }
        if (read.answer != X11SelectionReader::Answer::Ok)
            continue;
        const QByteArray bytes = clipboard::decoded({QStringLiteral("text/plain"), target}, read.data);
        if (!bytes.isEmpty())
            co_return QString::fromUtf8(bytes);
        if (!text)
            text = QString();
    }
    co_return text;
}

} // namespace qv::linuxdesktop
