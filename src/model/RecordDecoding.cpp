#include "model/RecordCoding.h"

#include "model/IsoDate.h"

#include <simdjson.h>

#include <cmath>

namespace qv::coding {

namespace {

struct DecodeError {
    QString path;
    QString message;
};

// Where a value sits in the file, for error messages. Built as a chain on
// the stack and turned into text only when something fails.
struct Path {
    const Path *parent = nullptr;
    const char *key = nullptr; // a member of the parent object, or
    qsizetype index = -1;      // an element of the parent array

    QString toString() const
    {
        QString out = parent ? parent->toString() : QString();
        if (key)
            out += u'.' + QLatin1String(key);
        else
            out += u'[' + QString::number(index) + u']';
        return out;
    }
};

using simdjson::dom::element;
using simdjson::dom::element_type;

QString kindName(const element &v)
{
    switch (v.type()) {
    case element_type::NULL_VALUE:
        return QStringLiteral("null");
    case element_type::OBJECT:
        return QStringLiteral("an object");
    case element_type::ARRAY:
        return QStringLiteral("an array");
    case element_type::STRING:
        return QStringLiteral("a string");
    case element_type::BOOL:
        return QStringLiteral("a Boolean");
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE:
        return QStringLiteral("a number");
    }
    return QStringLiteral("an unknown value");
}

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// One JSON object being read, with the path used in error messages.
class ObjectReader {
public:
    ObjectReader(const element &value, const Path &path) : m_path(path)
    {
        if (value.get_object().get(m_object) != simdjson::SUCCESS)
            throw DecodeError{path.toString(), QStringLiteral("expected an object, found %1").arg(kindName(value))};
    }

    Path member(const char *key) const { return Path{&m_path, key}; }
    QString pathOf(const char *key) const { return member(key).toString(); }

    // The value under `key`, or nothing when absent or null.
    std::optional<element> optional(const char *key) const
    {
        std::optional<element> v = find(key);
        if (v && v->is_null())
            return std::nullopt;
        return v;
    }

    element required(const char *key) const
    {
        const std::optional<element> v = find(key);
        if (!v)
            throw DecodeError{pathOf(key), QStringLiteral("required key is missing")};
        if (v->is_null())
            throw DecodeError{pathOf(key), QStringLiteral("required key is null")};
        return *v;
    }

    std::string_view utf8(const element &v, const char *key) const
    {
        std::string_view text;
        if (v.get_string().get(text) != simdjson::SUCCESS)
            throw wrongType(key, "a string", v);
        return text;
    }

    QString string(const element &v, const char *key) const { return fromUtf8(utf8(v, key)); }

    bool boolean(const element &v, const char *key) const
    {
        bool value = false;
        if (v.get_bool().get(value) != simdjson::SUCCESS)
            throw wrongType(key, "a Boolean", v);
        return value;
    }

    // A whole number that fits a signed 64-bit integer; written with a
    // fraction or exponent is fine as long as the value is exact (60.0).
    qint64 integer(const element &v, const char *key) const
    {
        switch (v.type()) {
        case element_type::INT64:
            return qint64(v.get_int64().value_unsafe());
        case element_type::UINT64:
            break; // only numbers above the signed range are unsigned
        case element_type::DOUBLE: {
            const double d = v.get_double().value_unsafe();
            // 2^63 is the first double out of range; -2^63 is still inside.
            if (std::trunc(d) == d && d >= -9223372036854775808.0 && d < 9223372036854775808.0)
                return qint64(d);
            break;
        }
        default:
            throw wrongType(key, "an integer", v);
        }
        throw DecodeError{pathOf(key), QStringLiteral("number is not a 64-bit integer")};
    }

    QUuid uuid(const element &v, const char *key) const
    {
        const std::string_view text = utf8(v, key);
        // Only the plain 36-character hyphenated form, in either case.
        bool ok = text.size() == 36;
        for (std::size_t i = 0; ok && i < 36; ++i) {
            const char c = text[i];
            if (i == 8 || i == 13 || i == 18 || i == 23)
                ok = c == '-';
            else
                ok = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        }
        if (!ok)
            throw DecodeError{pathOf(key), QStringLiteral("not a UUID: \"%1\"").arg(fromUtf8(text).left(64))};
        return QUuid::fromString(QLatin1StringView(text.data(), qsizetype(text.size())));
    }

    QDateTime date(const element &v, const char *key) const
    {
        const QString text = string(v, key);
        const std::optional<QDateTime> when = isodate::parse(text);
        if (!when)
            throw DecodeError{pathOf(key), QStringLiteral("not an ISO 8601 date-time: \"%1\"").arg(text.left(64))};
        return *when;
    }

    template <typename Enum>
    Enum enumValue(const element &v, const Path &path) const
    {
        std::string_view raw;
        if (v.get_string().get(raw) != simdjson::SUCCESS)
            throw DecodeError{path.toString(), QStringLiteral("expected a string, found %1").arg(kindName(v))};
        const QString text = fromUtf8(raw);
        const std::optional<Enum> value = fromRawValue<Enum>(text);
        if (!value)
            throw DecodeError{path.toString(), QStringLiteral("unknown value \"%1\"").arg(text.left(64))};
        return *value;
    }

    simdjson::dom::array array(const element &v, const char *key) const
    {
        simdjson::dom::array values;
        if (v.get_array().get(values) != simdjson::SUCCESS)
            throw wrongType(key, "an array", v);
        return values;
    }

private:
    // When a key appears twice, the last one counts (as in most readers).
    std::optional<element> find(std::string_view key) const
    {
        std::optional<element> found;
        for (const auto field : m_object) {
            if (field.key == key)
                found = field.value;
        }
        return found;
    }

    DecodeError wrongType(const char *key, const char *expected, const element &found) const
    {
        return DecodeError{pathOf(key),
                           QStringLiteral("expected %1, found %2").arg(QLatin1String(expected), kindName(found))};
    }

    simdjson::dom::object m_object;
    const Path &m_path;
};

StudyOptions decodeOptions(const element &v, const Path &path)
{
    const ObjectReader r(v, path);
    StudyOptions o;
    o.answerDirection = r.enumValue<StudyAnswerDirection>(r.required("answerDirection"), r.member("answerDirection"));
    o.shuffle = r.boolean(r.required("shuffle"), "shuffle");
    o.onlyStarred = r.boolean(r.required("onlyStarred"), "onlyStarred");
    o.grading = r.enumValue<StudyGrading>(r.required("grading"), r.member("grading"));
    o.retypeMissed = r.boolean(r.required("retypeMissed"), "retypeMissed");
    const simdjson::dom::array types = r.array(r.required("questionTypes"), "questionTypes");
    o.questionTypes.clear();
    const Path typesPath = r.member("questionTypes");
    qsizetype i = 0;
    for (const element type : types)
        o.questionTypes.append(r.enumValue<StudyQuestionType>(type, Path{&typesPath, nullptr, i++}));
    return o;
}

StudyItem decodeCard(const element &v, const Path &path)
{
    const ObjectReader r(v, path);
    StudyItem c;
    c.id = r.uuid(r.required("id"), "id");
    c.term = r.string(r.required("term"), "term");
    c.definition = r.string(r.required("definition"), "definition");
    if (const auto n = r.optional("correctCount"))
        c.correctCount = r.integer(*n, "correctCount");
    if (const auto n = r.optional("incorrectCount"))
        c.incorrectCount = r.integer(*n, "incorrectCount");
    if (const auto d = r.optional("lastReviewedAt"))
        c.lastReviewedAt = r.date(*d, "lastReviewedAt");
    if (const auto b = r.optional("isStarred"))
        c.isStarred = r.boolean(*b, "isStarred");
    return c;
}

Project decodeProject(const element &v, const Path &path, const QDateTime &now)
{
    const ObjectReader r(v, path);
    Project p;
    p.id = r.uuid(r.required("id"), "id");
    p.title = r.string(r.required("title"), "title");
    p.text = r.string(r.required("text"), "text");
    p.wpm = r.integer(r.required("wpm"), "wpm");
    if (const auto b = r.optional("isAI"))
        p.isAI = r.boolean(*b, "isAI");
    if (const auto b = r.optional("humanize"))
        p.humanize = r.boolean(*b, "humanize");
    p.grade = r.string(r.required("grade"), "grade");
    p.review = r.string(r.required("review"), "review");
    const auto d = r.optional("updatedAt");
    p.updatedAt = d ? r.date(*d, "updatedAt") : now;
    return p;
}

StudyProject decodeSet(const element &v, const Path &path, const QDateTime &now)
{
    const ObjectReader r(v, path);
    StudyProject s;
    s.id = r.uuid(r.required("id"), "id");
    s.title = r.string(r.required("title"), "title");
    s.grade = r.string(r.required("grade"), "grade");
    if (const auto value = r.optional("items")) {
        const simdjson::dom::array items = r.array(*value, "items");
        s.items.reserve(qsizetype(items.size()));
        const Path itemsPath = r.member("items");
        qsizetype i = 0;
        for (const element card : items)
            s.items.append(decodeCard(card, Path{&itemsPath, nullptr, i++}));
    }
    if (const auto o = r.optional("options"))
        s.options = decodeOptions(*o, r.member("options"));
    const auto d = r.optional("updatedAt");
    s.updatedAt = d ? r.date(*d, "updatedAt") : now;
    return s;
}

template <typename Record, typename Decoder>
DecodeResult<Record> decodeList(const QByteArray &bytes, Decoder decoder)
{
    DecodeResult<Record> result;
    QByteArrayView input(bytes);
    // A byte-order mark is not JSON but is harmless in front of it.
    if (input.startsWith("\xEF\xBB\xBF"))
        input = input.sliced(3);
    simdjson::dom::parser parser;
    element root;
    // The parser reads in wide blocks and needs padding behind the data; it
    // copies the input when the buffer has none.
    const bool padded = bytes.capacity() - bytes.size() >= qsizetype(simdjson::SIMDJSON_PADDING);
    if (const auto error = parser.parse(input.data(), std::size_t(input.size()), !padded).get(root)) {
        result.error = QStringLiteral("not valid JSON: %1").arg(QLatin1String(simdjson::error_message(error)));
        return result;
    }
    simdjson::dom::array elements;
    if (root.get_array().get(elements) != simdjson::SUCCESS) {
        result.error = QStringLiteral("expected an array at the top, found %1").arg(kindName(root));
        return result;
    }
    QList<Record> records;
    records.reserve(qsizetype(elements.size()));
    try {
        qsizetype i = 0;
        for (const element record : elements)
            records.append(decoder(record, Path{nullptr, nullptr, i++}));
    } catch (const DecodeError &e) {
        result.error = e.path + QStringLiteral(": ") + e.message;
        return result;
    }
    result.records = std::move(records);
    return result;
}

} // namespace

DecodeResult<Project> decodeProjects(const QByteArray &json, const QDateTime &now)
{
    return decodeList<Project>(json, [&now](const simdjson::dom::element &v, const Path &path) {
        return decodeProject(v, path, now);
    });
}

DecodeResult<StudyProject> decodeStudyProjects(const QByteArray &json, const QDateTime &now)
{
    return decodeList<StudyProject>(json, [&now](const simdjson::dom::element &v, const Path &path) {
        return decodeSet(v, path, now);
    });
}

} // namespace qv::coding
