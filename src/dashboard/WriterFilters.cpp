#include "dashboard/WriterFilters.h"

#include "dashboard/Labels.h"
#include "theme/QVLineEdit.h"
#include "theme/QVPillPicker.h"
#include "theme/QVToggle.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qv::dashboard {

WriterFilters::WriterFilters(QWidget *parent) : Card(Theme::surfaceAlt(), 12, parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(10);

    m_search = new QVLineEdit(this, 12);
    m_search->setPlaceholderText(QStringLiteral("Search projects"));
    column->addWidget(m_search);

    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    m_grade = new QVPillPicker(QStringLiteral("Grade"), this);
    m_grade->setOptions(gradeFilterOptions(),
                        std::function<QString(const QString &)>([](const QString &o) { return o; }));
    m_grade->setSelection(m_filter.grade);
    m_review = new QVPillPicker(QStringLiteral("Review"), this);
    m_review->setOptions(reviewFilterOptions(), std::function<QString(const QString &)>(&reviewFilterLabel));
    m_review->setSelection(m_filter.review);
    row->addWidget(m_grade);
    row->addWidget(m_review);
    auto *ai = new QHBoxLayout;
    ai->setSpacing(4);
    ai->addWidget(styledLabel(QStringLiteral("AI only"), Typography::font(TextStyle::Caption, QFont::DemiBold),
                              Theme::subtext(), this));
    m_aiOnly = new QVToggle(QString(), this);
    m_aiOnly->setCheckable(true);
    ai->addWidget(m_aiOnly);
    row->addLayout(ai);
    row->addStretch();
    column->addLayout(row);

    connect(m_search, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_filter.searchText = text;
        emit filterChanged();
    });
    connect(m_grade, &QVPillPicker::selectionChanged, this, [this](const QVariant &v) {
        m_filter.grade = v.toString();
        emit filterChanged();
    });
    connect(m_review, &QVPillPicker::selectionChanged, this, [this](const QVariant &v) {
        m_filter.review = v.toString();
        emit filterChanged();
    });
    connect(m_aiOnly, &QAbstractButton::toggled, this, [this](bool on) {
        m_filter.aiOnly = on;
        emit filterChanged();
    });
}

} // namespace qv::dashboard
