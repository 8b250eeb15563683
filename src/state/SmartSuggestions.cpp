#include "state/SmartSuggestions.h"

#include "core/Text.h"

#include <algorithm>
#include <cmath>

namespace qv::state::smart {

namespace {

// Whitespace-separated pieces of a text, empty ones dropped; lengths in characters.
struct Words {
    QStringList words;
    qint64 totalLength = 0;
};

Words splitWords(const QString &text)
{
    Words out;
    QString current;
    int currentLength = 0;
    for (const QString &cluster : text::graphemes(text)) {
        if (text::isWhitespace(cluster)) {
            if (!current.isEmpty()) {
                out.words << current;
                out.totalLength += currentLength;
            }
            current.clear();
            currentLength = 0;
        } else {
            current += cluster;
            ++currentLength;
        }
    }
    if (!current.isEmpty()) {
        out.words << current;
        out.totalLength += currentLength;
    }
    return out;
}

int sentenceCount(const QString &text)
{
    int count = 0;
    bool inPiece = false;
    for (const QString &cluster : text::graphemes(text)) {
        const bool stop = cluster == u"." || cluster == u"!" || cluster == u"?";
        if (stop) {
            inPiece = false;
        } else if (!inPiece) {
            inPiece = true;
            ++count;
        }
    }
    return count;
}

QString firstLine(const QString &text)
{
    QString line;
    for (const QString &cluster : text::graphemes(text)) {
        if (text::isNewline(cluster))
            break;
        line += cluster;
    }
    return line;
}

double typingRate(const QString &preset)
{
    if (preset == u"timed")
        return 494.0;
    if (preset == u"accurate")
        return 322.4;
    return 400.4;
}

} // namespace

const QStringList &argumentMarkers()
{
    static const QStringList m{"therefore", "however", "should", "must", "because", "argue", "evidence"};
    return m;
}
const QStringList &analysisMarkers()
{
    static const QStringList m{"analyze", "analysis", "impact", "theme", "symbol", "contrast"};
    return m;
}
const QStringList &narrativeMarkers()
{
    static const QStringList m{"i ", "we ", "my ", "our ", "story", "moment", "remember"};
    return m;
}
const QStringList &expositionMarkers()
{
    static const QStringList m{"explain", "define", "overview", "process", "steps", "describe"};
    return m;
}

int nonWhitespaceCount(const QString &text)
{
    int n = 0;
    for (const QString &cluster : text::graphemes(text))
        if (!text::isWhitespace(cluster))
            ++n;
    return n;
}

int countMatches(const QString &text, const QStringList &markers)
{
    return int(std::count_if(markers.begin(), markers.end(), [&](const QString &m) { return text.contains(m); }));
}

SmartProfile smartDefaults(const QString &text, const StoredDefaults &stored)
{
    const QString t = text::trimmed(text);
    SmartProfile profile;
    profile.preset = stored.preset;
    if (t.isEmpty()) {
        profile.grade = stored.grade;
        profile.review = stored.review;
        profile.essayType = QStringLiteral("Draft");
        profile.predictedMinutes = 0;
        return profile;
    }

    const int n = nonWhitespaceCount(t);
    const Words words = splitWords(t);
    const qsizetype wordCount = words.words.size();
    const int sentences = sentenceCount(t);
    const QString lower = t.toLower();
    const int a = countMatches(lower, argumentMarkers());
    const int b = countMatches(lower, analysisMarkers());
    const int c = countMatches(lower, narrativeMarkers());
    const int d = countMatches(lower, expositionMarkers());

    const double w = wordCount > 0 ? double(words.totalLength) / double(wordCount) - 4.2 : -4.2;
    const double s = sentences > 0 ? double(wordCount) / double(sentences) - 11.0 : -11.0;

    double score = 0;
    score += std::min(double(n) / 2200.0, 2.4);
    score += w >= 0 ? std::min(0.7 * w, 1.4) : 0.0;
    score += s >= 0 ? std::min(0.12 * s, 1.2) : 0.0;
    score += std::min(0.18 * double(b + d), 0.8);
    score += std::min(0.15 * double(a), 0.6);

    profile.grade = score < 1.45   ? QStringLiteral("9")
                    : score < 2.45 ? QStringLiteral("10")
                    : score < 3.35 ? QStringLiteral("11")
                                   : QStringLiteral("12");
    profile.review = n < 1800 ? QStringLiteral("light") : n < 5200 ? QStringLiteral("medium") : QStringLiteral("heavy");

    if (a >= 3 || lower.contains(u"therefore"))
        profile.essayType = QStringLiteral("Argumentative");
    else if (b >= 3)
        profile.essayType = QStringLiteral("Analytical");
    else if (c >= 3)
        profile.essayType = QStringLiteral("Narrative");
    else if (d >= 3)
        profile.essayType = QStringLiteral("Expository");
    else if (wordCount < 250)
        profile.essayType = QStringLiteral("Short response");
    else
        profile.essayType = QStringLiteral("Essay");

    const double minutes = std::ceil(double(std::max(n, 1)) / typingRate(stored.preset));
    profile.predictedMinutes = std::max(1, int(minutes));

    const QStringList titleWords = splitWords(firstLine(t)).words;
    if (!titleWords.isEmpty())
        profile.title = titleWords.mid(0, 6).join(QLatin1Char(' '));
    return profile;
}

QString smartReason(const QString &text)
{
    const QString t = text::trimmed(text);
    if (t.isEmpty())
        return QStringLiteral("Defaults selected from your preferences.");
    const int n = nonWhitespaceCount(t);
    if (n > 5200)
        return QStringLiteral("High character count detected, so review is heavier and timing is extended.");
    const Words words = splitWords(t);
    if (!words.words.isEmpty() && double(words.totalLength) / double(words.words.size()) >= 6.0)
        return QStringLiteral("Complex wording suggests a higher grade profile.");
    if (n < 1800 || words.words.size() < 250)
        return QStringLiteral("Short response detected, so review is lighter.");
    return QStringLiteral("Balanced profile based on character length, sentence structure, and complexity.");
}

} // namespace qv::state::smart
