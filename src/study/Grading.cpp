#include "study/Grading.h"

#include "core/Text.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace qv::study {

QString normalize(const QString &text, StudyGrading grading)
{
    QString out = text::trimmed(text).toLower();
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
    const QString r = normalize(response, grading);
    const QString c = normalize(correct, grading);
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
