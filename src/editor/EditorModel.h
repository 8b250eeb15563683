#pragma once

#include "editor/EditorDraft.h"
#include "editor/EditorRules.h"
#include "model/Project.h"
#include "model/SaveResult.h"
#include "services/OllamaClient.h"
#include "state/SmartProfile.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <optional>

namespace qv {
class WallClock;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::editor {

// Everything the project editor knows and does, without widgets: the form's
// values, which of them the user chose (the "manual" flags that keep smart
// suggestions away), the draft of a new project, and the save. Widgets push
// the user's own edits in through the action methods below and redraw on
// `changed`; values the editor writes itself (loading, the draft, a
// suggestion) never pass through those methods, so they never count as the
// user's choices.
class EditorModel : public QObject {
    Q_OBJECT
public:
    enum class SaveOutcome {
        incomplete, // blank title or text: nothing happened
        failed,     // the projects file was not written: the editor stays open
        saved,      // stored and closed
    };
    static inline const QString kSaveFailedMessage = QStringLiteral("Could not save the project.");
    // The line under the form after a failed save: that message, the reason
    // and what is kept.
    static QString savedFailedText(const SaveResult &failed);

    // `project`: the project to edit, or none for a new one. `close` closes
    // the editor (after a save, and from the close and Cancel buttons).
    EditorModel(state::AppState &appState, std::optional<Project> project, const WallClock &clock,
                std::function<void()> close, QObject *parent = nullptr);

    // Fills the form from the project, or for a new project from the stored
    // defaults, the draft and a suggestion. Once per editor window: showing
    // the window again (after minimising) must not throw away edits.
    void load();
    bool isLoaded() const { return m_loaded; }
    bool isEditing() const { return m_project.has_value(); }

    // ---- the form
    int tab() const { return m_tab; }
    const QString &headerTitle() const { return m_headerTitle; }
    const QString &title() const { return m_title; }
    const QString &text() const { return m_text; }
    qint64 wpm() const { return m_wpm; }
    qint64 totalMinutes() const { return m_totalMinutes; }
    const QString &mode() const { return m_mode; }
    const QString &grade() const { return m_grade; }
    const QString &review() const { return m_review; }
    bool humanize() const { return m_humanize; }
    const QString &notes() const { return m_notes; }
    const std::optional<QUrl> &pdfUrl() const { return m_pdfUrl; }
    const QString &status() const { return m_status; }
    const QString &smartHint() const { return m_smartHint; }
    const std::optional<state::SmartProfile> &smartPreview() const { return m_smartPreview; }
    bool showSmartWhy() const { return m_showSmartWhy; }
    // One line under the footer after a save that could not be written.
    const QString &saveError() const { return m_saveError; }

    bool hasManualGrade() const { return m_manualGrade; }
    bool hasManualReview() const { return m_manualReview; }
    bool hasManualTitle() const { return m_manualTitle; }
    bool hasManualSpeed() const { return m_manualSpeed; }

    // ---- what the widgets show
    QStringList summaryPills() const;
    QString speedLabel() const;
    // Shown in total-time mode only.
    bool showsHumanAverage() const { return m_mode == kModeTime; }
    QString humanAverageLabel() const;
    SliderRange sliderRange() const;
    // Whether the smart row and card show: the preference is on and there is a suggestion.
    bool showsSmartBrief() const;
    bool showsLongSessionWarning() const;
    // The reason for the current text, worked out at every call.
    QString smartReason() const;

    // ---- the user's actions
    void chooseTab(int tab);
    void editTitle(const QString &title);
    void editText(const QString &text);
    // Choosing the value already chosen changes and marks nothing.
    void chooseGrade(const QString &grade);
    void chooseReview(const QString &review);
    void setHumanize(bool on);
    void applyPreset(SpeedPreset preset);
    void chooseMode(const QString &mode);
    // A slider position; truncated toward zero.
    void moveSlider(double value);
    void editNotes(const QString &notes);
    // The file chooser's answer when the user confirmed; `url` may be
    // missing. A file that is not a PDF by its name is refused.
    void pdfChosen(const std::optional<QUrl> &url);
    void openSmartWhy();
    void closeSmartWhy();
    SaveOutcome save();
    void close();

signals:
    void changed();

private:
    EditorDraft draftFields() const;
    void saveDraft();
    void loadDraftIfAvailable();
    void applySmartDefaults(const QString &text);

    state::AppState &m_app;
    const std::optional<Project> m_project;
    const WallClock &m_clock;
    std::function<void()> m_close;
    // Held for the outline tab's future generation; nothing calls it.
    const OllamaClient m_ollama;
    bool m_loaded = false;
    // A new project's id, drawn at its first save and kept for every later one.
    std::optional<QUuid> m_newId;

    int m_tab = 0;
    QString m_headerTitle = kNewProjectHeading;
    QString m_title;
    QString m_text;
    qint64 m_wpm = 77;
    qint64 m_totalMinutes = 30;
    QString m_mode = kModeWpm;
    QString m_grade = QStringLiteral("12");
    QString m_review = QStringLiteral("medium");
    bool m_humanize = false;
    QString m_notes;
    std::optional<QUrl> m_pdfUrl;
    QString m_status;
    QString m_smartHint;
    bool m_manualGrade = false;
    bool m_manualReview = false;
    bool m_manualTitle = false;
    bool m_manualSpeed = false;
    std::optional<state::SmartProfile> m_smartPreview;
    bool m_showSmartWhy = false;
    QString m_saveError;
};

} // namespace qv::editor
