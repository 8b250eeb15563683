#pragma once

#include "model/StudyProject.h"

#include <QList>

#include <optional>

namespace qv::study {

// The four pages of the study workspace.
enum class StudyPage { list, detail, study, quiz };

// The page shown and, for the pages of one set, the copy of the set taken
// when the page was entered.
struct StudyViewState {
    StudyPage page = StudyPage::list;
    std::optional<StudyProject> held;

    static StudyViewState list() { return {}; }
    static StudyViewState detail(const StudyProject &p) { return {StudyPage::detail, p}; }
    static StudyViewState study(const StudyProject &p) { return {StudyPage::study, p}; }
    static StudyViewState quiz(const StudyProject &p) { return {StudyPage::quiz, p}; }

    bool operator==(const StudyViewState &) const = default;
};

// What a page shows: the stored set with the held copy's id (the first one),
// or the held copy when no stored set has it any more. None on the list.
std::optional<StudyProject> shownSet(const StudyViewState &state, const QList<StudyProject> &stored);

// Whether moving from `a` to `b` keeps the hosted page: the same case and,
// for a set's pages, the same set id. Anything else builds a new page.
bool keepsPage(const StudyViewState &a, const StudyViewState &b);

// The dashboard hides its top bar on every page but the library.
inline bool suppressesTopBar(StudyPage page) { return page != StudyPage::list; }

} // namespace qv::study
