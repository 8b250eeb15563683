#include "dashboard/WriterWorkspace.h"

#include "dashboard/DashboardText.h"
#include "dashboard/Labels.h"
#include "dashboard/ProjectRow.h"
#include "dashboard/RowReveal.h"
#include "dashboard/WriterDetailView.h"
#include "dashboard/WriterFilters.h"
#include "state/AppState.h"
#include "state/Library.h"
#include "theme/AnimatedValue.h"
#include "theme/NoticeBanner.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"
#include "theme/ThemeEnvironment.h"
#include "theme/Typography.h"

#include <QCoreApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPainter>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace qv::dashboard {

namespace {
// A label drawn at an opacity that an animated value sets.
class FadingLabel : public QLabel {
public:
    FadingLabel(const QString &text, QWidget *parent) : QLabel(text, parent) {}
    AnimatedValue *opacity = nullptr;

protected:
    void paintEvent(QPaintEvent *) override
    {
        const double o = opacity ? opacity->value() : 1.0;
        if (o <= 0)
            return;
        QPainter p(this);
        p.setOpacity(o);
        p.setPen(Theme::subtext());
        p.setFont(font());
        p.drawText(contentsRect(), int(alignment()), text());
    }
};
} // namespace

WriterWorkspace::WriterWorkspace(state::AppState &appState, QWidget *parent) : QWidget(parent), m_appState(appState)
{
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    m_keptNotice = new NoticeBanner(this);
    stack->addWidget(m_keptNotice);
    m_saveNotice = new NoticeBanner(this);
    stack->addWidget(m_saveNotice);

    m_listPage = new QWidget(this);
    auto *list = new QVBoxLayout(m_listPage);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(12);
    m_newProject = new QVButton(QStringLiteral("+ NEW PROJECT"), QVButtonVariant::primary, false, m_listPage);
    m_newProject->setFont(Typography::font(TextStyle::Headline, QFont::DemiBold));
    m_newProject->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_newProject->setMinimumHeight(m_newProject->sizeHint().height() + 8);
    list->addWidget(m_newProject);

    m_filters = new WriterFilters(m_listPage);
    list->addWidget(m_filters);

    m_rowsBox = new QWidget(m_listPage);
    m_rowsLayout = new QVBoxLayout(m_rowsBox);
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setSpacing(kRowSpacing);
    list->addWidget(m_rowsBox);

    m_empty = new QWidget(m_listPage);
    m_empty->setMinimumHeight(180);
    auto *empty = new QVBoxLayout(m_empty);
    empty->setSpacing(6);
    empty->addStretch();
    m_emptyLabel = styledLabel({}, Typography::font(TextStyle::Body), Theme::subtext(), m_empty);
    empty->addWidget(m_emptyLabel, 0, Qt::AlignHCenter);
    auto *tip = new FadingLabel(emptyStateTip(), m_empty);
    tip->setFont(Typography::font(TextStyle::Caption2));
    tip->setTextFormat(Qt::PlainText);
    m_tipOpacity = new AnimatedValue(0, tip);
    tip->opacity = m_tipOpacity;
    connect(m_tipOpacity, &AnimatedValue::changed, tip, qOverload<>(&QWidget::update));
    m_tip = tip;
    m_tip->hide();
    empty->addWidget(m_tip, 0, Qt::AlignHCenter);
    empty->addStretch();
    list->addWidget(m_empty);
    list->addStretch();
    stack->addWidget(m_listPage);

    m_detail = new WriterDetailView(this);
    m_detail->hide();
    stack->addWidget(m_detail);

    connect(m_newProject, &QAbstractButton::clicked, this, &WriterWorkspace::newProjectRequested);
    connect(m_filters, &WriterFilters::filterChanged, this, &WriterWorkspace::refreshList);
    connect(m_detail, &WriterDetailView::backRequested, this, &WriterWorkspace::closeProject);
    // The page acts on the project as stored now, found by its id.
    connect(m_detail, &WriterDetailView::typeRequested, this, [this] {
        if (m_activeId)
            emit typeRequested(*m_activeId);
    });
    connect(m_detail, &WriterDetailView::editRequested, this, [this] {
        if (m_activeId)
            emit editRequested(*m_activeId);
    });
    connect(m_detail, &WriterDetailView::deleteRequested, this, [this] {
        if (m_activeId)
            emit deleteRequested(*m_activeId);
    });
    connect(&m_appState, &state::AppState::projectsChanged, this, &WriterWorkspace::refresh);
    connect(&m_appState.library(), &state::Library::keptFilesChanged, this, &WriterWorkspace::refreshKeptFile);
    // A later save that wrote the list, from here or from the editor, ends
    // the failure notice.
    connect(&m_appState.library(), &state::Library::projectsSaved, m_saveNotice,
            [notice = m_saveNotice] { notice->present(QString()); });
    refreshKeptFile();
    connect(&m_appState, &state::AppState::accessibilityReadyChanged, this, &WriterWorkspace::refreshReadiness);
    connect(&m_appState, &state::AppState::inputMonitoringReadyChanged, this, &WriterWorkspace::refreshReadiness);
    refreshReadiness();
    refresh();
}

void WriterWorkspace::showSaveResult(const SaveResult &result)
{
    m_saveNotice->present(saveFailureText(QStringLiteral("your projects"), result));
}

void WriterWorkspace::refreshKeptFile()
{
    m_keptNotice->presentOnce(
        state::Library::keptFileText(m_appState.library().keptProjectsFile(), QStringLiteral("projects file")));
}

QList<Project> WriterWorkspace::filteredProjects() const
{
    return dashboard::filteredProjects(m_appState.projects(), m_filters->filter());
}

std::optional<Project> WriterWorkspace::activeProject() const
{
    if (!m_activeId)
        return std::nullopt;
    for (const Project &p : m_appState.projects())
        if (p.id == *m_activeId)
            return p;
    return std::nullopt;
}

void WriterWorkspace::openProject(const QUuid &id)
{
    m_activeId = id;
    refresh();
    emit activeProjectChanged();
}

void WriterWorkspace::closeProject()
{
    if (!m_activeId)
        return;
    m_activeId.reset();
    refresh();
    emit activeProjectChanged();
}

void WriterWorkspace::refresh()
{
    const std::optional<Project> active = activeProject();
    if (m_activeId && !active) {
        // The project is gone (deleted here or elsewhere): its page closes
        // as if Back was pressed, and an undo does not reopen it.
        m_activeId.reset();
        refresh();
        emit activeProjectChanged();
        return;
    }
    if (active) {
        m_detail->setProject(*active);
        m_listPage->hide();
        m_detail->show();
        return;
    }
    m_detail->hide();
    m_listPage->show();
    refreshList();
}

ProjectRow *WriterWorkspace::makeRow(const Project &project)
{
    auto *row = new ProjectRow(project);
    new RowReveal(row, m_rowsBox);
    const QUuid id = project.id;
    connect(row, &ProjectRow::opened, this, [this, id] { openProject(id); });
    connect(row, &ProjectRow::typeRequested, this, [this, id] { emit typeRequested(id); });
    connect(row, &ProjectRow::deleteRequested, this, [this, id] { emit deleteRequested(id); });
    return row;
}

void WriterWorkspace::refreshList()
{
    const QList<Project> shown = filteredProjects();
    // Rows come and go with an animation when the number of projects
    // changes (a save of a new one, a deletion, an undo), not when a filter
    // or an edit changes what is shown.
    const qsizetype count = m_appState.projects().size();
    const bool counted = m_projectCount >= 0 && count != m_projectCount;
    m_projectCount = count;
    const Animation motion = counted && !m_appState.reduceMotionEnabled() ? Animation::easeInOut(kRowMotionMs)
                                                                          : Animation::none();
    // Rows still on their way out of an earlier change go at once.
    for (const QPointer<ProjectRow> &row : std::exchange(m_leaving, {}))
        if (row)
            dropRow(row);
    const QList<ProjectRow *> before = rows();
    // Rows are kept while their project is unchanged, so a keystroke in the
    // search field does not rebuild the whole list.
    QHash<QUuid, RowEntry> kept;
    QList<ProjectRow *> entering;
    while (m_rowsLayout->count() > 0)
        delete m_rowsLayout->takeAt(0);
    for (const Project &p : shown) {
        RowEntry entry;
        auto it = m_rows.find(p.id);
        const bool known = it != m_rows.end() && it->row;
        if (known && it->project == p) {
            entry = *it;
            m_rows.erase(it);
        } else {
            entry = {p, makeRow(p)};
            if (!known && counted)
                entering.append(entry.row);
        }
        m_rowsLayout->addWidget(revealOf(entry.row));
        revealOf(entry.row)->show();
        kept.insert(p.id, entry);
    }
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        ProjectRow *row = it->row;
        if (!row)
            continue;
        // A project that is gone leaves from where it stood; a changed one
        // is replaced at once.
        if (counted && !motion.isNone() && !kept.contains(it.key())) {
            m_rowsLayout->insertWidget(std::min<int>(int(before.indexOf(row)), m_rowsLayout->count()),
                                       revealOf(row));
            moveRow(row, false, motion);
        } else {
            dropRow(row);
        }
    }
    m_rows = kept;
    for (ProjectRow *row : std::as_const(entering))
        moveRow(row, true, motion);

    const bool empty = shown.isEmpty();
    m_rowsBox->setVisible(!empty);
    m_empty->setVisible(empty);
    m_emptyLabel->setText(emptyStateText(!m_appState.projects().isEmpty()));
    revealTipIfShown();
}

void WriterWorkspace::moveRow(ProjectRow *row, bool entering, const Animation &animation)
{
    if (animation.isNone())
        return;
    // The part of the row shown and its opacity run between nothing and
    // full; the row itself keeps its full size and is clipped. The end is
    // scheduled on its own, so a row whose page is hidden still settles.
    if (!entering) {
        m_leaving.append(row);
        row->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    RowReveal *reveal = revealOf(row);
    auto *fade = new QGraphicsOpacityEffect(row);
    row->setGraphicsEffect(fade);
    auto *t = new AnimatedValue(entering ? 0 : 1, row);
    auto apply = [reveal, fade, t] {
        const double v = std::clamp(t->value(), 0.0, 1.0);
        reveal->setRevealed(v);
        fade->setOpacity(v);
        layOutNow(reveal);
    };
    connect(t, &AnimatedValue::changed, row, apply);
    apply();
    t->set(entering ? 1 : 0, animation);
    QPointer<ProjectRow> guard(row);
    QPointer<WriterWorkspace> self(this);
    QPointer<AnimatedValue> motion(t);
    ThemeEnvironment::scheduler().singleShot(animation.durationMs, [guard, self, motion, entering] {
        if (!guard)
            return;
        delete motion.data(); // no late frame after the end
        if (entering) {
            guard->setGraphicsEffect(nullptr);
            revealOf(guard)->setRevealed(1);
            return;
        }
        if (self)
            self->m_leaving.removeAll(guard);
        dropRow(guard);
    });
}

void WriterWorkspace::layOutNow(QWidget *from)
{
    // Every frame the list's height changes, and the page's nested layouts
    // would each take a turn of the event loop to follow, the list's box
    // lagging behind its rows and cutting the last one. They follow at once,
    // from the inside out, up to the window.
    for (QWidget *w = from->parentWidget(); w; w = w->parentWidget()) {
        QEvent request(QEvent::LayoutRequest);
        QCoreApplication::sendEvent(w, &request);
        if (w->isWindow())
            break;
    }
}

RowReveal *WriterWorkspace::revealOf(ProjectRow *row) { return static_cast<RowReveal *>(row->parentWidget()); }

void WriterWorkspace::dropRow(ProjectRow *row)
{
    RowReveal *reveal = revealOf(row);
    reveal->hide();
    reveal->deleteLater();
}

void WriterWorkspace::refreshReadiness()
{
    const bool ready = m_appState.accessibilityReady() && m_appState.inputMonitoringReady();
    // Dimmed but still enabled: a click explains what is missing.
    m_newProject->setOpacity(ready ? 1.0 : 0.6);
}

void WriterWorkspace::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    revealTipIfShown();
}

void WriterWorkspace::revealTipIfShown()
{
    // The tip comes in the first time the empty list is on screen and then
    // stays for the life of the dashboard.
    if (m_showEmptyTip || !m_empty->isVisible())
        return;
    m_showEmptyTip = true;
    m_tip->show();
    m_tipOpacity->set(1, m_appState.reduceMotionEnabled() ? Animation::none() : Animation::easeInOut(kTipFadeMs));
}

double WriterWorkspace::tipOpacity() const { return m_tipOpacity->value(); }

QList<ProjectRow *> WriterWorkspace::rows() const
{
    QList<ProjectRow *> out;
    for (int i = 0; i < m_rowsLayout->count(); ++i)
        if (auto *reveal = qobject_cast<RowReveal *>(m_rowsLayout->itemAt(i)->widget()))
            if (auto *r = qobject_cast<ProjectRow *>(reveal->content()); r && !m_leaving.contains(r))
                out.append(r);
    return out;
}

QList<ProjectRow *> WriterWorkspace::leavingRows() const
{
    QList<ProjectRow *> out;
    for (const QPointer<ProjectRow> &r : m_leaving)
        if (r)
            out.append(r);
    return out;
}

ProjectRow *WriterWorkspace::row(const QUuid &id) const
{
    auto it = m_rows.find(id);
    return it == m_rows.end() ? nullptr : it->row.data();
}

} // namespace qv::dashboard
