#include "dashboard/WelcomeOverlayView.h"

#include "dashboard/Card.h"
#include "dashboard/Labels.h"
#include "state/AppState.h"
#include "theme/AnimatedValue.h"
#include "theme/MotionSettings.h"
#include "theme/Theme.h"
#include "theme/ThemeEnvironment.h"
#include "theme/Typography.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace qv::dashboard {

// The large title: a faint copy of the text under an accent gradient that
// only shows inside the letters.
class WelcomeOverlayView::Title : public QWidget {
public:
    Title(AnimatedValue *&direction, QWidget *parent) : QWidget(parent), m_direction(direction)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFont(Typography::systemFont(60, QFont::DemiBold));
    }
    void setText(const QString &text)
    {
        m_text = text;
        updateGeometry();
        update();
    }
    QString text() const { return m_text; }
    QSize sizeHint() const override
    {
        const QFontMetrics fm(font());
        return {fm.horizontalAdvance(m_text) + 4, fm.height()};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QFontMetrics fm(font());
        const double x = (width() - fm.horizontalAdvance(m_text)) / 2.0;
        const double y = (height() - fm.height()) / 2.0 + fm.ascent();
        QPainterPath glyphs;
        glyphs.addText(QPointF(x, y), font(), m_text);
        p.fillPath(glyphs, Theme::withOpacity(Theme::text(), 0.12));
        // 1: leading to trailing; 0: the other way round.
        const double d = m_direction->value();
        const QPointF lead(0, 0), trail(width(), 0);
        QLinearGradient g(trail + (lead - trail) * d, lead + (trail - lead) * d);
        g.setColorAt(0.0, Theme::accent());
        g.setColorAt(0.5, Theme::withOpacity(Theme::accent(), 0.7));
        g.setColorAt(1.0, Theme::text());
        p.fillPath(glyphs, g);
    }

private:
    AnimatedValue *&m_direction;
    QString m_text;
};

// A thin accent bar on a faint track, at most 260 wide.
class WelcomeOverlayView::ProgressBar : public QWidget {
public:
    ProgressBar(AnimatedValue *&value, QWidget *parent) : QWidget(parent), m_value(value)
    {
        setFixedHeight(6);
        setMaximumWidth(260);
        setMinimumWidth(260);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF track(rect());
        const double r = track.height() / 2;
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::withOpacity(Theme::accent(), 0.2));
        p.drawRoundedRect(track, r, r);
        const double f = std::clamp(m_value->value(), 0.0, 1.0);
        if (f > 0) {
            p.setBrush(Theme::accent());
            p.drawRoundedRect(QRectF(0, 0, track.width() * f, track.height()), r, r);
        }
    }

private:
    AnimatedValue *&m_value;
};

WelcomeOverlayView::WelcomeOverlayView(state::AppState &appState, QWidget *parent)
    : QWidget(parent), m_appState(appState), m_progress(nullptr), m_shimmer(nullptr)
{
    // The rounded panel fills the whole overlay; its content, at most 520
    // wide with 26 of padding, stands in the middle of it.
    m_card = new Card(Theme::surface(), 24, this);
    m_card->setShadow(18, {0, 12});
    m_content = new QWidget(m_card);
    m_content->setMaximumWidth(520);
    auto *panel = new QVBoxLayout(m_card);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(m_content, 0, Qt::AlignCenter);
    m_title = new Title(m_shimmer, m_content);
    m_bar = new ProgressBar(m_progress, m_content);
    m_progress = new AnimatedValue(0, m_bar);
    m_shimmer = new AnimatedValue(0, m_title);
    connect(m_progress, &AnimatedValue::changed, m_bar, qOverload<>(&QWidget::update));
    connect(m_shimmer, &AnimatedValue::changed, m_title, qOverload<>(&QWidget::update));

    auto *column = new QVBoxLayout(m_content);
    column->setContentsMargins(26, 26, 26, 26);
    column->setSpacing(16);
    auto *head = new QVBoxLayout;
    head->setSpacing(10);
    head->addWidget(styledLabel(QStringLiteral("Welcome to"), Typography::systemFont(20, QFont::DemiBold),
                                Theme::subtext(), m_content),
                    0, Qt::AlignHCenter);
    head->addWidget(m_title, 0, Qt::AlignHCenter);
    column->addLayout(head);
    column->addWidget(styledLabel(QStringLiteral("Loading your workspace\u2026"),
                                  Typography::systemFont(13, QFont::Medium), Theme::subtext(), m_content),
                      0, Qt::AlignHCenter);
    column->addWidget(m_bar, 0, Qt::AlignHCenter);
    begin(DashboardMode::writer);
}

bool WelcomeOverlayView::reducesMotion() const
{
    return ThemeEnvironment::motion().systemReduceMotion() || m_appState.reduceMotionEnabled();
}

void WelcomeOverlayView::begin(DashboardMode mode)
{
    m_mode = mode;
    m_title->setText(title(mode));
    const bool still = reducesMotion();
    m_shimmer->set(0, Animation::none());
    m_shimmer->set(1, still ? Animation::none() : Animation::easeInOutForeverAutoreverse(kShimmerMs));
    m_progress->set(0, Animation::none());
    m_progress->set(1, still ? Animation::none() : Animation::easeInOut(kProgressMs));
    placeCard();
}

double WelcomeOverlayView::progress() const { return m_progress->value(); }
double WelcomeOverlayView::shimmerDirection() const { return m_shimmer->value(); }
bool WelcomeOverlayView::isShimmering() const { return m_shimmer->isAnimating(); }
QString WelcomeOverlayView::titleText() const { return m_title->text(); }
QWidget *WelcomeOverlayView::panel() const { return m_card; }

void WelcomeOverlayView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Theme::bg());
}

void WelcomeOverlayView::resizeEvent(QResizeEvent *) { placeCard(); }

void WelcomeOverlayView::placeCard() { m_card->setGeometry(rect()); }

} // namespace qv::dashboard
