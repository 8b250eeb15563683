#include "model/RecordCoding.h"

#include "model/IsoDate.h"
#include "model/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace qv::coding {

namespace {

// ---- writing -------------------------------------------------------------

// The 36-character hyphenated form with upper-case digits.
QString uuidText(const QUuid &id)
{
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    const QByteArray raw = id.toRfc4122();
    QString out(36, Qt::Uninitialized);
    char16_t *p = reinterpret_cast<char16_t *>(out.data());
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            *p++ = u'-';
        const auto byte = uchar(raw[i]);
        *p++ = kDigits[byte >> 4];
        *p++ = kDigits[byte & 0xF];
    }
    return out;
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
    JsonValue o = JsonValue::object(std::size_t(7));
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
    JsonValue o = JsonValue::object(std::size_t(9));
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
    JsonValue o = JsonValue::object(std::size_t(6));
    o.insert(QStringLiteral("id"), JsonValue::string(uuidText(s.id)));
    o.insert(QStringLiteral("title"), JsonValue::string(s.title));
    o.insert(QStringLiteral("grade"), JsonValue::string(s.grade));
    JsonValue items = JsonValue::array(std::size_t(s.items.size()));
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
    JsonValue array = JsonValue::array(std::size_t(records.size()));
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

QString kindName(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Object: return QStringLiteral("an object");
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::String: return QStringLiteral("a string");
    case QJsonValue::Bool: return QStringLiteral("a Boolean");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("nothing");
}

// One JSON object being read, with the path used in error messages.
class ObjectReader {
public:
    ObjectReader(const QJsonValue &value, const Path &path) : m_path(path)
    {
        if (!value.isObject())
            throw DecodeError{path.toString(), QStringLiteral("expected an object, found %1").arg(kindName(value))};
        m_object = value.toObject();
    }

    Path member(const char *key) const { return Path{&m_path, key}; }
    QString pathOf(const char *key) const { return member(key).toString(); }

    // The value under `key`, or nothing when absent or null.
    std::optional<QJsonValue> optional(const char *key) const
    {
        QJsonValue v = m_object.value(QLatin1String(key));
        if (v.isUndefined() || v.isNull())
            return std::nullopt;
        return v;
    }

    QJsonValue required(const char *key) const
    {
        QJsonValue v = m_object.value(QLatin1String(key));
        if (v.isUndefined())
            throw DecodeError{pathOf(key), QStringLiteral("required key is missing")};
        if (v.isNull())
            throw DecodeError{pathOf(key), QStringLiteral("required key is null")};
        return v;
    }

    QString string(const QJsonValue &v, const char *key) const
    {
        if (!v.isString())
            throw wrongType(key, "a string", v);
        return v.toString();
    }

    bool boolean(const QJsonValue &v, const char *key) const
    {
        if (!v.isBool())
            throw wrongType(key, "a Boolean", v);
        return v.toBool();
    }

    // A whole number that fits a signed 64-bit integer; written with a
    // fraction or exponent is fine as long as the value is exact (60.0).
    qint64 integer(const QJsonValue &v, const char *key) const
    {
        if (!v.isDouble())
            throw wrongType(key, "an integer", v);
        // The parser keeps integers exact; anything else (60.5, 1e19) gives
        // the default, so two different defaults tell the cases apart.
        const qint64 value = v.toInteger(0);
        if (value != v.toInteger(1))
            throw DecodeError{pathOf(key), QStringLiteral("number is not a 64-bit integer")};
        return value;
    }

    QUuid uuid(const QJsonValue &v, const char *key) const
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

    QDateTime date(const QJsonValue &v, const char *key) const
    {
        const QString text = string(v, key);
        const std::optional<QDateTime> when = isodate::parse(text);
        if (!when)
            throw DecodeError{pathOf(key), QStringLiteral("not an ISO 8601 date-time: \"%1\"").arg(text.left(64))};
        return *when;
    }

    template <typename Enum>
    Enum enumValue(const QJsonValue &v, const Path &path) const
    {
        if (!v.isString())
            throw DecodeError{path.toString(), QStringLiteral("expected a string, found %1").arg(kindName(v))};
        const QString text = v.toString();
        const std::optional<Enum> value = fromRawValue<Enum>(text);
        if (!value)
            throw DecodeError{path.toString(), QStringLiteral("unknown value \"%1\"").arg(text.left(64))};
        return *value;
    }

    QJsonArray array(const QJsonValue &v, const char *key) const
    {
        if (!v.isArray())
            throw wrongType(key, "an array", v);
        return v.toArray();
    }

private:
    DecodeError wrongType(const char *key, const char *expected, const QJsonValue &found) const
    {
        return DecodeError{pathOf(key),
                           QStringLiteral("expected %1, found %2").arg(QLatin1String(expected), kindName(found))};
    }

    QJsonObject m_object;
    const Path &m_path;
};

StudyOptions decodeOptions(const QJsonValue &v, const Path &path)
{
    const ObjectReader r(v, path);
    StudyOptions o;
    o.answerDirection = r.enumValue<StudyAnswerDirection>(r.required("answerDirection"), r.member("answerDirection"));
    o.shuffle = r.boolean(r.required("shuffle"), "shuffle");
    o.onlyStarred = r.boolean(r.required("onlyStarred"), "onlyStarred");
    o.grading = r.enumValue<StudyGrading>(r.required("grading"), r.member("grading"));
    o.retypeMissed = r.boolean(r.required("retypeMissed"), "retypeMissed");
    const QJsonArray types = r.array(r.required("questionTypes"), "questionTypes");
    o.questionTypes.clear();
    o.questionTypes.reserve(types.size());
    const Path typesPath = r.member("questionTypes");
    for (qsizetype i = 0; i < types.size(); ++i)
        o.questionTypes.append(r.enumValue<StudyQuestionType>(types.at(i), Path{&typesPath, nullptr, i}));
    return o;
}

StudyItem decodeCard(const QJsonValue &v, const Path &path)
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

Project decodeProject(const QJsonValue &v, const Path &path, const QDateTime &now)
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

StudyProject decodeSet(const QJsonValue &v, const Path &path, const QDateTime &now)
{
    const ObjectReader r(v, path);
    StudyProject s;
    s.id = r.uuid(r.required("id"), "id");
    s.title = r.string(r.required("title"), "title");
    s.grade = r.string(r.required("grade"), "grade");
    if (const auto value = r.optional("items")) {
        const QJsonArray items = r.array(*value, "items");
        s.items.reserve(items.size());
        const Path itemsPath = r.member("items");
        for (qsizetype i = 0; i < items.size(); ++i)
            s.items.append(decodeCard(items.at(i), Path{&itemsPath, nullptr, i}));
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
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error = QStringLiteral("not valid JSON at byte %1: %2").arg(parseError.offset).arg(parseError.errorString());
        return result;
    }
    if (!document.isArray()) {
        result.error = QStringLiteral("expected an array at the top, found %1")
                           .arg(document.isObject() ? QStringLiteral("an object") : QStringLiteral("another value"));
        return result;
    }
    const QJsonArray root = document.array();
    QList<Record> records;
    records.reserve(root.size());
    try {
        for (qsizetype i = 0; i < root.size(); ++i)
            records.append(decoder(root.at(i), Path{nullptr, nullptr, i}));
    } catch (const DecodeError &e) {
        result.error = e.path + QStringLiteral(": ") + e.message;
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
    JsonValue o = JsonValue::object(std::size_t(6));
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
    return decodeList<Project>(json, [&now](const QJsonValue &v, const Path &path) {
        return decodeProject(v, path, now);
    });
}

DecodeResult<StudyProject> decodeStudyProjects(const QByteArray &json, const QDateTime &now)
{
    return decodeList<StudyProject>(json, [&now](const QJsonValue &v, const Path &path) {
        return decodeSet(v, path, now);
    });
}

} // namespace qv::coding
