#pragma once

#include <QString>
#include <QUrl>

namespace qv {

// The account backend this build talks to (build settings
// QUORVEL_BACKEND_URL and QUORVEL_BACKEND_ANON_KEY).
class SupabaseConfig {
public:
    static QUrl url();
    static QString anonKey();
};

} // namespace qv
