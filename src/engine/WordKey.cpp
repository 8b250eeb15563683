#include "engine/WordKey.h"

#include <QChar>

namespace qv::engine {

namespace {
bool isLetterScalar(char32_t c) { return QChar::isLetter(c); }

bool isLetterOrMarkScalar(char32_t c) { return QChar::isLetter(c) || QChar::isMark(c); }

// Scalar at `i` and its length in UTF-16 units.
char32_t scalarAt(QStringView s, qsizetype i, int *units)
{
    const QChar c = s.at(i);
    if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, s.at(i + 1));
    }
    *units = 1;
    return c.unicode();
}

// Scalar ending at `end` (exclusive) and its length in UTF-16 units.
char32_t scalarBefore(QStringView s, qsizetype end, int *units)
{
    const QChar c = s.at(end - 1);
    if (c.isLowSurrogate() && end >= 2 && s.at(end - 2).isHighSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(s.at(end - 2), c);
    }
    *units = 1;
    return c.unicode();
}

QString trimEnds(QStringView word, bool (*keep)(char32_t))
{
    qsizetype begin = 0;
    qsizetype end = word.size();
    int units = 1;
    while (begin < end && !keep(scalarAt(word, begin, &units)))
        begin += units;
    while (end > begin && !keep(scalarBefore(word, end, &units)))
        end -= units;
    return word.mid(begin, end - begin).toString().toLower();
}
} // namespace

QString wordKey(QStringView word) { return trimEnds(word, isLetterOrMarkScalar); }

QString letterCore(QStringView word) { return trimEnds(word, isLetterScalar); }

} // namespace qv::engine
