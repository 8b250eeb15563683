#pragma once

#include "dashboard/Card.h"
#include "dashboard/ProjectFilter.h"

namespace qv {
class QVLineEdit;
class QVPillPicker;
class QVToggle;
} // namespace qv

namespace qv::dashboard {

// The card of filters above the writer list: a search field, the grade and
// review pickers and the "AI only" switch.
class WriterFilters : public Card {
    Q_OBJECT
public:
    explicit WriterFilters(QWidget *parent = nullptr);

    const ProjectFilter &filter() const { return m_filter; }

    QVLineEdit *searchField() const { return m_search; }
    QVPillPicker *gradePicker() const { return m_grade; }
    QVPillPicker *reviewPicker() const { return m_review; }
    QVToggle *aiOnlySwitch() const { return m_aiOnly; }

signals:
    void filterChanged();

private:
    ProjectFilter m_filter;
    QVLineEdit *m_search;
    QVPillPicker *m_grade;
    QVPillPicker *m_review;
    QVToggle *m_aiOnly;
};

} // namespace qv::dashboard
