#pragma once

#include <QJsonObject>
#include <QString>

namespace qv::editor {

// The part of a new project's form that is kept between editor windows and
// across launches, stored as one dictionary under `key`.
struct EditorDraft {
    static inline const QString key = QStringLiteral("qv_draft_project_v1");

    QString title;
    QString text;
    qint64 wpm = 0;
    qint64 totalMinutes = 0;
    QString mode;
    QString grade;
    QString review;
    bool humanize = false;

    // All eight entries, always.
    QJsonObject toJson() const;

    // Restores over `current`: "title" and "text" become empty when they are
    // not strings; every other entry of the wrong type leaves its field as it
    // was. Values are taken as stored, without range checks.
    static EditorDraft restored(const QJsonObject &stored, const EditorDraft &current);

    friend bool operator==(const EditorDraft &, const EditorDraft &) = default;
};

} // namespace qv::editor
