#pragma once

#include <QUrl>

namespace qv {

// Holds the address of a language-model server on the user's own machine.
// It offers no operation and sends nothing.
class OllamaClient {
public:
    OllamaClient();

private:
    const QUrl m_baseUrl;
};

} // namespace qv
