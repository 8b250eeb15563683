#include "services/HttpTransport.h"

namespace qv {

QByteArray HttpRequest::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

QString HttpTransport::timedOutMessage() { return QStringLiteral("The request timed out."); }

} // namespace qv
