#include "study/views/StudyLibraryPage.h"

#include "state/Preferences.h"
#include "study/StudyLibraryText.h"
#include "study/StudySetOrder.h"
#include "study/views/StudyResumeCard.h"
#include "study/views/StudySetRow.h"
#include "study/views/StudyText.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVPillPicker.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QVBoxLayout>

namespace qv::study {

StudyLibraryPage::StudyLibraryPage(state::Preferences &preferences, QWidget *parent)
    : QWidget(parent), m_preferences(preferences),
      m_grade(preferences.stringValue(library::kGradeKey).value_or(library::kDefaultGrade))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    m_resume = new StudyResumeCard;
    m_resume->hide();
    layout->addWidget(m_resume);
    connect(m_resume, &StudyResumeCard::continueClicked, this, &StudyLibraryPage::continueRequested);

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(styledLabel(QStringLiteral("Lexmoor"), TextStyle::Title, QFont::DemiBold, Theme::text()));
    titleRow->addStretch(1);
    layout->addLayout(titleRow);

    auto *gradeRow = new QHBoxLayout;
    gradeRow->setSpacing(12);
    auto *gradeStack = new QVBoxLayout;
    gradeStack->setSpacing(4);
    gradeStack->addWidget(
        styledLabel(QStringLiteral("Grade Level"), TextStyle::Caption, QFont::Bold, Theme::subtext()));
    m_gradePicker = new QVPillPicker(QStringLiteral("Grade"));
    m_gradePicker->setOptions<QString>(library::gradeOptions(), [](const QString &g) { return g; });
    m_gradePicker->setSelection(m_grade);
    m_gradePicker->setFixedWidth(320);
    gradeStack->addWidget(m_gradePicker);
    gradeRow->addLayout(gradeStack);
    gradeRow->addStretch(1);
    layout->addLayout(gradeRow);
    connect(m_gradePicker, &QVPillPicker::selectionChanged, this,
            [this](const QVariant &value) { setGrade(value.toString()); });

    auto *createRow = new QHBoxLayout;
    m_create = new QVButton(QStringLiteral("Create Set"), QVButtonVariant::secondary, false);
    createRow->addStretch(1);
    createRow->addWidget(m_create);
    createRow->addStretch(1);
    layout->addLayout(createRow);
    connect(m_create, &QAbstractButton::clicked, this, &StudyLibraryPage::createRequested);

    m_search = new QVLineEdit(nullptr, 12);
    m_search->setPlaceholderText(QStringLiteral("Search study sets"));
    m_search->setAccessibleName(QStringLiteral("Search study sets"));
    layout->addWidget(m_search);
    connect(m_search, &QLineEdit::textChanged, this, [this] { rebuildList(); });

    m_listHost = new QWidget;
    m_listLayout = new QVBoxLayout(m_listHost);
    m_listLayout->setContentsMargins(0, 0, 0, 0);
    m_listLayout->setSpacing(kRowSpacing);
    layout->addWidget(m_listHost);

    m_empty = new QWidget;
    m_empty->setMinimumHeight(180);
    auto *emptyLayout = new QVBoxLayout(m_empty);
    emptyLayout->setSpacing(8);
    emptyLayout->addStretch(1);
    m_emptyTitle = styledLabel({}, TextStyle::Body, std::nullopt, Theme::subtext());
    m_emptyTip = styledLabel(library::kTip, TextStyle::Caption2, std::nullopt, Theme::subtext());
    m_emptyTitle->setAlignment(Qt::AlignCenter);
    m_emptyTip->setAlignment(Qt::AlignCenter);
    emptyLayout->addWidget(m_emptyTitle);
    emptyLayout->addWidget(m_emptyTip);
    emptyLayout->addStretch(1);
    layout->addWidget(m_empty);
    layout->addStretch(1);

    rebuildList();
}

QString StudyLibraryPage::searchText() const { return m_search->text(); }

void StudyLibraryPage::setSets(const QList<StudyProject> &sets)
{
    m_sets = sets;
    // Chosen from every stored set, whatever the search shows.
    if (const auto resume = resumeCandidate(sets)) {
        m_resume->setProject(*resume);
        m_resume->show();
    } else {
        m_resume->hide();
    }
    rebuildList();
}

void StudyLibraryPage::rebuildList()
{
    // A row is rebuilt only when its set changed; a search only shows and
    // hides rows, so typing stays quick with many sets.
    QHash<QUuid, StudySetRow *> previous;
    for (StudySetRow *row : std::as_const(m_allRows))
        previous.insert(row->project().id, row);
    for (StudySetRow *row : std::as_const(m_allRows))
        m_listLayout->removeWidget(row);
    m_allRows.clear();
    m_rows.clear();

    const QString search = m_search->text();
    for (const StudyProject &set : std::as_const(m_sets)) {
        StudySetRow *row = previous.value(set.id);
        if (row && row->project() == set && !m_allRows.contains(row)) {
            previous.remove(set.id);
        } else {
            row = new StudySetRow(set, m_listHost);
            connect(row, &StudySetRow::openRequested, this, &StudyLibraryPage::openRequested);
            connect(row, &StudySetRow::studyRequested, this, &StudyLibraryPage::studyRequested);
            connect(row, &StudySetRow::quizRequested, this, &StudyLibraryPage::quizRequested);
            connect(row, &StudySetRow::deleteRequested, this, &StudyLibraryPage::deleteRequested);
        }
        m_listLayout->addWidget(row);
        m_allRows.append(row);
        const bool shown = library::matchesSearch(set.title, search);
        row->setVisible(shown);
        if (shown)
            m_rows.append(row);
    }
    // Rows go later: this may run inside a row's own click.
    for (StudySetRow *row : std::as_const(previous)) {
        row->hide();
        row->deleteLater();
    }

    m_listHost->setVisible(!m_rows.isEmpty());
    m_empty->setVisible(m_rows.isEmpty());
    m_emptyTitle->setText(library::emptyStateTitle(!m_sets.isEmpty()));
}

void StudyLibraryPage::setGrade(const QString &grade)
{
    if (grade.isEmpty())
        return;
    m_grade = grade;
    m_preferences.setString(library::kGradeKey, grade);
}

} // namespace qv::study
