#pragma once

#include "model/StudyProject.h"
#include "study/StudyDelimiter.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>
#include <variant>

namespace qv::study {

// The tabs of the study set window.
enum class ImportMode { manual, paste, pdf };
const QList<ImportMode> &allImportModes();
QString rawValue(ImportMode mode); // "Manual", "Paste", "PDF"

// One card of the window's list: only its id and two sides.
struct ManualCardDraft {
    QUuid id;
    QString term;
    QString definition;
    bool operator==(const ManualCardDraft &) const = default;
};

// What the set window has been given when its save button is pressed.
struct ImportForm {
    QString title;
    QString grade;
    QString rawText;
    StudyDelimiter delimiter = StudyDelimiter::Auto;
    ImportMode mode = ImportMode::manual;
};

// The card list of the set window and its save step, without widgets.
class StudyImportDraft {
public:
    static inline const QString kUntitled = QStringLiteral("Untitled Set");
    static inline const QString kNoCards = QStringLiteral("Add at least one card to save.");

    // Loads an edited set's cards in their order (a new set starts empty).
    void load(const StudyProject &project);

    const QList<ManualCardDraft> &cards() const { return m_cards; }
    std::optional<QUuid> editingCardId() const { return m_editingId; }

    // Adds the trimmed sides as a new card, or writes them into the card
    // under edit. Returns false, changing nothing, when a side is empty.
    bool addManualCard(const QString &term, const QString &definition);
    // Marks a card as under edit; the caller fills its fields with the sides.
    void editCard(const ManualCardDraft &card) { m_editingId = card.id; }
    // Removes the card; a card under edit stays marked (its next "Update"
    // appends a new card).
    void deleteCard(const ManualCardDraft &card);

    // The finished set, or the message to show when it has no card. The
    // manual cards come first; pasted lines are read only on the Paste tab.
    // An edited set keeps its id; every card starts without progress and the
    // set with the default options (the opener restores what survives).
    std::variant<StudyProject, QString> prepareSave(const ImportForm &form, const std::optional<StudyProject> &existing,
                                                    const QDateTime &now) const;

private:
    QList<ManualCardDraft> m_cards;
    std::optional<QUuid> m_editingId;
};

// The title a set is saved with: trimmed, "Untitled Set" when blank.
QString savedTitle(const QString &typed);

} // namespace qv::study
