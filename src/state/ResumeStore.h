#pragma once

#include "model/Project.h"

namespace qv::state {

class Preferences;

// Where each writing project's typing resumes: the number of characters
// (grapheme clusters) of its text already typed, kept in the preference
// dictionary "qv_resume_progress" under the project's upper-case UUID. A
// store holding anything but integers reads as empty, and the next write
// replaces it with what was written since.
class ResumeStore {
public:
    explicit ResumeStore(Preferences &preferences) : m_preferences(preferences) {}

    int resumeIndex(const Project &project) const;
    // Negative positions are stored as 0.
    void setResumeIndex(qint64 index, const Project &project);
    // Removes the entry (and writes the store back even when there was none).
    void clearResumeIndex(const Project &project);

    static QString keyFor(const Project &project);

private:
    Preferences &m_preferences;
};

} // namespace qv::state
