#pragma once

#include <QString>

namespace qv::engine {

// A typo left in the field for the end of the run. `index` is the UTF-16
// offset of the wrong character in the run's typed buffer; `correct` is the
// character of the text and `wrong` the one typed instead (each one grapheme,
// possibly of several units; both may be equal). An empty `correct` marks a
// stray key the run could not take back: it is not part of the text.
struct DeferredError {
    int index = 0;
    QString correct;
    QString wrong;
    friend bool operator==(const DeferredError &, const DeferredError &) = default;
};

} // namespace qv::engine
