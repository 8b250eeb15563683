#pragma once

#include <QObject>
#include <QString>

namespace qv::dashboard {

// The values the dashboard and its settings window share: the window edits
// them and the dashboard keeps them while it lives, so a sample typed into
// the preview is there again when the window comes back. Both hold it
// (std::shared_ptr), so a window left open after a sign-out keeps working.
class SettingsBindings : public QObject {
    Q_OBJECT
public:
    SettingsBindings(QString defaultGrade, QString defaultReview, QString smartPreset, QString defaultMode);

    const QString &settingsName() const { return m_settingsName; }
    const QString &defaultGrade() const { return m_defaultGrade; }
    const QString &defaultReview() const { return m_defaultReview; }
    const QString &smartPreset() const { return m_smartPreset; }
    const QString &defaultMode() const { return m_defaultMode; }
    const QString &smartSampleText() const { return m_smartSampleText; }

    // Each emits its signal only when the value changes.
    void setSettingsName(const QString &v);
    void setDefaultGrade(const QString &v);
    void setDefaultReview(const QString &v);
    void setSmartPreset(const QString &v);
    void setDefaultMode(const QString &v);
    void setSmartSampleText(const QString &v);

signals:
    void settingsNameChanged();
    void defaultGradeChanged();
    void defaultReviewChanged();
    void smartPresetChanged();
    void defaultModeChanged();
    void smartSampleTextChanged();

private:
    void assign(QString &field, const QString &value, void (SettingsBindings::*changed)());

    QString m_settingsName;
    QString m_defaultGrade;
    QString m_defaultReview;
    QString m_smartPreset;
    QString m_defaultMode;
    QString m_smartSampleText;
};

} // namespace qv::dashboard
