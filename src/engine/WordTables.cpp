#include "engine/WordTables.h"

namespace qv::engine {

namespace {
QStringList letters(const char *spaced)
{
    return QString::fromLatin1(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
} // namespace

WordTables::WordTables()
{
    const struct {
        const char *key;
        const char *neighbours;
    } rows[] = {
        {"a", "q w s x z"},   {"b", "v g h n"},     {"c", "x d f v"},     {"d", "e r s f c x"}, {"e", "w s d r"},
        {"f", "r t g d v c"}, {"g", "t y f h v b"}, {"h", "y u g j b n"}, {"i", "u j k o"},     {"j", "u i k h n m"},
        {"k", "i j o l m"},   {"l", "k o p"},       {"m", "n j k"},       {"n", "b h j m"},     {"o", "i k l p"},
        {"p", "o l"},         {"q", "w a"},         {"r", "e d f t"},     {"s", "w e d x z a"}, {"t", "r f g y"},
        {"u", "y h j i"},     {"v", "c f g b"},     {"w", "q a s e"},     {"x", "z s d c"},     {"y", "t g h u"},
        {"z", "a s x"},
    };
    for (const auto &row : rows)
        nearbyKeys.insert(QString::fromLatin1(row.key), letters(row.neighbours));

    fastWords = {QStringLiteral("the"), QStringLiteral("and"), QStringLiteral("of"), QStringLiteral("however")};
    slowWords = {QStringLiteral("juxtaposition"), QStringLiteral("quintessential"), QStringLiteral("multifaceted")};
    smartWords = {QStringLiteral("detrimental"), QStringLiteral("nefarious"), QStringLiteral("quintessential"),
                  QStringLiteral("multifaceted"), QStringLiteral("juxtaposition")};
    fillerWords = {QStringLiteral("really"), QStringLiteral("basically"), QStringLiteral("actually"),
                   QStringLiteral("just"), QStringLiteral("very")};
    pausePunctuation = {QStringLiteral(","), QStringLiteral(";"), QStringLiteral(":")};
    errorCooldownWords = 8;
    styleSwapMap = {
        {QStringLiteral("bad"), QStringLiteral("detrimental")},
        {QStringLiteral("good"), QStringLiteral("beneficial")},
        {QStringLiteral("big"), QStringLiteral("substantial")},
        {QStringLiteral("small"), QStringLiteral("minimal")},
        {QStringLiteral("important"), QStringLiteral("critical")},
        {QStringLiteral("interesting"), QStringLiteral("compelling")},
    };
    digraphs = {QStringLiteral("th"), QStringLiteral("er"), QStringLiteral("on"), QStringLiteral("st")};
    vowels = {QStringLiteral("a"), QStringLiteral("e"), QStringLiteral("i"), QStringLiteral("o"), QStringLiteral("u")};
}

const WordTables &WordTables::standard()
{
    static const WordTables tables;
    return tables;
}

} // namespace qv::engine
