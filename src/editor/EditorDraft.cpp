#include "editor/EditorDraft.h"

#include <QJsonValue>

#include <optional>

namespace qv::editor {

namespace {

std::optional<QString> asString(const QJsonValue &v)
{
    if (!v.isString())
        return std::nullopt;
    return v.toString();
}

// Whole numbers only: a fraction or a number beyond 64 bits is not an integer.
std::optional<qint64> asInteger(const QJsonValue &v)
{
    if (!v.isDouble())
        return std::nullopt;
    const qint64 i = v.toInteger(0);
    if (i != 0 || v.toInteger(1) == 0)
        return i;
    return std::nullopt;
}

std::optional<bool> asBool(const QJsonValue &v)
{
    if (!v.isBool())
        return std::nullopt;
    return v.toBool();
}

} // namespace

QJsonObject EditorDraft::toJson() const
{
    return QJsonObject{
        {QStringLiteral("title"), title},
        {QStringLiteral("text"), text},
        {QStringLiteral("wpm"), QJsonValue(wpm)},
        {QStringLiteral("totalMinutes"), QJsonValue(totalMinutes)},
        {QStringLiteral("mode"), mode},
        {QStringLiteral("grade"), grade},
        {QStringLiteral("review"), review},
        {QStringLiteral("humanize"), humanize},
    };
}

EditorDraft EditorDraft::restored(const QJsonObject &stored, const EditorDraft &current)
{
    EditorDraft d = current;
    d.title = asString(stored.value(QStringLiteral("title"))).value_or(QString());
    d.text = asString(stored.value(QStringLiteral("text"))).value_or(QString());
    d.wpm = asInteger(stored.value(QStringLiteral("wpm"))).value_or(current.wpm);
    d.totalMinutes = asInteger(stored.value(QStringLiteral("totalMinutes"))).value_or(current.totalMinutes);
    d.mode = asString(stored.value(QStringLiteral("mode"))).value_or(current.mode);
    d.grade = asString(stored.value(QStringLiteral("grade"))).value_or(current.grade);
    d.review = asString(stored.value(QStringLiteral("review"))).value_or(current.review);
    d.humanize = asBool(stored.value(QStringLiteral("humanize"))).value_or(current.humanize);
    return d;
}

} // namespace qv::editor
