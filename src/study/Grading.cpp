#include "study/Grading.h"

#include "core/Text.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace qv::study {

namespace {

// Case-ignorable code points of Unicode's casing context: marks, format
// characters, modifier letters and symbols, and the mid-word punctuation
// (apostrophes, full stop, colon, middle dot) that may sit inside a word.
bool isCaseIgnorable(char32_t cp)
{
    switch (QChar::category(cp)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
    case QChar::Letter_Modifier:
    case QChar::Symbol_Modifier:
        return true;
    default:
        break;
    }
    switch (cp) {
    case U'\'':
    case U'.':
    case U':':
    case U'\u00B7':
    case U'\u0387':
    case U'\u05F4':
    case U'\u2018':
    case U'\u2019':
    case U'\u2024':
    case U'\u2027':
    case U'\uFE13':
    case U'\uFE52':
    case U'\uFE55':
    case U'\uFF07':
    case U'\uFF0E':
    case U'\uFF1A':
        return true;
    default:
        return false;
    }
}

bool isCased(char32_t cp) { return QChar::isLower(cp) || QChar::isUpper(cp) || QChar::isTitleCase(cp); }

// Whether the capital sigma at `at` ends a word (Unicode's Final_Sigma
// condition): a cased letter comes before it and none after it, skipping
// case-ignorable code points on both sides.
bool isFinalSigma(const QList<uint> &cps, qsizetype at)
{
    qsizetype i = at - 1;
    while (i >= 0 && isCaseIgnorable(cps[i]))
        --i;
    if (i < 0 || !isCased(cps[i]))
        return false;
    qsizetype j = at + 1;
    while (j < cps.size() && isCaseIgnorable(cps[j]))
        ++j;
    return j >= cps.size() || !isCased(cps[j]);
}

} // namespace

QString lowerCased(const QString &text)
{
    constexpr char32_t capitalSigma = U'\u03A3';
    if (!text.contains(QChar(char16_t(capitalSigma))))
        return text.toLower();
    // Qt maps every capital sigma to the medial form; the final form is
    // chosen from the letters around it.
    const QList<uint> cps = text.toUcs4();
    QString out;
    out.reserve(text.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < cps.size(); ++i) {
        if (cps[i] != capitalSigma)
            continue;
        out +=
            QString::fromUcs4(reinterpret_cast<const char32_t *>(cps.constData()) + runStart, i - runStart).toLower();
        out += QChar(isFinalSigma(cps, i) ? u'\u03C2' : u'\u03C3');
        runStart = i + 1;
    }
    out += QString::fromUcs4(reinterpret_cast<const char32_t *>(cps.constData()) + runStart, cps.size() - runStart)
               .toLower();
    return out;
}

QString normalize(const QString &text, StudyGrading grading)
{
    QString out = lowerCased(text::trimmed(text));
    if (grading == StudyGrading::exact)
        return out;
    // By code point, so letters beyond the basic plane (CJK extensions, and
    // so on) are kept whole.
    QString kept;
    kept.reserve(out.size());
    for (const char32_t cp : out.toUcs4()) {
        if (QChar::isLetterOrNumber(cp))
            kept.append(QString::fromUcs4(&cp, 1));
    }
    return kept;
}

bool sameText(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    return a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

int levenshtein(const QString &a, const QString &b)
{
    QStringList left = text::graphemes(a);
    QStringList right = text::graphemes(b);
    for (QString &g : left)
        g = g.normalized(QString::NormalizationForm_C);
    for (QString &g : right)
        g = g.normalized(QString::NormalizationForm_C);
    const qsizetype n = left.size();
    const qsizetype m = right.size();
    // Two rows of the table are enough: each row reads only the one above.
    std::vector<int> previous(std::size_t(m) + 1);
    std::vector<int> current(std::size_t(m) + 1);
    for (qsizetype j = 0; j <= m; ++j)
        previous[std::size_t(j)] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        current[0] = int(i);
        for (qsizetype j = 1; j <= m; ++j) {
            const std::size_t uj = std::size_t(j);
            if (left[i - 1] == right[j - 1])
                current[uj] = previous[uj - 1];
            else
                current[uj] = 1 + std::min({previous[uj], current[uj - 1], previous[uj - 1]});
        }
        std::swap(previous, current);
    }
    return previous[std::size_t(m)];
}

bool gradeAnswer(const QString &response, const QString &correct, StudyGrading grading)
{
    QString c = normalize(correct, grading);
    // A correct answer made only of symbols or punctuation ("≠", "?!") would
    // leave nothing to compare at a lenient level, so it is compared exactly.
    if (c.isEmpty() && grading != StudyGrading::exact) {
        grading = StudyGrading::exact;
        c = normalize(correct, grading);
    }
    const QString r = normalize(response, grading);
    if (r.isEmpty())
        return false;
    if (sameText(r, c))
        return true;
    switch (grading) {
    case StudyGrading::veryLenient:
        return levenshtein(r, c) < 3;
    case StudyGrading::lenient:
        return levenshtein(r, c) < 2;
    case StudyGrading::exact:
        return false;
    }
    return false;
}

bool isTrueFalseText(const QString &text)
{
    const QString n = normalize(text, StudyGrading::exact);
    return n == u"true" || n == u"false";
}

void appendDistinctChoices(QStringList &choices, const QStringList &candidates, qsizetype limit)
{
    QStringList seen;
    for (const QString &choice : std::as_const(choices))
        seen.append(normalize(choice, StudyGrading::exact));
    for (const QString &candidate : candidates) {
        if (choices.size() >= limit)
            return;
        const QString key = normalize(candidate, StudyGrading::exact);
        if (seen.contains(key))
            continue;
        seen.append(key);
        choices.append(candidate);
    }
}

} // namespace qv::study
