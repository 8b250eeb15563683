#include "study/views/StudySessionView.h"

#include "state/AppState.h"
#include "study/views/StudyGoalPicker.h"
#include "study/views/StudyOptionsSheet.h"
#include "study/views/StudyQuestionCard.h"
#include "study/views/StudyQuizSetupCard.h"
#include "study/views/StudySessionOverlay.h"
#include "study/views/StudySessionStatsPanel.h"
#include "study/views/StudyText.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainterPath>
#include <QVBoxLayout>

namespace qv::study {

namespace {

QString css(const QColor &c)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alphaF());
}

// The time pill: a capsule of the alternate surface with a hairline.
QString pillSheet(const QColor &color, int height)
{
    return QStringLiteral("QLabel { color: %1; background: %2; border: 1px solid %3; border-radius: %4px;"
                          " padding: 0 10px; }")
        .arg(css(color), css(Theme::surfaceAlt()), css(Theme::border()))
        .arg(height / 2);
}

// A question on a layer's card: a title, a note and two buttons side by
// side, all centred.
void fillQuestionCard(QVBoxLayout *card, const QString &title, const QString &note, QVButton *left, QVButton *right)
{
    card->addWidget(styledLabel(title, TextStyle::Headline, QFont::DemiBold, Theme::text()), 0, Qt::AlignHCenter);
    card->addWidget(styledLabel(note, TextStyle::Caption, std::nullopt, Theme::subtext()), 0, Qt::AlignHCenter);
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addStretch(1);
    row->addWidget(left);
    row->addWidget(right);
    row->addStretch(1);
    card->addLayout(row);
}

} // namespace

StudySessionView::StudySessionView(const StudySessionServices &services, const StudyProject &project,
                                   StudySessionStyle style, bool focusMode, StudySessionActions actions,
                                   QWidget *parent)
    : QWidget(parent), m_appState(services.appState), m_actions(std::move(actions))
{
    Q_ASSERT(services.random && services.clock && services.scheduler);
    m_session = new StudySession(style, focusMode, *services.random, *services.clock, *services.scheduler, this);
    m_session->setUpdateHandler([onUpdate = m_actions.onUpdate](const StudyProject &changed) {
        if (onUpdate)
            onUpdate(changed);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(14);
    buildHeader(layout);

    m_content = new QWidget;
    auto *content = new QVBoxLayout(m_content);
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(14);
    m_quizSetup = new StudyQuizSetupCard(*m_session, [this] { post(m_actions.onClose); });
    content->addWidget(m_quizSetup);
    m_stats = new StudySessionStatsPanel(*m_session);
    content->addWidget(m_stats);
    m_card = new StudyQuestionCard(*m_session);
    content->addWidget(m_card);
    m_empty = styledLabel(QStringLiteral("No items available."), TextStyle::Body, std::nullopt, Theme::subtext());
    m_empty->setAlignment(Qt::AlignCenter);
    content->addWidget(m_empty);
    content->addStretch(1);
    layout->addWidget(m_content, 1);

    buildOverlays();
    connect(m_session, &StudySession::changed, this, &StudySessionView::sync);
    m_session->appear(project);
    sync();
}

StudySessionView::~StudySessionView() { m_session->stopTicking(); }

void StudySessionView::buildHeader(QLayout *into)
{
    auto *header = new QHBoxLayout;
    m_exit = new QVButton(QStringLiteral("Exit"), QVButtonVariant::secondary);
    header->addWidget(m_exit);
    header->addStretch(1);
    m_title = styledLabel({}, TextStyle::Headline, QFont::DemiBold, Theme::text());
    header->addWidget(m_title);
    header->addStretch(1);
    m_options = new QVButton(QStringLiteral("Options"), QVButtonVariant::secondary);
    header->addWidget(m_options);
    m_timePill = new QLabel;
    m_timePill->setTextFormat(Qt::PlainText);
    m_timePill->setFont(Typography::font(TextStyle::Caption, QFont::DemiBold));
    m_timePill->setAlignment(Qt::AlignCenter);
    m_timePill->setFixedHeight(QFontMetrics(m_timePill->font()).height() + 12 + 2);
    header->addWidget(m_timePill, 0, Qt::AlignVCenter);
    static_cast<QBoxLayout *>(into)->addLayout(header);

    connect(m_exit, &QAbstractButton::clicked, this, [this] { setExitConfirm(true); });
    connect(m_options, &QAbstractButton::clicked, this, [this] { m_session->openOptions(); });
}

void StudySessionView::buildOverlays()
{
    StudySessionOverlay::Look modal;
    modal.cardWidth = 320;
    m_goalOverlay = new StudySessionOverlay(modal, this);
    m_goalPicker = new StudyGoalPicker(*m_session);
    m_goalOverlay->cardLayout()->addWidget(m_goalPicker);

    StudySessionOverlay::Look sheet = modal;
    sheet.cardWidth = 360;
    m_optionsOverlay = new StudySessionOverlay(sheet, this);
    m_sheet = new StudyOptionsSheet(*m_session);
    m_optionsOverlay->cardLayout()->addWidget(m_sheet);

    m_completionOverlay = new StudySessionOverlay(modal, this);
    m_keepStudying = new QVButton(QStringLiteral("Keep studying"), QVButtonVariant::secondary);
    m_reset = new QVButton(QStringLiteral("Reset"), QVButtonVariant::primary);
    fillQuestionCard(m_completionOverlay->cardLayout(), QStringLiteral("Goal reached!"),
                     QStringLiteral("Keep going or reset your session."), m_keepStudying, m_reset);

    StudySessionOverlay::Look confirm;
    confirm.backdropOpacity = 0.35;
    confirm.cardRadius = 14;
    confirm.cardPadding = 16;
    confirm.shadow = false;
    m_exitOverlay = new StudySessionOverlay(confirm, this);
    m_stay = new QVButton(QStringLiteral("Stay"), QVButtonVariant::secondary);
    m_confirmExit = new QVButton(QStringLiteral("Exit"), QVButtonVariant::destructive);
    fillQuestionCard(m_exitOverlay->cardLayout(), QStringLiteral("Exit this session?"),
                     QStringLiteral("Your progress is saved automatically."), m_stay, m_confirmExit);

    connect(m_keepStudying, &QAbstractButton::clicked, this, [this] {
        if (m_session->goalReached())
            m_session->keepStudying();
    });
    connect(m_reset, &QAbstractButton::clicked, this, [this] { post(m_actions.onReset); });
    connect(m_stay, &QAbstractButton::clicked, this, [this] { setExitConfirm(false); });
    connect(m_confirmExit, &QAbstractButton::clicked, this, [this] {
        if (!m_showExitConfirm)
            return;
        setExitConfirm(false);
        post(m_actions.onClose);
    });
    for (StudySessionOverlay *o : {m_goalOverlay, m_optionsOverlay, m_completionOverlay, m_exitOverlay}) {
        o->setGeometry(rect());
        o->setBackdropShape([this] { return backdropShape(); });
    }
}

QPainterPath StudySessionView::backdropShape() const
{
    // The overlays lie over the whole view, so the view's coordinates are
    // theirs.
    int bottom = m_content->geometry().top();
    for (QWidget *part : {static_cast<QWidget *>(m_quizSetup), static_cast<QWidget *>(m_stats),
                          static_cast<QWidget *>(m_card), static_cast<QWidget *>(m_empty)})
        if (part->isVisibleTo(m_content) && !part->geometry().isEmpty())
            bottom = std::max(bottom, m_content->geometry().top() + part->geometry().bottom() + 1);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, width(), std::min(bottom, height())), StudyQuestionCard::kRadius,
                         StudyQuestionCard::kRadius);
    return shape;
}

void StudySessionView::appear(const StudyProject &project) { m_session->appear(project); }

void StudySessionView::setExitConfirm(bool shown)
{
    m_showExitConfirm = shown;
    sync();
}

void StudySessionView::post(const std::function<void()> &callback)
{
    if (!callback)
        return;
    QMetaObject::invokeMethod(
        this, [callback] { callback(); }, Qt::QueuedConnection);
}

void StudySessionView::sync()
{
    const StudySession &s = *m_session;
    m_title->setText(s.workingProject().title);
    m_options->setVisible(!s.focusMode());
    const bool pill = s.showsTimePill();
    m_timePill->setVisible(pill);
    if (pill) {
        m_timePill->setText(s.quizClock().remainingLabel());
        const QString sheet = pillSheet(s.quizClock().timeUp() ? Theme::danger() : Theme::subtext(),
                                        m_timePill->height());
        if (m_timePill->styleSheet() != sheet)
            m_timePill->setStyleSheet(sheet);
    }

    const bool setup = s.style() == StudySessionStyle::quiz && !s.quizClock().started();
    const bool asking = !setup && s.currentItem().has_value();
    m_quizSetup->setVisible(setup);
    if (setup)
        m_quizSetup->sync();
    m_stats->setVisible(!setup && !s.focusMode());
    if (m_stats->isVisibleTo(this))
        m_stats->sync();
    m_card->setVisible(asking);
    if (asking)
        m_card->sync();
    m_empty->setVisible(!setup && !asking);

    // Only the application's own preference removes these animations.
    const bool reduce = m_appState && m_appState->reduceMotionEnabled();
    const Animation animation = reduce ? Animation::none() : Animation::easeInOut(kOverlayAnimationMs);
    m_goalPicker->sync();
    m_goalOverlay->present(s.showGoalPicker(), animation);
    m_sheet->sync();
    m_optionsOverlay->present(s.showOptions(), animation);
    m_completionOverlay->present(s.goalReached(), animation);
    m_exitOverlay->present(m_showExitConfirm, Animation::none());
    for (StudySessionOverlay *o : {m_goalOverlay, m_optionsOverlay, m_completionOverlay, m_exitOverlay})
        if (o->isVisible())
            o->update(); // the parts beneath may have changed their height

    // Keys must not reach a field that an overlay covers.
    const bool covered = s.showGoalPicker() || s.showOptions() || s.goalReached() || m_showExitConfirm;
    if (covered) {
        QWidget *focused = window()->focusWidget();
        if (focused && m_content->isAncestorOf(focused))
            focused->clearFocus();
    }
}

void StudySessionView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (StudySessionOverlay *o : {m_goalOverlay, m_optionsOverlay, m_completionOverlay, m_exitOverlay})
        o->setGeometry(rect());
}

void StudySessionView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_session->startTicking();
}

void StudySessionView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_session->stopTicking();
}

} // namespace qv::study
