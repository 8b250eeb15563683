#include "study/StudyViewState.h"

namespace qv::study {

std::optional<StudyProject> shownSet(const StudyViewState &state, const QList<StudyProject> &stored)
{
    if (!state.held)
        return std::nullopt;
    for (const StudyProject &p : stored)
        if (p.id == state.held->id)
            return p;
    return state.held;
}

bool keepsPage(const StudyViewState &a, const StudyViewState &b)
{
    if (a.page != b.page)
        return false;
    if (!a.held || !b.held)
        return !a.held && !b.held;
    return a.held->id == b.held->id;
}

} // namespace qv::study
