#include "services/BoundedBody.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <algorithm>

namespace qv {

std::shared_ptr<BoundedBody> BoundedBody::attach(QNetworkReply *reply, qsizetype cap)
{
    auto body = std::make_shared<BoundedBody>(cap);
    // Without a bound the network thread reads as fast as the server sends,
    // whatever the reader has taken.
    reply->setReadBufferSize(kReadBufferBytes);
    // A request with a body starts its transfer only from the event loop,
    // and the bound set before that start does not reach it: set it again
    // once the transfer is under way.
    QTimer::singleShot(0, reply, [reply] { reply->setReadBufferSize(kReadBufferBytes); });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, body] { body->take(*reply); });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, body] { body->take(*reply); });
    return body;
}

bool BoundedBody::take(QNetworkReply &reply)
{
    if (m_tooLarge)
        return false;
    const QVariant declared = reply.header(QNetworkRequest::ContentLengthHeader);
    if (declared.isValid() && declared.toLongLong() > m_cap) {
        refuse(reply);
        return false;
    }
    if (!reply.isOpen())
        return true; // aborted for another reason: nothing more to take
    const qint64 available = reply.bytesAvailable();
    if (available <= 0)
        return true;
    if (available > m_cap - m_body.size()) {
        refuse(reply);
        return false;
    }
    // Grown at most to the cap, so the body never holds room past it.
    const qsizetype needed = m_body.size() + qsizetype(available);
    if (m_body.capacity() < needed)
        m_body.reserve(std::min(m_cap, std::max(needed, 2 * m_body.size())));
    const qsizetype before = m_body.size();
    m_body.resize(needed);
    const qint64 got = reply.read(m_body.data() + before, available);
    m_body.resize(before + std::max<qint64>(got, 0));
    return true;
}

void BoundedBody::refuse(QNetworkReply &reply)
{
    m_tooLarge = true;
    m_body = QByteArray();
    // Aborting may finish the reply at once; the flag is set before that.
    reply.abort();
}

} // namespace qv
