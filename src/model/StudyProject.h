#pragma once

#include "model/StudyItem.h"
#include "model/StudyOptions.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

namespace qv {

// One study set: a titled, ordered list of cards with its session options.
struct StudyProject {
    QUuid id;
    QString title;
    QString grade;
    QList<StudyItem> items;
    StudyOptions options;
    QDateTime updatedAt;

    friend bool operator==(const StudyProject &, const StudyProject &) = default;
};

} // namespace qv
