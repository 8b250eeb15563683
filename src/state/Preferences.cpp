#include "state/Preferences.h"

#include "core/JsonValues.h"

namespace qv::state {

namespace {
const QString kDataTag = QStringLiteral("$data");

bool isTaggedData(const QJsonValue &v)
{
    if (!v.isObject())
        return false;
    const QJsonObject o = v.toObject();
    return o.size() == 1 && o.value(kDataTag).isString();
}
} // namespace

Preferences::Preferences(QObject *parent) : QObject(parent) {}
Preferences::~Preferences() = default;

std::optional<bool> Preferences::boolValue(const QString &key) const { return json::boolOf(m_values.value(key)); }

std::optional<qint64> Preferences::intValue(const QString &key) const { return json::integerOf(m_values.value(key)); }

std::optional<QString> Preferences::stringValue(const QString &key) const
{
    return json::stringOf(m_values.value(key));
}

std::optional<QByteArray> Preferences::dataValue(const QString &key) const { return decodeData(m_values.value(key)); }

std::optional<QJsonObject> Preferences::dictionaryValue(const QString &key) const
{
    const QJsonValue v = m_values.value(key);
    if (!v.isObject() || isTaggedData(v))
        return std::nullopt;
    return v.toObject();
}

std::optional<QMap<QString, qint64>> Preferences::intDictionaryValue(const QString &key) const
{
    const auto dict = dictionaryValue(key);
    if (!dict)
        return std::nullopt;
    QMap<QString, qint64> out;
    for (auto it = dict->begin(); it != dict->end(); ++it) {
        const auto i = json::integerOf(it.value());
        if (!i)
            return std::nullopt;
        out.insert(it.key(), *i);
    }
    return out;
}

void Preferences::setBool(const QString &key, bool value) { put(key, QJsonValue(value)); }
void Preferences::setInt(const QString &key, qint64 value) { put(key, QJsonValue(value)); }
void Preferences::setString(const QString &key, const QString &value) { put(key, QJsonValue(value)); }
void Preferences::setData(const QString &key, const QByteArray &value) { put(key, encodeData(value)); }
void Preferences::setDictionary(const QString &key, const QJsonObject &value) { put(key, QJsonValue(value)); }

void Preferences::setIntDictionary(const QString &key, const QMap<QString, qint64> &value)
{
    QJsonObject o;
    for (auto it = value.begin(); it != value.end(); ++it)
        o.insert(it.key(), QJsonValue(it.value()));
    put(key, QJsonValue(o));
}

void Preferences::remove(const QString &key)
{
    if (!m_values.contains(key))
        return;
    m_values.remove(key);
    m_unsavedKeys.insert(key);
    changed();
    emit valueChanged(key);
}

QJsonValue Preferences::encodeData(const QByteArray &bytes)
{
    return QJsonObject{{kDataTag, QString::fromLatin1(bytes.toBase64())}};
}

std::optional<QByteArray> Preferences::decodeData(const QJsonValue &v)
{
    if (!isTaggedData(v))
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(v.toObject().value(kDataTag).toString().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return *decoded;
}

void Preferences::put(const QString &key, const QJsonValue &value)
{
    m_values.insert(key, value);
    m_unsavedKeys.insert(key);
    changed();
    emit valueChanged(key);
}

} // namespace qv::state
