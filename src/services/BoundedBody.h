#pragma once

#include <QByteArray>

#include <memory>
#include <utility>

class QNetworkReply;

namespace qv {

// The body of one network answer, taken as it arrives and never held past a
// cap. The network layer may buffer only a little ahead of the reader, and
// the reply is aborted the moment the length it declares or the bytes it has
// delivered pass the cap, so a server that never stops sending costs no more
// memory than a small multiple of the cap.
class BoundedBody {
public:
    // What the network layer may hold for one reply before it is taken.
    static constexpr qint64 kReadBufferBytes = 16 * 1024;

    // Bounds what `reply` buffers and takes its body from now on as it
    // arrives. The result lives as long as the reply can signal.
    static std::shared_ptr<BoundedBody> attach(QNetworkReply *reply, qsizetype cap);

    explicit BoundedBody(qsizetype cap) : m_cap(cap) {}

    // Takes what has arrived; false, with the reply aborted, once the body
    // passes the cap (by what arrived or by what the answer declares).
    bool take(QNetworkReply &reply);
    bool tooLarge() const { return m_tooLarge; }
    QByteArray release() { return std::exchange(m_body, {}); }

private:
    void refuse(QNetworkReply &reply);

    qsizetype m_cap;
    QByteArray m_body;
    bool m_tooLarge = false;
};

} // namespace qv
