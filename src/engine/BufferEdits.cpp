#include "engine/BufferEdits.h"

#include "core/Text.h"

#include <algorithm>
#include <cstdlib>

namespace qv::engine {

namespace {
void sortByIndex(QList<DeferredError> &errors)
{
    std::stable_sort(errors.begin(), errors.end(),
                     [](const DeferredError &a, const DeferredError &b) { return a.index < b.index; });
}

bool standsAt(const QString &text, qsizetype at, const QString &sequence)
{
    return !sequence.isEmpty() && at >= 0 && at + sequence.size() <= text.size()
           && QStringView(text).mid(at, sequence.size()) == sequence;
}
} // namespace

int findErrorIndex(const QString &text, int expectedIndex, const QString &wrong)
{
    const int length = int(text.size());
    if (length < 1)
        return -1;
    const int e = std::clamp(expectedIndex, 0, length - 1);
    int best = e;
    int bestDistance = -1;
    if (wrong.size() != 1)
        return e; // a single code unit never equals a longer sequence
    const QChar unit = wrong.at(0);
    for (int p = 0; p < length; ++p) {
        if (text.at(p) != unit)
            continue;
        const int d = std::abs(p - e);
        if (bestDistance < 0 || d < bestDistance) {
            best = p;
            bestDistance = d;
            if (d == 0)
                break;
        }
    }
    return best;
}

QString applyDeferredErrors(const QString &text, QList<DeferredError> errors)
{
    if (errors.isEmpty())
        return text;
    sortByIndex(errors);
    QString current = text;
    qsizetype shift = 0;
    for (const DeferredError &error : errors) {
        const qsizetype at = error.index + shift;
        if (!standsAt(current, at, error.wrong))
            continue;
        current.replace(at, error.wrong.size(), error.correct);
        shift += error.correct.size() - error.wrong.size();
    }
    return current;
}

QList<DeferredError> selectErrors(QList<DeferredError> errors, int count)
{
    if (errors.isEmpty())
        return {};
    sortByIndex(errors);
    const int n = int(errors.size());
    if (n <= count)
        return errors;
    if (count <= 0)
        return {};
    const int step = std::max(n / count, 1);
    QList<DeferredError> taken;
    for (int pos = n - 1; pos >= 0 && taken.size() < count; pos -= step)
        taken.prepend(errors.at(pos));
    return taken;
}

void applyBufferEdit(QString &buffer, QList<DeferredError> &deferredErrors, int start, int deleteCount,
                     const QString &replacement)
{
    const int length = int(buffer.size());
    const int s = std::clamp(start, 0, length);
    const int d = std::clamp(deleteCount, 0, length - s);
    const int r = int(replacement.size());
    const int delta = r - d;
    buffer = buffer.left(s) + replacement + buffer.mid(s + d);

    QList<DeferredError> kept;
    for (DeferredError error : deferredErrors) {
        if (error.index >= s + d) {
            error.index += delta;
        } else if (error.index >= s) {
            const int offset = error.index - s;
            if (offset < r && standsAt(replacement, offset, error.wrong)) {
                error.index = s + offset;
            } else if (replacement.isEmpty()) {
                continue;
            } else {
                int found = -1;
                int bestDistance = 4;
                for (int j = 0; j < r; ++j) {
                    if (!standsAt(replacement, j, error.wrong))
                        continue;
                    const int dist = std::abs(j - offset);
                    if (dist < bestDistance) {
                        found = j;
                        bestDistance = dist;
                        if (dist == 0)
                            break;
                    }
                }
                if (found < 0)
                    continue;
                error.index = s + found;
            }
        }
        if (error.index >= 0 && error.index < buffer.size())
            kept.append(error);
    }
    deferredErrors = kept;
}

QString replaceChar(const QString &text, int index, const QString &character)
{
    if (index < 0 || index >= text.size())
        return text;
    QString out = text;
    out.replace(index, 1, character);
    return out;
}

TailEdit tailEdit(const QString &buffer, int deleteCount, const QString &replacement)
{
    const int length = int(buffer.size());
    int wanted = length - std::clamp(deleteCount, 0, length);
    // Never keep half of a surrogate pair.
    if (wanted > 0 && wanted < length && buffer.at(wanted).isLowSurrogate() && buffer.at(wanted - 1).isHighSurrogate())
        --wanted;
    const int start = text::boundaryAtOrBefore(buffer, wanted);
    return {start, buffer.mid(start), buffer.mid(start, wanted - start) + replacement};
}

} // namespace qv::engine
