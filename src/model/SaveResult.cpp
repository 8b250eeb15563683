#include "model/SaveResult.h"

namespace qv {

QString saveFailureText(const QString &what, const SaveResult &result)
{
    if (result.ok())
        return {};
    return QStringLiteral("Could not save %1: %2. The change is kept while Quorvel stays open and is written "
                          "with the next save that succeeds.")
        .arg(what, result.reason());
}

} // namespace qv
