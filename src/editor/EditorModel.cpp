#include "editor/EditorModel.h"

#include "editor/EditorServices.h"

#include "core/Text.h"
#include "core/WallClock.h"
#include "state/AppState.h"
#include "state/PreferenceKeys.h"
#include "state/Preferences.h"

#include <cmath>

namespace qv::editor {

EditorModel::EditorModel(state::AppState &appState, std::optional<Project> project, const WallClock &clock,
                         std::function<void()> close, QObject *parent)
    : QObject(parent), m_app(appState), m_project(std::move(project)), m_clock(clock), m_close(std::move(close))
{
    // The smart row and card follow the preference at once.
    connect(&m_app, &state::AppState::showSmartBriefChanged, this, &EditorModel::changed);
}

void EditorModel::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    if (m_project) {
        const Project &p = *m_project;
        m_title = p.title;
        m_headerTitle = p.title;
        m_text = p.text;
        m_wpm = p.wpm;
        m_totalMinutes = roundedAtLeastOne(wordCount(m_text), m_wpm);
        m_grade = p.grade;
        m_review = p.review;
        m_humanize = p.humanize;
        m_smartHint.clear();
        m_manualGrade = m_manualReview = m_manualTitle = m_manualSpeed = true;
        m_smartPreview.reset();
    } else {
        const state::Preferences &prefs = m_app.preferences();
        m_grade = state::prefs::defaultGrade(prefs);
        m_review = state::prefs::defaultReview(prefs);
        m_mode = m_app.defaultMode();
        loadDraftIfAvailable();
        applySmartDefaults(m_text);
    }
    emit changed();
}

// ---- what the widgets show

QStringList EditorModel::summaryPills() const
{
    const QString speed = m_mode == kModeWpm ? QStringLiteral("WPM %1").arg(m_wpm)
                                             : QStringLiteral("%1m").arg(m_totalMinutes);
    return {QStringLiteral("Grade ") + m_grade, capitalized(m_review), speed,
            m_humanize ? QStringLiteral("Humanize") : QStringLiteral("Exact Copy"),
            m_tab == 1 ? QStringLiteral("AI Outline") : QStringLiteral("Manual Draft")};
}

QString EditorModel::speedLabel() const { return speedValueLabel(m_mode, m_wpm, m_totalMinutes); }

QString EditorModel::humanAverageLabel() const { return humanAvgTimeLabel(m_text); }

SliderRange EditorModel::sliderRange() const { return editor::sliderRange(m_mode); }

bool EditorModel::showsSmartBrief() const { return m_app.showSmartBrief() && m_smartPreview.has_value(); }

bool EditorModel::showsLongSessionWarning() const
{
    return m_smartPreview && m_smartPreview->predictedMinutes >= kLongSessionMinutes;
}

QString EditorModel::smartReason() const { return m_app.smartReason(m_text); }

// ---- the user's actions

void EditorModel::chooseTab(int tab)
{
    if (tab == m_tab)
        return;
    m_tab = tab;
    emit changed();
}

void EditorModel::editTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    const QString trimmed = text::trimmed(title);
    m_headerTitle = trimmed.isEmpty() ? kNewProjectHeading : trimmed;
    m_manualTitle = !trimmed.isEmpty();
    saveDraft();
    emit changed();
}

void EditorModel::editText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    applySmartDefaults(m_text);
    emit changed();
}

void EditorModel::chooseGrade(const QString &grade)
{
    if (grade == m_grade)
        return;
    m_grade = grade;
    m_manualGrade = true;
    saveDraft();
    emit changed();
}

void EditorModel::chooseReview(const QString &review)
{
    if (review == m_review)
        return;
    m_review = review;
    m_manualReview = true;
    saveDraft();
    emit changed();
}

void EditorModel::setHumanize(bool on)
{
    if (on == m_humanize)
        return;
    m_humanize = on;
    saveDraft();
    emit changed();
}

void EditorModel::applyPreset(SpeedPreset preset)
{
    switch (preset) {
    case SpeedPreset::essay:
        m_mode = kModeWpm;
        m_wpm = 77;
        m_review = QStringLiteral("medium");
        break;
    case SpeedPreset::timedExam:
        m_mode = kModeWpm;
        m_wpm = 95;
        m_review = QStringLiteral("light");
        break;
    case SpeedPreset::shortResponse:
        m_mode = kModeTime;
        m_totalMinutes = 8;
        m_review = QStringLiteral("light");
        break;
    }
    m_manualSpeed = true;
    m_manualReview = true;
    saveDraft();
    emit changed();
}

void EditorModel::chooseMode(const QString &mode)
{
    m_mode = mode;
    m_manualSpeed = true;
    saveDraft();
    emit changed();
}

void EditorModel::moveSlider(double value)
{
    const qint64 v = qint64(std::trunc(value));
    if (m_mode == kModeWpm)
        m_wpm = v;
    else
        m_totalMinutes = v;
    m_manualSpeed = true;
    saveDraft();
    emit changed();
}

void EditorModel::editNotes(const QString &notes)
{
    if (notes == m_notes)
        return;
    m_notes = notes;
    emit changed();
}

void EditorModel::pdfChosen(const std::optional<QUrl> &url)
{
    if (url && !EditorServices::isPdf(url->fileName())) {
        // Said, never dropped silently; the file chosen before stays.
        m_status = EditorServices::pdfRefusal();
        emit changed();
        return;
    }
    m_pdfUrl = url;
    m_status = QStringLiteral("PDF selected: ") + (url ? url->fileName() : QString());
    emit changed();
}

void EditorModel::openSmartWhy()
{
    if (m_showSmartWhy)
        return;
    m_showSmartWhy = true;
    emit changed();
}

void EditorModel::closeSmartWhy()
{
    if (!m_showSmartWhy)
        return;
    m_showSmartWhy = false;
    emit changed();
}

EditorModel::SaveOutcome EditorModel::save()
{
    // A new press starts without the previous failure's line.
    if (!m_saveError.isEmpty()) {
        m_saveError.clear();
        emit changed();
    }
    if (text::trimmed(m_title).isEmpty() || text::trimmed(m_text).isEmpty())
        return SaveOutcome::incomplete;

    const qint64 speed = m_mode == kModeTime ? roundedAtLeastOne(wordCount(m_text), m_totalMinutes) : m_wpm;
    QUuid id;
    if (m_project) {
        id = m_project->id;
    } else {
        if (!m_newId)
            m_newId = QUuid::createUuid();
        id = *m_newId;
    }

    Project p;
    p.id = id;
    p.title = m_title;
    p.text = m_text;
    p.wpm = speed;
    p.isAI = m_project ? m_project->isAI : m_tab == 1;
    p.humanize = m_humanize;
    p.grade = m_grade;
    p.review = m_review;
    p.updatedAt = m_clock.nowUtc();

    const SaveResult written = m_app.saveProject(p);
    m_app.refreshProfile();
    if (!written) {
        // Nothing reached the disk: keep the draft and the window, and say
        // why and what is kept.
        m_saveError = savedFailedText(written);
        emit changed();
        return SaveOutcome::failed;
    }
    if (!m_project)
        m_app.preferences().remove(EditorDraft::key);
    close();
    return SaveOutcome::saved;
}

QString EditorModel::savedFailedText(const SaveResult &failed)
{
    // The reason opens a sentence of its own here.
    QString reason = failed.reason();
    if (!reason.isEmpty())
        reason[0] = reason[0].toUpper();
    return QStringLiteral("%1 %2. Your text stays in this window; saving again writes it.")
        .arg(kSaveFailedMessage, reason);
}

void EditorModel::close()
{
    // The editor may be gone once this returns.
    if (m_close)
        m_close();
}

// ---- draft and suggestions

EditorDraft EditorModel::draftFields() const
{
    return {m_title, m_text, m_wpm, m_totalMinutes, m_mode, m_grade, m_review, m_humanize};
}

void EditorModel::saveDraft()
{
    if (m_project)
        return;
    m_app.preferences().setDictionary(EditorDraft::key, draftFields().toJson());
}

void EditorModel::loadDraftIfAvailable()
{
    if (m_project)
        return;
    const std::optional<QJsonObject> stored = m_app.preferences().dictionaryValue(EditorDraft::key);
    if (!stored)
        return;
    const EditorDraft d = EditorDraft::restored(*stored, draftFields());
    m_title = d.title;
    m_headerTitle = d.title.isEmpty() ? kNewProjectHeading : d.title;
    m_text = d.text;
    m_wpm = d.wpm;
    m_totalMinutes = d.totalMinutes;
    m_mode = d.mode;
    m_grade = d.grade;
    m_review = d.review;
    m_humanize = d.humanize;
}

void EditorModel::applySmartDefaults(const QString &text)
{
    const state::SmartProfile p = m_app.smartDefaults(text);
    m_smartPreview = p;
    // Written directly, not through the action methods: none of this is the
    // user's choice, so no manual flag changes.
    if (!m_manualGrade)
        m_grade = p.grade;
    if (!m_manualReview)
        m_review = p.review;
    if (!m_manualTitle && p.title && !p.title->isEmpty()) {
        m_title = *p.title;
        m_headerTitle = *p.title;
    }
    if (!m_manualSpeed)
        m_wpm = speedForPreset(p.preset);
    m_smartHint = smartHintText(text, p.grade, p.review, p.preset);
    saveDraft();
}

} // namespace qv::editor
