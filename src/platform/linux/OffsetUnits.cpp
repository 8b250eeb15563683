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

std::optional<std::pair<qint64, qint64>> toWrite(QStringView text, qint64 from, qint64 to, OffsetUnit unit)
{
    if (from < 0 || to < from)
        return std::nullopt;
    const auto start = fromUtf16(text, std::min<qint64>(from, text.size()), unit);
    const auto end = fromUtf16(text, std::min<qint64>(to, text.size()), unit);
    if (!start || !end)
        return std::nullopt;
    return std::pair{*start, *end};
}

QString withoutAstralMarks(QStringView reported)
{
    QString out;
    out.reserve(reported.size());
    for (qsizetype i = 0; i < reported.size(); ++i) {
        out += reported.at(i);
        if (reported.at(i).isLowSurrogate() && i > 0 && reported.at(i - 1).isHighSurrogate() && i + 1 < reported.size()
            && reported.at(i + 1) == QChar(0xFEFF))
            ++i;
    }
    return out;
}

std::optional<qint64> countedTwice(QStringView text, qint64 utf16)
{
    const std::optional<qint64> once = fromUtf16(text, utf16, OffsetUnit::CodePoints);
    return once ? fromUtf16(text, *once, OffsetUnit::CodePoints) : std::nullopt;
}

std::optional<std::pair<qint64, qint64>> reportedSelection(QStringView text, qint64 start, qint64 end, qint64 caret,
                                                           OffsetUnit unit,
                                                           std::optional<std::pair<qint64, qint64>> written)
{
    if (start > end)
        std::swap(start, end);
    if (start < end) {
        const std::pair once{toUtf16(text, start, unit), toUtf16(text, end, unit)};
        if (unit == OffsetUnit::Utf16)
            return once;
        const std::pair twice{toUtf16(text, once.first, unit), toUtf16(text, once.second, unit)};
        if (written && (*written == twice || *written == once) && written->second == caret)
            return written;
        // Counted twice is how Chromium reports it today; counted once, a
        // report is only taken where the caret rules the other reading out.
        if (twice.second == caret || twice.first == caret)
            return twice;
        if (once.second == caret || once.first == caret)
            return once;
        // Read twice even when the caret fits neither: a selection still
        // being applied reads again, and a wrong guess would stop that.
        return twice;
    }
    if (written && written->first < written->second && written->second == caret
        && (!countedTwice(text, written->first) || !countedTwice(text, written->second)))
        return written;
    return std::nullopt;
}

} // namespace qv::linuxdesktop::offsets
