#include "editor/ProjectEditorView.h"

#include "core/WallClock.h"
#include "editor/AiOutlineTab.h"
#include "editor/EditorDraft.h"
#include "editor/EditorHeader.h"
#include "editor/EditorModel.h"
#include "editor/NewEssayTab.h"
#include "editor/PreferencesNotice.h"
#include "editor/SmartBriefCard.h"
#include "editor/SmartWhyBubble.h"
#include "state/AppState.h"
#include "theme/AnimatedValue.h"
#include "theme/CustomWindow.h"
#include "theme/NoticeBanner.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVTextEditor.h"
#include "theme/ScrollAreaStyle.h"
#include "theme/Theme.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace qv::editor {

namespace {
constexpr double kTabFadeMs = 200;
constexpr double kBubbleFadeMs = 200;
} // namespace

ProjectEditorView::ProjectEditorView(state::AppState &appState, std::optional<Project> project,
                                     std::function<void()> onClose, EditorServices services, QWidget *parent)
    : QWidget(parent), m_app(appState)
{
    // The editor holds the keyboard focus itself until the user picks a
    // field, so no field is focused when it opens.
    setFocusPolicy(Qt::ClickFocus);
    setFocus();
    const WallClock *clock = services.clock;
    if (!clock) {
        m_ownClock = std::make_unique<SystemWallClock>();
        clock = m_ownClock.get();
    }
    std::function<void()> close = onClose ? std::move(onClose) : std::function<void()>([this] { dismiss(); });
    m_model = new EditorModel(appState, std::move(project), *clock, std::move(close), this);

    // The form keeps its own height and scrolls inside the card when the
    // window is lower than the form, rather than being squeezed into it.
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(1, 1, 1, 1);
    outer->setSpacing(0);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A click on the card's empty parts still lands on the editor itself.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    styleScrollArea(m_scroll, 16, 3);
    outer->addWidget(m_scroll);
    m_body = new QWidget;
    auto *column = new QVBoxLayout(m_body);
    column->setContentsMargins(15, 15, 15, 15);
    column->setSpacing(12);
    m_header = new EditorHeader(*m_model, m_body);
    column->addWidget(m_header);
    // Close and minimise stay where they are while the form scrolls below
    // them, at the same place and the same gap to the heading as before the
    // form is scrolled.
    m_windowBar = new QWidget(this);
    auto *bar = new QVBoxLayout(m_windowBar);
    // Half the gap stays with the strip, so what scrolls away is cut clear
    // of the buttons.
    const int gap = column->spacing();
    const QMargins margins = column->contentsMargins();
    bar->setContentsMargins(margins.left(), margins.top(), margins.right(), gap / 2);
    bar->addWidget(m_header->windowControls());
    outer->insertWidget(0, m_windowBar);
    column->setContentsMargins(margins.left(), gap - gap / 2, margins.right(), margins.bottom());
    m_preferencesNotice = makePreferencesNotice(appState.preferences(), {EditorDraft::key},
                                                QStringLiteral("your draft"), m_body);
    column->addWidget(m_preferencesNotice);
    m_newEssay = new NewEssayTab(*m_model, m_body);
    m_aiOutline = new AiOutlineTab(*m_model,
                                   services.choosePdf ? services.choosePdf : EditorServices::fileDialogPdfChooser(),
                                   m_body);
    column->addWidget(m_newEssay);
    column->addWidget(m_aiOutline);
    column->addStretch(1);
    m_aiOutline->hide();
    m_scroll->setWidget(m_body);
    m_body->setAutoFillBackground(false); // the card shows through

    // Over everything else in the form, and scrolled with it.
    m_bubble = new SmartWhyBubble(*m_model, m_body);
    m_bubble->hide();
    for (QWidget *w : {static_cast<QWidget *>(m_newEssay), static_cast<QWidget *>(m_newEssay->smartBrief()),
                       static_cast<QWidget *>(m_newEssay->smartBrief()->whyButton())})
        w->installEventFilter(this);

    m_fadeValue = new AnimatedValue(1, this);
    connect(m_fadeValue, &AnimatedValue::changed, this, [this] {
        if (!m_fade)
            return;
        const double v = m_fadeValue->value();
        m_fade->setProgress(v);
        if (v >= 1)
            m_fade->setEnabled(false);
    });

    m_bubbleFade = new SlideFadeEffect(SlideFadeEffect::Edge::Top, m_bubble);
    m_bubble->setGraphicsEffect(m_bubbleFade);
    m_bubbleValue = new AnimatedValue(0, m_bubble);
    connect(m_bubbleValue, &AnimatedValue::changed, this, &ProjectEditorView::syncBubbleFade);

    setMinimumSize(kMinimumWidth, kMinimumHeight);
    connect(m_model, &EditorModel::changed, this, &ProjectEditorView::sync);
    m_model->load();
    sync();
}

ProjectEditorView::~ProjectEditorView() = default;

QSize ProjectEditorView::sizeHint() const
{
    return {kIdealWidth,
            std::max(kMinimumHeight, m_windowBar->sizeHint().height() + m_body->sizeHint().height() + 2)};
}

void ProjectEditorView::sync()
{
    if (m_model->tab() != m_shownTab)
        showTab(m_model->tab());
    placeBubble();
}

std::optional<ProjectEditorView::Field> ProjectEditorView::focusedField() const
{
    const QWidget *focus = QApplication::focusWidget();
    if (!focus || focus->window() != window())
        return std::nullopt;
    if (focus == static_cast<const QWidget *>(m_newEssay->titleField()))
        return Field::title;
    if (m_newEssay->textEditor()->isAncestorOf(focus))
        return Field::text;
    if (m_aiOutline->notesEditor()->isAncestorOf(focus))
        return Field::notes;
    return std::nullopt;
}

void ProjectEditorView::showTab(int tab)
{
    m_shownTab = tab;
    QWidget *incoming = tab == 0 ? static_cast<QWidget *>(m_newEssay) : m_aiOutline;
    QWidget *outgoing = tab == 0 ? static_cast<QWidget *>(m_aiOutline) : m_newEssay;
    outgoing->hide();
    incoming->show();
    if (m_fade) {
        m_fade->setEnabled(false);
        m_fade = nullptr; // owned by the widget it was set on
    }
    if (m_app.reduceMotionEnabled())
        return;
    // The new tab fades in, rising from the bottom edge.
    m_fade = new SlideFadeEffect(SlideFadeEffect::Edge::Bottom, incoming);
    m_fade->setProgress(0);
    incoming->setGraphicsEffect(m_fade);
    m_fadeValue->set(0, Animation::none());
    m_fadeValue->set(1, Animation::easeInOut(kTabFadeMs));
}

void ProjectEditorView::placeBubble()
{
    const bool show = m_model->showSmartWhy() && m_model->tab() == 0 && m_model->showsSmartBrief();
    if (show != m_bubbleShown) {
        m_bubbleShown = show;
        // A leaving bubble takes no more taps.
        m_bubble->setAttribute(Qt::WA_TransparentForMouseEvents, !show);
        if (show)
            m_bubble->show();
        const bool still = m_app.reduceMotionEnabled() || m_bubble->isHidden();
        m_bubbleValue->set(show ? 1 : 0, still ? Animation::none() : Animation::easeInOut(kBubbleFadeMs));
        syncBubbleFade();
    }
    if (!show)
        return;
    QVButton *why = m_newEssay->smartBrief()->whyButton();
    m_bubble->placeAt(why->mapTo(m_body, why->rect().topRight()));
    m_bubble->show();
    m_bubble->raise();
}

void ProjectEditorView::syncBubbleFade()
{
    const double v = m_bubbleValue->value();
    m_bubbleFade->setProgress(v);
    m_bubble->refreshShadow();
    if (!m_bubbleShown && v <= 0.001)
        m_bubble->hide();
}

bool ProjectEditorView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        placeBubble();
    return QWidget::eventFilter(watched, event);
}

void ProjectEditorView::dismiss()
{
    if (auto *frame = qobject_cast<CustomWindow *>(window()))
        frame->closeFromOpener();
    else
        window()->close();
}

void ProjectEditorView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath card;
    card.addRoundedRect(r, 18, 18);
    p.fillPath(card, Theme::surface());
    p.setPen(QPen(Theme::border(), 1));
    p.drawPath(card);
}

} // namespace qv::editor
