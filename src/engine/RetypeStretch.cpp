#include "engine/RetypeStretch.h"

#include "core/Text.h"
#include "engine/WordKey.h"
#include "engine/WordTables.h"

#include <QRegularExpression>

namespace qv::engine {

namespace {
bool isSpaceUnit(QChar c) { return text::isWhitespaceScalar(c.unicode()); }
} // namespace

int RetypeStretch::lastWordsStart(const QString &buffer, int count)
{
    int pos = int(buffer.size());
    int start = pos;
    for (int found = 0; found < count; ++found) {
        while (pos > 0 && isSpaceUnit(buffer.at(pos - 1)))
            --pos;
        if (pos == 0)
            break;
        while (pos > 0 && !isSpaceUnit(buffer.at(pos - 1)))
            --pos;
        start = pos;
    }
    return start;
}

std::optional<StretchEdit> RetypeStretch::firstWordSwap(const QString &text)
{
    const auto &swaps = WordTables::standard().styleSwapMap;
    const int length = int(text.size());
    for (int pos = 0; pos < length;) {
        if (isSpaceUnit(text.at(pos))) {
            ++pos;
            continue;
        }
        int end = pos;
        while (end < length && !isSpaceUnit(text.at(end)))
            ++end;
        const QString word = text.mid(pos, end - pos);
        const auto found = swaps.constFind(wordKey(word));
        if (found != swaps.constEnd()) {
            if (!word.contains(found.key()))
                return std::nullopt;
            QString swapped = word;
            swapped.replace(found.key(), found.value());
            return StretchEdit{pos, end - pos, swapped};
        }
        pos = end;
    }
    return std::nullopt;
}

std::optional<StretchEdit> RetypeStretch::wordLetters(const QString &buffer, const QString &word,
                                                      const QList<int> &offsets, const QString &replacement)
{
    const QStringList chars = text::graphemes(word);
    if (chars.isEmpty() || chars.size() != offsets.size())
        return std::nullopt;
    for (qsizetype i = 0; i < chars.size(); ++i)
        if (QStringView(buffer).mid(offsets.at(i)).left(chars.at(i).size()) != chars.at(i))
            return std::nullopt;
    qsizetype first = 0;
    qsizetype last = chars.size() - 1;
    while (first <= last && !text::isLetter(chars.at(first)))
        ++first;
    while (last >= first && !text::isLetter(chars.at(last)))
        --last;
    if (first > last)
        return std::nullopt;
    const int start = offsets.at(first);
    const int end = offsets.at(last) + int(chars.at(last).size());
    if (end < start)
        return std::nullopt;
    return StretchEdit{start, end - start, replacement};
}

QString RetypeStretch::Sentence::withLeadingSpace() const { return text.mid(start, end - start); }

std::optional<RetypeStretch::Sentence> RetypeStretch::lastSentence(const QString &buffer)
{
    static const QRegularExpression sentence(QStringLiteral("[^.!?]+[.!?]"));
    std::optional<Sentence> out;
    for (auto it = sentence.globalMatch(buffer); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        Sentence s;
        s.start = int(m.capturedStart());
        s.end = int(m.capturedEnd());
        s.ownStart = s.start;
        while (s.ownStart < s.end && isSpaceUnit(buffer.at(s.ownStart)))
            ++s.ownStart;
        out = s;
    }
    if (out)
        out->text = buffer;
    return out;
}

} // namespace qv::engine
