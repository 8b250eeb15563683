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

std::function<void(EditState &, const QString &)> autocorrectWords(QHash<QString, QString> words)
{
    return [words = std::move(words)](EditState &state, const QString &inserted) {
        if (inserted != QStringLiteral(" ") || state.selection.length != 0)
            return;
        const qsizetype end = state.selection.location - 1; // the space
        if (end < 0 || end > state.text.size())
            return;
        qsizetype start = end;
        while (start > 0 && (state.text.at(start - 1).isLetterOrNumber() || state.text.at(start - 1) == u'\''))
            --start;
        const auto it = words.constFind(state.text.mid(start, end - start));
        if (start == end || it == words.constEnd())
            return;
        state.text.replace(start, end - start, *it);
        state.selection = {start + it->size() + 1, 0};
    };
}

} // namespace qv::sim::transforms
