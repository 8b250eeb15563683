// libFuzzer entry: feeds arbitrary bytes to both file decoders and checks
// that whatever they accept can be written and reads back to the same bytes.
#include "model/RecordCoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

template <typename Decode, typename Encode>
void checkRoundTrip(const QByteArray &bytes, Decode decode, Encode encode, const QDateTime &now)
{
    const auto first = decode(bytes, now);
    if (!first.ok())
        return;
    const auto out = encode(*first.records, nullptr);
    if (!out)
        std::abort();
    const auto again = decode(*out, now);
    if (!again.ok() || encode(*again.records, nullptr) != out)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QDateTime now(QDate(2026, 12, 6), QTime(10, 15), Qt::UTC);
    checkRoundTrip(bytes, qv::coding::decodeProjects, qv::coding::encodeProjects, now);
    checkRoundTrip(bytes, qv::coding::decodeStudyProjects, qv::coding::encodeStudyProjects, now);
    return 0;
}
