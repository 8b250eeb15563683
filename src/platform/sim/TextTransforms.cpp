#include "platform/sim/TextTransforms.h"

#include "core/Text.h"

namespace qv::sim::transforms {

QString capitalizeSentenceStart(const QString &before, const QString &typed)
{
    if (!text::isLowercase(typed))
        return typed;
    qsizetype i = before.size();
    bool sawSpace = false;
    while (i > 0 && text::isWhitespaceScalar(before.at(i - 1).unicode())) {
        --i;
        sawSpace = true;
    }
    const bool sentenceStart =
        i == 0 || (sawSpace && (before.at(i - 1) == u'.' || before.at(i - 1) == u'!' || before.at(i - 1) == u'?'));
    if (!sentenceStart)
        return typed;
    const QString first = text::graphemes(typed).value(0);
    return first.toUpper() + typed.mid(first.size());
}

} // namespace qv::sim::transforms
