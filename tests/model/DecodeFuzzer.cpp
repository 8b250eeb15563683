// libFuzzer entry: feeds arbitrary bytes to both file decoders and checks
// that whatever they accept can be written and reads back to the same bytes.
#include "model/RecordCoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QDateTime now(QDate(2026, 12, 6), QTime(10, 15), Qt::UTC);
    if (const auto projects = qv::coding::decodeProjects(bytes, now); projects.ok()) {
        const auto out = qv::coding::encodeProjects(*projects.records);
        if (!out)
            std::abort();
        const auto again = qv::coding::decodeProjects(*out, now);
        if (!again.ok() || qv::coding::encodeProjects(*again.records) != out)
            std::abort();
    }
    if (const auto sets = qv::coding::decodeStudyProjects(bytes, now); sets.ok()) {
        const auto out = qv::coding::encodeStudyProjects(*sets.records);
        if (!out)
            std::abort();
        const auto again = qv::coding::decodeStudyProjects(*out, now);
        if (!again.ok() || qv::coding::encodeStudyProjects(*again.records) != out)
            std::abort();
    }
    return 0;
}
