#include "platform/linux/OffsetUnits.h"

#include "core/Text.h"

namespace qv::linuxdesktop::offsets {

std::optional<OffsetUnit> detect(QStringView text, qint64 reportedCount)
{
    const qint64 utf16 = text.size();
    const qint64 codePoints = text::codePointCount(text);
    if (utf16 == codePoints)
        return std::nullopt;
    if (reportedCount == utf16)
        return OffsetUnit::Utf16;
    if (reportedCount == codePoints)
        return OffsetUnit::CodePoints;
    return std::nullopt;
}

OffsetUnit resolve(QStringView text, qint64 reportedCount, const QString &toolkitName)
{
    if (auto unit = detect(text, reportedCount))
        return *unit;
    return toolkitName.compare(QLatin1String("Qt"), Qt::CaseInsensitive) == 0 ? OffsetUnit::Utf16
                                                                               : OffsetUnit::CodePoints;
}

qint64 toUtf16(QStringView text, qint64 offset, OffsetUnit unit)
{
    if (offset <= 0)
        return 0;
    if (unit == OffsetUnit::Utf16)
        return offset;
    qint64 pos = 0;
    qint64 counted = 0;
    while (pos < text.size() && counted < offset) {
        if (text.at(pos).isHighSurrogate() && pos + 1 < text.size() && text.at(pos + 1).isLowSurrogate())
            pos += 2;
        else
            pos += 1;
        ++counted;
    }
    return pos + (offset - counted);
}

std::optional<qint64> fromUtf16(QStringView text, qint64 offset, OffsetUnit unit)
{
    if (offset < 0)
        return std::nullopt;
    if (offset > 0 && offset < text.size() && text.at(offset - 1).isHighSurrogate() && text.at(offset).isLowSurrogate())
        return std::nullopt;
    if (unit == OffsetUnit::Utf16)
        return offset;
    if (offset >= text.size())
        return text::codePointCount(text) + (offset - text.size());
    return text::codePointCount(text.first(offset));
}

} // namespace qv::linuxdesktop::offsets
