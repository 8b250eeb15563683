#include "engine/Rewording.h"

#include "core/Text.h"
#include "engine/WordKey.h"
#include "engine/WordTables.h"

#include <QRegularExpression>

#include <algorithm>

namespace qv::engine {

QStringList splitWords(const QString &text) { return text.split(QLatin1Char(' '), Qt::SkipEmptyParts); }

QStringList matchingSentences(const QString &text)
{
    static const QRegularExpression sentence(QStringLiteral("[^.!?]+[.!?]"));
    QStringList out;
    for (auto it = sentence.globalMatch(text); it.hasNext();)
        out.append(it.next().captured());
    return out;
}

QString rewriteSentence(const QString &sentence)
{
    QString s = applyWordSwap(text::trimmed(sentence));
    if (s.startsWith(QLatin1String("This ")))
        s.replace(QLatin1String("This "), QLatin1String("That "));
    const qsizetype is = s.indexOf(QLatin1String(" is "));
    if (is >= 0)
        s.replace(is, 4, QLatin1String(" tends to be "));
    return s;
}

QString applyWordSwap(const QString &text)
{
    QStringList words = splitWords(text);
    const auto &swaps = WordTables::standard().styleSwapMap;
    for (QString &word : words) {
        const QString key = wordKey(word);
        const auto found = swaps.constFind(key);
        if (found == swaps.constEnd())
            continue;
        word.replace(key, found.value());
        return words.join(QLatin1Char(' '));
    }
    return text;
}

QString removeFillers(const QString &text)
{
    QStringList words = splitWords(text);
    if (words.size() < 6)
        return text;
    const auto &fillers = WordTables::standard().fillerWords;
    for (qsizetype i = 0; i < words.size(); i += 2) {
        // A filler carrying punctuation ("really." ending a sentence,
        // "just," ending a clause, "(very") stays: dropping it would take the
        // sentence's punctuation with it.
        const QString key = wordKey(words.at(i));
        if (key.size() == words.at(i).size() && fillers.contains(key)) {
            words.removeAt(i);
            break;
        }
    }
    return words.join(QLatin1Char(' '));
}

QString tailWords(const QString &text, int count)
{
    const QStringList words = splitWords(text);
    const qsizetype take = std::clamp<qsizetype>(count, 0, words.size());
    const QString joined = words.mid(words.size() - take).join(QLatin1Char(' '));
    return joined.isEmpty() ? QString() : joined + QLatin1Char(' ');
}

bool isHeadingLine(const QString &text)
{
    const qsizetype lastBreak = text.lastIndexOf(QLatin1Char('\n'));
    QStringView line = QStringView(text).mid(lastBreak + 1);
    while (!line.isEmpty() && (line.front() == u' ' || line.front() == u'\t'))
        line = line.mid(1);
    while (!line.isEmpty() && (line.back() == u' ' || line.back() == u'\t'))
        line.chop(1);
    if (line.isEmpty())
        return false;
    const int characters = text::graphemeCount(line);
    if (characters < 43 && line == line.toString().toUpper())
        return true;
    return characters < 49 && line.endsWith(u':');
}

} // namespace qv::engine
