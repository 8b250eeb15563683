#pragma once

#include <QString>

// Ready-made text rewrites of simulated applications (see FieldQuirks::transform).
namespace qv::sim::transforms {

// Capitalises a lower-case letter typed at the start of the text or of a
// sentence (after ".", "!" or "?" and white space), as autocorrecting
// editors do.
QString capitalizeSentenceStart(const QString &before, const QString &typed);

} // namespace qv::sim::transforms
