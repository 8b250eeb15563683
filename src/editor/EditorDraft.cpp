#include "editor/EditorDraft.h"

#include "core/JsonValues.h"

namespace qv::editor {

QJsonObject EditorDraft::toJson() const
{
    return QJsonObject{
        {QStringLiteral("title"), title},         {QStringLiteral("text"), text},
        {QStringLiteral("wpm"), QJsonValue(wpm)}, {QStringLiteral("totalMinutes"), QJsonValue(totalMinutes)},
        {QStringLiteral("mode"), mode},           {QStringLiteral("grade"), grade},
        {QStringLiteral("review"), review},       {QStringLiteral("humanize"), humanize},
    };
}

EditorDraft EditorDraft::restored(const QJsonObject &stored, const EditorDraft &current)
{
    EditorDraft d = current;
    d.title = json::stringOf(stored.value(QStringLiteral("title"))).value_or(QString());
    d.text = json::stringOf(stored.value(QStringLiteral("text"))).value_or(QString());
    d.wpm = json::integerOf(stored.value(QStringLiteral("wpm"))).value_or(current.wpm);
    d.totalMinutes = json::integerOf(stored.value(QStringLiteral("totalMinutes"))).value_or(current.totalMinutes);
    d.mode = json::stringOf(stored.value(QStringLiteral("mode"))).value_or(current.mode);
    d.grade = json::stringOf(stored.value(QStringLiteral("grade"))).value_or(current.grade);
    d.review = json::stringOf(stored.value(QStringLiteral("review"))).value_or(current.review);
    d.humanize = json::boolOf(stored.value(QStringLiteral("humanize"))).value_or(current.humanize);
    return d;
}

} // namespace qv::editor
