#include "study/BulkText.h"

#include "core/Text.h"

#include <QUuid>

namespace qv::study {

namespace {
bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x85:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

// Pieces between line breaks; empty pieces (a CR LF pair, blank lines, a
// break at either end) are dropped.
QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isLineBreak(text.at(i))) {
            if (i > start)
                lines.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    return lines;
}
} // namespace

std::optional<QString> resolveDelimiter(const QString &line, StudyDelimiter preferred)
{
    if (preferred != StudyDelimiter::Auto)
        return token(preferred);
    static const QStringList autoOrder{QStringLiteral("\t"), QStringLiteral(" - "), QStringLiteral("|"),
                                       QStringLiteral(":"),  QStringLiteral(";"),   QStringLiteral(",")};
    for (const QString &candidate : autoOrder)
        if (line.contains(candidate))
            return candidate;
    return std::nullopt;
}

QList<BulkCard> parseBulkCards(const QString &text, StudyDelimiter delimiter)
{
    QList<BulkCard> cards;
    for (QStringView raw : splitLines(text)) {
        const QString line = text::trimmed(raw);
        if (line.isEmpty())
            continue;
        const std::optional<QString> cut = resolveDelimiter(line, delimiter);
        if (!cut || cut->isEmpty())
            continue;
        const qsizetype at = line.indexOf(*cut);
        if (at < 0)
            continue;
        // Only the first occurrence separates; later ones stay in the definition.
        BulkCard card{text::trimmed(QStringView(line).left(at)),
                      text::trimmed(QStringView(line).mid(at + cut->size()))};
        if (card.term.isEmpty() || card.definition.isEmpty())
            continue;
        cards.append(card);
    }
    return cards;
}

QList<StudyItem> parseBulkText(const QString &text, StudyDelimiter delimiter)
{
    QList<StudyItem> items;
    for (const BulkCard &card : parseBulkCards(text, delimiter)) {
        StudyItem item;
        item.id = QUuid::createUuid();
        item.term = card.term;
        item.definition = card.definition;
        items.append(item);
    }
    return items;
}

} // namespace qv::study
