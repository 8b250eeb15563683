#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

namespace qv {

// One writing project: the text to type and the settings that shape the
// typing. `grade` and `review` are plain strings here; the typing engine
// interprets them.
struct Project {
    QUuid id;
    QString title;
    QString text;
    qint64 wpm = 0;
    bool isAI = false;
    bool humanize = false;
    QString grade;
    QString review;
    QDateTime updatedAt;

    // All nine fields; dates compare as exact instants.
    friend bool operator==(const Project &, const Project &) = default;
};

} // namespace qv
