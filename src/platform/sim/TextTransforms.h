#pragma once

#include "platform/sim/TextEditing.h"

#include <QHash>
#include <QString>

#include <functional>

// Ready-made text rewrites of simulated applications (see FieldQuirks::transform).
namespace qv::sim::transforms {

// Capitalises a lower-case letter typed at the start of the text or of a
// sentence (after ".", "!" or "?" and white space), as autocorrecting
// editors do.
QString capitalizeSentenceStart(const QString &before, const QString &typed);

// An autocorrect (for FieldQuirks::afterInsert) that replaces a listed word
// once a space is typed after it; the caret stays after the space.
std::function<void(EditState &, const QString &)> autocorrectWords(QHash<QString, QString> words);

} // namespace qv::sim::transforms
