#include "model/RecordCoding.h"

#include "model/IsoDate.h"
#include "model/JsonWriter.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <stdexcept>

namespace qv::coding {

namespace {

using nlohmann::json;

// ---- writing -------------------------------------------------------------

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

struct EncodeError {
    QString message;
};

JsonValue dateValue(const QDateTime &when, const char *key)
{
    const std::optional<QString> text = isodate::format(when);
    if (!text)
        throw EncodeError{QStringLiteral("\"%1\" is not a date that can be written").arg(QLatin1String(key))};
    return JsonValue::string(*text);
}

JsonValue encodeCard(const StudyItem &card)
{
    JsonValue o = JsonValue::object();
    o.insert(QStringLiteral("id"), JsonValue::string(uuidText(card.id)));
    o.insert(QStringLiteral("term"), JsonValue::string(card.term));
    o.insert(QStringLiteral("definition"), JsonValue::string(card.definition));
    o.insert(QStringLiteral("correctCount"), JsonValue::integer(card.correctCount));
    o.insert(QStringLiteral("incorrectCount"), JsonValue::integer(card.incorrectCount));
    // A card never reviewed has no key at all, never a null.
    if (card.lastReviewedAt)
        o.insert(QStringLiteral("lastReviewedAt"), dateValue(*card.lastReviewedAt, "lastReviewedAt"));
    o.insert(QStringLiteral("isStarred"), JsonValue::boolean(card.isStarred));
    return o;
}

JsonValue encodeProject(const Project &p)
{
    JsonValue o = JsonValue::object();
    o.insert(QStringLiteral("id"), JsonValue::string(uuidText(p.id)));
    o.insert(QStringLiteral("title"), JsonValue::string(p.title));
    o.insert(QStringLiteral("text"), JsonValue::string(p.text));
    o.insert(QStringLiteral("wpm"), JsonValue::integer(p.wpm));
    o.insert(QStringLiteral("isAI"), JsonValue::boolean(p.isAI));
    o.insert(QStringLiteral("humanize"), JsonValue::boolean(p.humanize));
    o.insert(QStringLiteral("grade"), JsonValue::string(p.grade));
    o.insert(QStringLiteral("review"), JsonValue::string(p.review));
    o.insert(QStringLiteral("updatedAt"), dateValue(p.updatedAt, "updatedAt"));
    return o;
}

JsonValue encodeSet(const StudyProject &s)
{
    JsonValue o = JsonValue::object();
    o.insert(QStringLiteral("id"), JsonValue::string(uuidText(s.id)));
    o.insert(QStringLiteral("title"), JsonValue::string(s.title));
    o.insert(QStringLiteral("grade"), JsonValue::string(s.grade));
    JsonValue items = JsonValue::array();
    for (qsizetype i = 0; i < s.items.size(); ++i) {
        try {
            items.append(encodeCard(s.items[i]));
        } catch (const EncodeError &e) {
            throw EncodeError{QStringLiteral("items[%1]: %2").arg(i).arg(e.message)};
        }
    }
    o.insert(QStringLiteral("items"), std::move(items));
    o.insert(QStringLiteral("options"), encode(s.options));
    o.insert(QStringLiteral("updatedAt"), dateValue(s.updatedAt, "updatedAt"));
    return o;
}

template <typename Record, typename Encoder>
std::optional<JsonValue> guarded(const Record &record, Encoder encoder, QString *error)
{
    try {
        return encoder(record);
    } catch (const EncodeError &e) {
        if (error)
            *error = e.message;
        return std::nullopt;
    }
}

template <typename Record, typename Encoder>
std::optional<QByteArray> encodeList(const QList<Record> &records, Encoder encoder, QString *error)
{
    JsonValue array = JsonValue::array();
    for (qsizetype i = 0; i < records.size(); ++i) {
        try {
            array.append(encoder(records[i]));
        } catch (const EncodeError &e) {
            if (error)
                *error = QStringLiteral("[%1]: %2").arg(i).arg(e.message);
            return std::nullopt;
        }
    }
    return JsonWriter::write(array);
}

// ---- reading -------------------------------------------------------------

struct DecodeError {
    QString path;
    QString message;
};

QString fromUtf8(const std::string &s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString kindName(const json &v)
{
    switch (v.type()) {
    case json::value_t::null: return QStringLiteral("null");
    case json::value_t::object: return QStringLiteral("an object");
    case json::value_t::array: return QStringLiteral("an array");
    case json::value_t::string: return QStringLiteral("a string");
    case json::value_t::boolean: return QStringLiteral("a Boolean");
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float: return QStringLiteral("a number");
    default: return QStringLiteral("an unexpected value");
    }
}

// One JSON object being read, with the path used in error messages.
class ObjectReader {
public:
    ObjectReader(const json &value, QString path) : m_value(value), m_path(std::move(path))
    {
        if (!m_value.is_object())
            throw DecodeError{m_path, QStringLiteral("expected an object, found %1").arg(kindName(m_value))};
    }

    const QString &path() const { return m_path; }
    QString pathOf(const char *key) const { return m_path + u'.' + QLatin1String(key); }

    // The value under `key`, or nullptr when absent or null.
    const json *optional(const char *key) const
    {
        const auto it = m_value.find(key);
        if (it == m_value.end() || it->is_null())
            return nullptr;
        return &*it;
    }

    const json &required(const char *key) const
    {
        const auto it = m_value.find(key);
        if (it == m_value.end())
            throw DecodeError{pathOf(key), QStringLiteral("required key is missing")};
        if (it->is_null())
            throw DecodeError{pathOf(key), QStringLiteral("required key is null")};
        return *it;
    }

    QString string(const json &v, const char *key) const
    {
        if (!v.is_string())
            throw wrongType(key, "a string", v);
        return fromUtf8(v.get_ref<const std::string &>());
    }

    bool boolean(const json &v, const char *key) const
    {
        if (!v.is_boolean())
            throw wrongType(key, "a Boolean", v);
        return v.get<bool>();
    }

    // A whole number that fits a signed 64-bit integer; written with a
    // fraction or exponent is fine as long as the value is exact (60.0).
    qint64 integer(const json &v, const char *key) const
    {
        if (v.is_number_integer() && !v.is_number_unsigned())
            return v.get<std::int64_t>();
        if (v.is_number_unsigned()) {
            const std::uint64_t u = v.get<std::uint64_t>();
            if (u > std::uint64_t(std::numeric_limits<qint64>::max()))
                throw DecodeError{pathOf(key), QStringLiteral("number does not fit a 64-bit integer")};
            return qint64(u);
        }
        if (v.is_number_float()) {
            const double d = v.get<double>();
            // 2^63 is the first double out of range; -2^63 is still inside.
            if (!std::isfinite(d) || std::trunc(d) != d || d >= 9223372036854775808.0 || d < -9223372036854775808.0)
                throw DecodeError{pathOf(key), QStringLiteral("number is not a 64-bit integer")};
            return qint64(d);
        }
        throw wrongType(key, "an integer", v);
    }

    QUuid uuid(const json &v, const char *key) const
    {
        const QString text = string(v, key);
        // Only the plain 36-character hyphenated form, in either case.
        bool ok = text.size() == 36;
        for (qsizetype i = 0; ok && i < 36; ++i) {
            const char16_t c = text[i].unicode();
            if (i == 8 || i == 13 || i == 18 || i == 23)
                ok = c == u'-';
            else
                ok = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        }
        if (!ok)
            throw DecodeError{pathOf(key), QStringLiteral("not a UUID: \"%1\"").arg(text.left(64))};
        return QUuid::fromString(text);
    }

    QDateTime date(const json &v, const char *key) const
    {
        const QString text = string(v, key);
        const std::optional<QDateTime> when = isodate::parse(text);
        if (!when)
            throw DecodeError{pathOf(key), QStringLiteral("not an ISO 8601 date-time: \"%1\"").arg(text.left(64))};
        return *when;
    }

    template <typename Enum>
    Enum enumValue(const json &v, const char *key) const
    {
        const QString text = string(v, key);
        const std::optional<Enum> value = fromRawValue<Enum>(text);
        if (!value)
            throw DecodeError{pathOf(key), QStringLiteral("unknown value \"%1\"").arg(text.left(64))};
        return *value;
    }

    const json &array(const json &v, const char *key) const
    {
        if (!v.is_array())
            throw wrongType(key, "an array", v);
        return v;
    }

private:
    DecodeError wrongType(const char *key, const char *expected, const json &found) const
    {
        return DecodeError{pathOf(key),
                           QStringLiteral("expected %1, found %2").arg(QLatin1String(expected), kindName(found))};
    }

    const json &m_value;
    QString m_path;
};

StudyOptions decodeOptions(const json &v, const QString &path)
{
    const ObjectReader r(v, path);
    StudyOptions o;
    o.answerDirection = r.enumValue<StudyAnswerDirection>(r.required("answerDirection"), "answerDirection");
    o.shuffle = r.boolean(r.required("shuffle"), "shuffle");
    o.onlyStarred = r.boolean(r.required("onlyStarred"), "onlyStarred");
    o.grading = r.enumValue<StudyGrading>(r.required("grading"), "grading");
    o.retypeMissed = r.boolean(r.required("retypeMissed"), "retypeMissed");
    const json &types = r.array(r.required("questionTypes"), "questionTypes");
    o.questionTypes.clear();
    o.questionTypes.reserve(qsizetype(types.size()));
    for (std::size_t i = 0; i < types.size(); ++i) {
        const json &t = types[i];
        const QString itemPath = r.pathOf("questionTypes") + QStringLiteral("[%1]").arg(i);
        if (!t.is_string())
            throw DecodeError{itemPath, QStringLiteral("expected a string, found %1").arg(kindName(t))};
        const QString text = fromUtf8(t.get_ref<const std::string &>());
        const std::optional<StudyQuestionType> type = fromRawValue<StudyQuestionType>(text);
        if (!type)
            throw DecodeError{itemPath, QStringLiteral("unknown value \"%1\"").arg(text.left(64))};
        o.questionTypes.append(*type);
    }
    return o;
}

StudyItem decodeCard(const json &v, const QString &path)
{
    const ObjectReader r(v, path);
    StudyItem c;
    c.id = r.uuid(r.required("id"), "id");
    c.term = r.string(r.required("term"), "term");
    c.definition = r.string(r.required("definition"), "definition");
    if (const json *n = r.optional("correctCount"))
        c.correctCount = r.integer(*n, "correctCount");
    if (const json *n = r.optional("incorrectCount"))
        c.incorrectCount = r.integer(*n, "incorrectCount");
    if (const json *d = r.optional("lastReviewedAt"))
        c.lastReviewedAt = r.date(*d, "lastReviewedAt");
    if (const json *b = r.optional("isStarred"))
        c.isStarred = r.boolean(*b, "isStarred");
    return c;
}

Project decodeProject(const json &v, const QString &path, const QDateTime &now)
{
    const ObjectReader r(v, path);
    Project p;
    p.id = r.uuid(r.required("id"), "id");
    p.title = r.string(r.required("title"), "title");
    p.text = r.string(r.required("text"), "text");
    p.wpm = r.integer(r.required("wpm"), "wpm");
    if (const json *b = r.optional("isAI"))
        p.isAI = r.boolean(*b, "isAI");
    if (const json *b = r.optional("humanize"))
        p.humanize = r.boolean(*b, "humanize");
    p.grade = r.string(r.required("grade"), "grade");
    p.review = r.string(r.required("review"), "review");
    const json *d = r.optional("updatedAt");
    p.updatedAt = d ? r.date(*d, "updatedAt") : now;
    return p;
}

StudyProject decodeSet(const json &v, const QString &path, const QDateTime &now)
{
    const ObjectReader r(v, path);
    StudyProject s;
    s.id = r.uuid(r.required("id"), "id");
    s.title = r.string(r.required("title"), "title");
    s.grade = r.string(r.required("grade"), "grade");
    if (const json *items = r.optional("items")) {
        r.array(*items, "items");
        s.items.reserve(qsizetype(items->size()));
        for (std::size_t i = 0; i < items->size(); ++i)
            s.items.append(decodeCard((*items)[i], r.pathOf("items") + QStringLiteral("[%1]").arg(i)));
    }
    if (const json *o = r.optional("options"))
        s.options = decodeOptions(*o, r.pathOf("options"));
    const json *d = r.optional("updatedAt");
    s.updatedAt = d ? r.date(*d, "updatedAt") : now;
    return s;
}

template <typename Record, typename Decoder>
DecodeResult<Record> decodeList(const QByteArray &bytes, Decoder decoder)
{
    DecodeResult<Record> result;
    json root;
    try {
        root = json::parse(bytes.cbegin(), bytes.cend());
    } catch (const json::exception &e) {
        result.error = QStringLiteral("not valid JSON: %1").arg(QString::fromUtf8(e.what()));
        return result;
    }
    if (!root.is_array()) {
        result.error = QStringLiteral("expected an array at the top, found %1").arg(kindName(root));
        return result;
    }
    QList<Record> records;
    records.reserve(qsizetype(root.size()));
    try {
        for (std::size_t i = 0; i < root.size(); ++i)
            records.append(decoder(root[i], QStringLiteral("[%1]").arg(i)));
    } catch (const DecodeError &e) {
        result.error = QStringLiteral("%1: %2").arg(e.path, e.message);
        return result;
    } catch (const json::exception &e) {
        result.error = QString::fromUtf8(e.what());
        return result;
    }
    result.records = std::move(records);
    return result;
}

} // namespace

std::optional<JsonValue> encode(const Project &project, QString *error)
{
    return guarded(project, encodeProject, error);
}

std::optional<JsonValue> encode(const StudyProject &set, QString *error)
{
    return guarded(set, encodeSet, error);
}

std::optional<JsonValue> encode(const StudyItem &card, QString *error)
{
    return guarded(card, encodeCard, error);
}

JsonValue encode(const StudyOptions &options)
{
    JsonValue o = JsonValue::object();
    o.insert(QStringLiteral("answerDirection"), JsonValue::string(rawValue(options.answerDirection)));
    o.insert(QStringLiteral("shuffle"), JsonValue::boolean(options.shuffle));
    o.insert(QStringLiteral("onlyStarred"), JsonValue::boolean(options.onlyStarred));
    o.insert(QStringLiteral("grading"), JsonValue::string(rawValue(options.grading)));
    o.insert(QStringLiteral("retypeMissed"), JsonValue::boolean(options.retypeMissed));
    JsonValue types = JsonValue::array();
    for (StudyQuestionType t : options.questionTypes)
        types.append(JsonValue::string(rawValue(t)));
    o.insert(QStringLiteral("questionTypes"), std::move(types));
    return o;
}

std::optional<QByteArray> encodeProjects(const QList<Project> &projects, QString *error)
{
    return encodeList(projects, encodeProject, error);
}

std::optional<QByteArray> encodeStudyProjects(const QList<StudyProject> &sets, QString *error)
{
    return encodeList(sets, encodeSet, error);
}

DecodeResult<Project> decodeProjects(const QByteArray &json, const QDateTime &now)
{
    return decodeList<Project>(json, [&now](const nlohmann::json &v, const QString &path) {
        return decodeProject(v, path, now);
    });
}

DecodeResult<StudyProject> decodeStudyProjects(const QByteArray &json, const QDateTime &now)
{
    return decodeList<StudyProject>(json, [&now](const nlohmann::json &v, const QString &path) {
        return decodeSet(v, path, now);
    });
}

} // namespace qv::coding
