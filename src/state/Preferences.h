#pragma once

#include "model/SaveResult.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

#include <optional>

namespace qv::state {

// The typed preference store: Bool, integer, string, bytes
// and dictionary values under string keys. A typed read of a value of another
// type gives no value; callers apply their own default. This class keeps the
// values in memory only (tests use it as it is); PreferencesFile persists them.
class Preferences : public QObject {
    Q_OBJECT
public:
    explicit Preferences(QObject *parent = nullptr);
    ~Preferences() override;

    std::optional<bool> boolValue(const QString &key) const;
    std::optional<qint64> intValue(const QString &key) const;
    std::optional<QString> stringValue(const QString &key) const;
    std::optional<QByteArray> dataValue(const QString &key) const;
    std::optional<QJsonObject> dictionaryValue(const QString &key) const;
    // A dictionary whose every value is an integer; no value when any is not.
    std::optional<QMap<QString, qint64>> intDictionaryValue(const QString &key) const;
    bool contains(const QString &key) const { return m_values.contains(key); }

    void setBool(const QString &key, bool value);
    void setInt(const QString &key, qint64 value);
    void setString(const QString &key, const QString &value);
    void setData(const QString &key, const QByteArray &value);
    void setDictionary(const QString &key, const QJsonObject &value);
    void setIntDictionary(const QString &key, const QMap<QString, qint64> &value);
    void remove(const QString &key);

    // Writes pending changes out now; the in-memory store has nothing to
    // write and counts everything as written.
    virtual SaveResult flush()
    {
        markSaved();
        return SaveResult::success();
    }

    // Keys changed since the store last reached the disk: after a failed
    // write, whose values it was (so the window that changed them can say so).
    const QSet<QString> &unsavedKeys() const { return m_unsavedKeys; }

    // The whole store as one JSON object, bytes in their tagged form.
    QJsonObject toJson() const { return m_values; }

    // The tagged JSON form of bytes, and its reading (no value when `v` is not one).
    static QJsonValue encodeData(const QByteArray &bytes);
    static std::optional<QByteArray> decodeData(const QJsonValue &v);

signals:
    void valueChanged(const QString &key);
    // A write of the store failed; the values stay in memory and the next
    // write that succeeds stores them.
    void saveFailed(const QString &reason);

protected:
    // Replaces the whole store without announcing changes (used when loading).
    void replaceAll(const QJsonObject &values) { m_values = values; }
    // Called after every change; persistent stores schedule their write here.
    virtual void changed() {}
    // Every change so far reached the disk.
    void markSaved() { m_unsavedKeys.clear(); }

private:
    void put(const QString &key, const QJsonValue &value);

    QJsonObject m_values;
    QSet<QString> m_unsavedKeys;
};

} // namespace qv::state
