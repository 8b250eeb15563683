#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>

namespace qv {

// One card of a study set with its practice counters.
struct StudyItem {
    QUuid id;
    QString term;
    QString definition;
    qint64 correctCount = 0;
    qint64 incorrectCount = 0;
    std::optional<QDateTime> lastReviewedAt;
    bool isStarred = false;

    friend bool operator==(const StudyItem &, const StudyItem &) = default;
};

} // namespace qv
