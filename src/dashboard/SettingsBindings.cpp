#include "dashboard/SettingsBindings.h"

namespace qv::dashboard {

SettingsBindings::SettingsBindings(QString defaultGrade, QString defaultReview, QString smartPreset,
                                   QString defaultMode)
    : m_defaultGrade(std::move(defaultGrade)), m_defaultReview(std::move(defaultReview)),
      m_smartPreset(std::move(smartPreset)), m_defaultMode(std::move(defaultMode))
{
}

void SettingsBindings::assign(QString &field, const QString &value, void (SettingsBindings::*changed)())
{
    if (field == value)
        return;
    field = value;
    emit(this->*changed)();
}

void SettingsBindings::setSettingsName(const QString &v)
{
    assign(m_settingsName, v, &SettingsBindings::settingsNameChanged);
}
void SettingsBindings::setDefaultGrade(const QString &v)
{
    assign(m_defaultGrade, v, &SettingsBindings::defaultGradeChanged);
}
void SettingsBindings::setDefaultReview(const QString &v)
{
    assign(m_defaultReview, v, &SettingsBindings::defaultReviewChanged);
}
void SettingsBindings::setSmartPreset(const QString &v)
{
    assign(m_smartPreset, v, &SettingsBindings::smartPresetChanged);
}
void SettingsBindings::setDefaultMode(const QString &v)
{
    assign(m_defaultMode, v, &SettingsBindings::defaultModeChanged);
}
void SettingsBindings::setSmartSampleText(const QString &v)
{
    assign(m_smartSampleText, v, &SettingsBindings::smartSampleTextChanged);
}

} // namespace qv::dashboard
