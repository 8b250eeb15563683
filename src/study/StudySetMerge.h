#pragma once

namespace qv {
struct StudyProject;
}

namespace qv::study {

// A session hands back its whole working copy of a set after each answer or
// star. Saving that copy blindly would undo an edit made meanwhile in the set
// window (title, grade, card texts). So the session contributes only what it
// owns: for every card present in both, its counters, review date and star,
// and the set's change time; everything else stays as stored. Cards the
// session doesn't know keep their stored values, and cards no longer stored
// stay deleted.
StudyProject mergeSessionCopy(const StudyProject &stored, const StudyProject &sessionCopy);

// Saving an edited set from the set window builds fresh cards; a card whose
// id survives the edit keeps its counters, review date and star, and the set
// keeps its options, so renaming a set doesn't erase its history.
StudyProject keepProgressAcrossEdit(const StudyProject &edited, const StudyProject &previous);

} // namespace qv::study
