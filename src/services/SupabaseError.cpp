#include "services/SupabaseError.h"

namespace qv {

SupabaseError SupabaseError::backend(QString message, std::optional<int> status)
{
    return {Kind::Backend, std::move(message), status};
}

SupabaseError SupabaseError::transport(QString message)
{
    return {Kind::Transport, std::move(message), std::nullopt};
}

SupabaseError SupabaseError::decoding(QString message)
{
    return {Kind::Decoding, std::move(message), std::nullopt};
}

bool SupabaseError::isAuthorizationFailure() const
{
    return kind == Kind::Backend && (statusCode == 401 || statusCode == 403);
}

} // namespace qv
