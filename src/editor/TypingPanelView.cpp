#include "editor/TypingPanelView.h"

#include "editor/DetailPill.h"
#include "editor/EditorStyle.h"
#include "editor/GlyphButton.h"
#include "editor/LineClampLabel.h"
#include "editor/PreferencesNotice.h"
#include "editor/RoundedPanel.h"
#include "editor/TargetOverlay.h"
#include "editor/TypingPanelModel.h"
#include "editor/TypingProgressBar.h"
#include "state/AppState.h"
#include "state/PreferenceKeys.h"
#include "theme/AnimatedValue.h"
#include "theme/ConfirmAlert.h"
#include "theme/CustomWindow.h"
#include "theme/NoticeBanner.h"
#include "theme/QVButton.h"
#include "theme/StyledLabel.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace qv::editor {

namespace {
const QString kStopTitle = QStringLiteral("Stop typing?");
const QString kStopMessage = QStringLiteral("This will stop typing and close this window.");
constexpr int kShadowReach = 14;

QWidget *detailRow(const QString &label, QLabel *&value, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(6);
    h->addWidget(styledLabel(label, TextStyle::Caption2, QFont::DemiBold, Theme::secondaryLabel(), row), 0,
                 Qt::AlignVCenter);
    value = styledLabel({}, TextStyle::Caption, QFont::DemiBold, Theme::text(), row);
    h->addWidget(value, 0, Qt::AlignVCenter);
    h->addStretch(1);
    return row;
}

QVBoxLayout *detailColumn(QHBoxLayout *into)
{
    auto *column = new QVBoxLayout;
    column->setSpacing(8);
    into->addLayout(column, 1);
    return column;
}
} // namespace

TypingPanelView::TypingPanelView(state::AppState &appState, Project project, std::function<void()> onClose,
                                 QWidget *parent)
    : QWidget(parent)
{
    std::function<void()> close = onClose ? std::move(onClose) : std::function<void()>([this] { dismissWindow(); });
    m_model = new TypingPanelModel(appState, std::move(project), std::move(close), this);
    m_pulse = new AnimatedValue(0, this);
    m_pulse->setFrameInterval(kPulseFrameMs);
    // The pulse changes only the glow and halo along the edge: repainting the
    // whole panel and its cards every frame of a long wait cost half a core.
    disconnect(m_pulse, &AnimatedValue::changed, this, nullptr);
    connect(m_pulse, &AnimatedValue::changed, this, [this] { update(glowBand()); });

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(16);
    column->addStretch(1);
    column->addWidget(buildHeader());
    column->addWidget(buildTitleBlock());
    column->addWidget(buildProgressCard());
    column->addWidget(buildSummaryCard());
    column->addWidget(buildActionRow());
    m_preferencesNotice = makePreferencesNotice(appState.preferences(), {state::keys::resumeProgress},
                                                QStringLiteral("where typing stopped"), this);
    column->addWidget(m_preferencesNotice);
    column->addStretch(1);

    m_overlay = new TargetOverlay(*m_model, this);
    m_overlayFade = new QGraphicsOpacityEffect(m_overlay);
    m_overlayFade->setEnabled(false);
    m_overlay->setGraphicsEffect(m_overlayFade);
    m_overlayOpacity = new AnimatedValue(0, m_overlay);
    connect(m_overlayOpacity, &AnimatedValue::changed, this, [this] {
        const double v = m_overlayOpacity->value();
        m_overlayFade->setOpacity(v);
        m_overlayFade->setEnabled(v < 1);
        if (v <= 0 && !m_overlayShown)
            m_overlay->hide();
    });
    m_overlay->hide();

    setMinimumSize(kMinimumSize);
    connect(m_model, &TypingPanelModel::changed, this, &TypingPanelView::sync);
    connect(m_model, &TypingPanelModel::stopConfirmChanged, this, &TypingPanelView::syncAlert);
    // Installed: a leftover finished job is cleared and the pulse begins.
    m_model->appear();
    sync();
}

TypingPanelView::~TypingPanelView() = default;

QWidget *TypingPanelView::buildHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    auto *names = new QVBoxLayout;
    names->setSpacing(2);
    names->addWidget(styledLabel(QStringLiteral("Typing Session"), TextStyle::Caption, QFont::DemiBold,
                                 Theme::secondaryLabel(), header));
    names->addWidget(
        styledLabel(QStringLiteral("Quorvel"), TextStyle::Callout, QFont::DemiBold, Theme::text(), header));
    row->addLayout(names);
    row->addStretch(1);
    m_close = new GlyphButton(QStringLiteral("\u00D7"), QStringLiteral("Close"), header, 24, 7);
    row->addWidget(m_close, 0, Qt::AlignVCenter);
    connect(m_close, &QAbstractButton::clicked, this, [this] { m_model->close(); });
    return header;
}

QWidget *TypingPanelView::buildTitleBlock()
{
    auto *block = new QWidget(this);
    auto *column = new QVBoxLayout(block);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    m_title = new LineClampLabel(m_model->project().title, 2, Theme::text(), block);
    m_title->setFont(Typography::font(TextStyle::Title2, QFont::DemiBold));
    column->addWidget(m_title);

    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    m_status = new DetailPill({}, block);
    m_status->setFont(Typography::font(TextStyle::Callout, QFont::DemiBold));
    m_status->setContentsMargins(12, 6, 12, 6);
    row->addWidget(m_status, 0, Qt::AlignVCenter);
    m_percent = styledLabel({}, TextStyle::Caption, QFont::DemiBold, Theme::subtext(), block);
    row->addWidget(m_percent, 0, Qt::AlignVCenter);
    row->addStretch(1);
    column->addLayout(row);
    m_runNote = styledLabel({}, TextStyle::Caption, QFont::Normal, Theme::subtext(), block);
    m_runNote->setWordWrap(true);
    m_runNote->setVisible(false);
    column->addWidget(m_runNote);
    m_difference = styledLabel({}, TextStyle::Caption, QFont::DemiBold, Theme::text(), block);
    m_difference->setWordWrap(true);
    m_difference->hide();
    column->addWidget(m_difference);
    return block;
}

QWidget *TypingPanelView::buildProgressCard()
{
    auto *card = new RoundedPanel(Theme::surfaceAlt(), Theme::border(), 14, this);
    auto *column = new QVBoxLayout(card);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(8);
    auto *line = new QHBoxLayout;
    line->addWidget(
        styledLabel(QStringLiteral("Progress"), TextStyle::Caption, QFont::DemiBold, Theme::secondaryLabel(), card));
    line->addStretch(1);
    m_progressHeader = styledLabel({}, TextStyle::Caption, QFont::DemiBold, Theme::text(), card);
    line->addWidget(m_progressHeader);
    column->addLayout(line);
    m_bar = new TypingProgressBar(card);
    column->addWidget(m_bar);
    return card;
}

QWidget *TypingPanelView::buildSummaryCard()
{
    auto *card = new RoundedPanel(Theme::surfaceAlt(), Theme::border(), 14, this);
    auto *column = new QVBoxLayout(card);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(10);
    column->addWidget(
        styledLabel(QStringLiteral("Session"), TextStyle::Caption, QFont::DemiBold, Theme::secondaryLabel(), card));
    auto *columns = new QHBoxLayout;
    columns->setSpacing(16);
    QVBoxLayout *left = detailColumn(columns);
    left->addWidget(detailRow(QStringLiteral("Mode"), m_mode, card));
    left->addWidget(detailRow(QStringLiteral("Review"), m_review, card));
    QVBoxLayout *right = detailColumn(columns);
    right->addWidget(detailRow(QStringLiteral("Speed"), m_speed, card));
    right->addWidget(detailRow(QStringLiteral("ETA"), m_eta, card));
    column->addLayout(columns);

    // The summary shows the project as it was when the panel opened.
    const Project &p = m_model->project();
    m_mode->setText(panel::modeLabel(p.humanize));
    m_review->setText(panel::capitalized(p.review));
    m_speed->setText(panel::speedLabel(p.wpm));
    m_eta->setText(panel::etaLabel(m_model->estimatedMinutes()));
    return card;
}

QWidget *TypingPanelView::buildActionRow()
{
    auto *rowBox = new QWidget(this);
    auto *column = new QVBoxLayout(rowBox);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    m_start = new QVButton({}, QVButtonVariant::primary, false, rowBox);
    m_start->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    column->addWidget(m_start);
    m_exit = new QVButton(QStringLiteral("Exit"), QVButtonVariant::primary, false, rowBox);
    m_exit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    column->addWidget(m_exit);

    m_pair = new QWidget(rowBox);
    auto *pair = new QHBoxLayout(m_pair);
    pair->setContentsMargins(0, 0, 0, 0);
    pair->setSpacing(10);
    pair->addStretch(1);
    m_pause = new QVButton({}, QVButtonVariant::secondary, false, m_pair);
    m_stop = new QVButton(QStringLiteral("Stop"), QVButtonVariant::destructive, false, m_pair);
    pair->addWidget(m_pause);
    pair->addWidget(m_stop);
    pair->addStretch(1);
    column->addWidget(m_pair);

    connect(m_start, &QAbstractButton::clicked, this, [this] { m_model->start(); });
    connect(m_exit, &QAbstractButton::clicked, this, [this] { m_model->exit(); });
    connect(m_pause, &QAbstractButton::clicked, this, [this] { m_model->togglePause(); });
    connect(m_stop, &QAbstractButton::clicked, this, [this] { m_model->requestStop(); });
    return rowBox;
}

void TypingPanelView::sync()
{
    const state::AppState &app = m_model->appState();
    setLabelText(m_status, m_model->statusMessage());
    const QString note = m_model->runNote();
    setLabelText(m_runNote, note);
    m_runNote->setVisible(!note.isEmpty());
    setLabelText(m_percent, m_model->percentComplete());
    const QString difference = m_model->differenceNote();
    setLabelText(m_difference, difference);
    m_difference->setVisible(!difference.isEmpty());
    setLabelText(m_progressHeader, m_model->progressHeader());
    m_bar->setProgress(app.progress());
    m_bar->setHighlight(m_model->highlightVisible(), m_model->reduceMotion());

    const panel::ActionRow row = m_model->actionRow();
    m_start->setVisible(row == panel::ActionRow::Start);
    m_exit->setVisible(row == panel::ActionRow::Exit);
    m_pair->setVisible(row == panel::ActionRow::PauseStop);
    if (row == panel::ActionRow::Start)
        m_start->setText(m_model->startLabel());
    m_pause->setText(m_model->pauseLabel());
    m_pause->setEnabled(m_model->pauseEnabled());

    m_overlay->sync();
    syncOverlay(!m_model->reduceMotion());
    syncMotion();
    // The controls repaint themselves as they change; the panel's own paint
    // changes only with the glow (a progress step must not repaint it all).
    if (std::make_pair(glowOpacity(), shadowOpacity()) != m_paintedGlow)
        update(glowBand());
}

void TypingPanelView::syncMotion()
{
    const bool pulse = m_model->shimmer() && !m_model->reduceMotion() && panel::waitsForTarget(m_model->phase());
    if (pulse == isPulsing())
        return;
    if (pulse) {
        m_pulse->set(0, Animation::none());
        m_pulse->set(1, Animation::easeInOutForeverAutoreverse(kPulseMs));
    } else {
        m_pulse->set(m_model->shimmer() ? 1 : 0, Animation::none());
    }
}

QMessageBox *TypingPanelView::stopAlert() const { return m_alert.data(); }

bool TypingPanelView::isPulsing() const { return m_pulse->isAnimating(); }

double TypingPanelView::glowOpacity() const
{
    return panel::glowFor(m_model->phase(), m_model->reduceMotion(), m_pulse->value()).line;
}

double TypingPanelView::shadowOpacity() const
{
    return panel::glowFor(m_model->phase(), m_model->reduceMotion(), m_pulse->value()).shadow;
}

void TypingPanelView::syncOverlay(bool animate)
{
    const bool show = m_model->overlayVisible();
    if (show == m_overlayShown)
        return;
    m_overlayShown = show;
    const Animation fade = animate ? Animation::easeInOut(kPhaseFadeMs) : Animation::none();
    if (show) {
        m_overlay->setGeometry(rect());
        m_overlay->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        m_overlay->show();
        m_overlay->raise();
        if (animate)
            m_overlayOpacity->set(0, Animation::none());
        m_overlayOpacity->set(1, fade);
        if (m_overlay->isVisible())
            m_overlay->gotItButton()->setFocus();
    } else {
        // A fading card takes no clicks.
        m_overlay->setAttribute(Qt::WA_TransparentForMouseEvents, true);
        m_overlayOpacity->set(0, fade);
        if (!animate || !m_overlay->isVisible())
            m_overlay->hide();
    }
}

void TypingPanelView::syncAlert()
{
    const bool asking = m_model->showStopConfirm();
    if (asking && !m_alert) {
        m_alert = openConfirmAlert(this, kStopTitle, kStopMessage, QStringLiteral("Stop"),
                                   [this](QMessageBox *box, bool confirmed) {
                                       if (m_alert != box)
                                           return;
                                       m_alert = nullptr;
                                       if (confirmed)
                                           m_model->confirmStop();
                                       else
                                           m_model->cancelStop();
                                   });
    } else if (!asking && m_alert) {
        QMessageBox *box = m_alert;
        m_alert = nullptr;
        box->close();
    }
}

void TypingPanelView::dismissWindow()
{
    if (auto *frame = qobject_cast<CustomWindow *>(window()))
        frame->closeFromOpener();
    else
        window()->close();
}

void TypingPanelView::resizeEvent(QResizeEvent *event)
{
    m_overlay->setGeometry(rect());
    QWidget::resizeEvent(event);
}

QRegion TypingPanelView::glowBand() const
{
    // The halo's innermost ring runs 15 in from the edge, and where the
    // corners curve its rings come no further in than 18.
    return edgeRegion(rect(), kBandReach);
}

QRegion TypingPanelView::edgeLine() const
{
    // The border and the glow line lie within 3 of the edge, and their
    // corners curve in no further than the corner radius and the line.
    constexpr int strip = 4;
    return edgeRegion(rect(), strip, int(std::ceil(kCornerRadius)) + strip);
}

void TypingPanelView::paintEvent(QPaintEvent *event)
{
    const qreal dpr = devicePixelRatioF();
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const auto cardPath = [&] {
        QPainterPath card;
        card.addRoundedRect(r, kCornerRadius, kCornerRadius);
        return card;
    };
    const quint64 accent = Theme::accent().rgba();
    const QPixmap &surface = m_surface.get(size(), dpr, Theme::surface().rgba(),
                                           [&](QPainter &l) { l.fillPath(cardPath(), Theme::surface()); });
    // The panel fills its window, so its accent shadow is a soft halo just
    // inside the edge.
    const QPixmap &halo = m_halo.get(size(), dpr, accent, [&](QPainter &l) {
        l.setClipPath(cardPath());
        l.setBrush(Qt::NoBrush);
        for (int i = 0; i < kShadowReach; ++i) {
            const double fall = 1.0 - double(i) / kShadowReach;
            l.setPen(QPen(Theme::withOpacity(Theme::accent(), 0.5 * fall * fall), 1));
            const double inset = 1.5 + i;
            l.drawRoundedRect(r.adjusted(inset, inset, -inset, -inset), kCornerRadius - inset / 2,
                              kCornerRadius - inset / 2);
        }
    });
    const QPixmap &border = m_border.get(size(), dpr, Theme::border().rgba(), [&](QPainter &l) {
        const QPainterPath card = cardPath();
        l.setClipPath(card);
        l.setPen(QPen(Theme::border(), 1));
        l.drawPath(card);
    });
    const QPixmap &glowLine = m_glowLine.get(size(), dpr, accent, [&](QPainter &l) {
        l.setClipPath(cardPath());
        l.setBrush(Qt::NoBrush);
        l.setPen(QPen(Theme::withOpacity(Theme::accent(), 1), 2));
        l.drawRoundedRect(r.adjusted(1, 1, -1, -1), kCornerRadius - 1, kCornerRadius - 1);
    });

    const double shadow = std::min(shadowOpacity(), 1.0);
    const double glow = std::min(glowOpacity(), 1.0);
    m_paintedGlow = {glowOpacity(), shadowOpacity()};
    // Layer by layer, each only where it has pixels: the halo in the band,
    // the border and the glow line along the very edge and its corners.
    QPainter p(this);
    const QRegion region = event->region();
    paintByRects(p, region, [&] { p.drawPixmap(0, 0, surface); });
    const QRegion band = region & glowBand();
    if (shadow > 0 && !band.isEmpty()) {
        p.setOpacity(shadow);
        paintByRects(p, band, [&] { p.drawPixmap(0, 0, halo); });
        p.setOpacity(1);
    }
    const QRegion edge = region & edgeLine();
    paintByRects(p, edge, [&] { p.drawPixmap(0, 0, border); });
    if (glow > 0) {
        p.setOpacity(glow);
        paintByRects(p, edge, [&] { p.drawPixmap(0, 0, glowLine); });
        p.setOpacity(1);
    }
}

} // namespace qv::editor
