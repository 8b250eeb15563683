#include "services/OllamaClient.h"

namespace qv {

OllamaClient::OllamaClient() : m_baseUrl(QStringLiteral("http://127.0.0.1:11434")) {}

} // namespace qv
