#include "app/SplashView.h"

#include "theme/AnimatedValue.h"
#include "theme/Shadow.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace qv::app {

namespace {

const QString kTitle = QStringLiteral("Welcome to QV");

// The title: faint letters under a gradient sheen masked by the same letters.
class SplashTitle final : public QWidget {
public:
    explicit SplashTitle(QWidget *parent) : QWidget(parent), direction(new AnimatedValue(0, this))
    {
        setFont(Typography::systemFont(52, QFont::DemiBold));
        setAccessibleName(kTitle);
        const QFontMetrics fm(font());
        setFixedSize(fm.horizontalAdvance(kTitle) + 4, fm.height());
    }
    AnimatedValue *direction;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QFontMetricsF fm(font());
        QPainterPath letters;
        letters.addText(QPointF((width() - fm.horizontalAdvance(kTitle)) / 2, fm.ascent()), font(), kTitle);
        p.fillPath(letters, Theme::withOpacity(Theme::text(), 0.12));

        // The gradient's ends swap places as the direction goes from 0 to 1.
        const double d = direction->value();
        const double w = width();
        QLinearGradient sheen(QPointF(w * (1 - d), 0), QPointF(w * d, 0));
        sheen.setColorAt(0, Theme::accent());
        sheen.setColorAt(1.0 / 3, Theme::withOpacity(Theme::accent(), 0.6));
        sheen.setColorAt(2.0 / 3, Theme::text());
        sheen.setColorAt(1, Theme::accent());
        p.fillPath(letters, sheen);
    }
};

// The 220-pixel track with the runner that slides past both of its ends.
class SplashBar final : public QWidget {
public:
    static constexpr int kTrack = 220;
    static constexpr int kRunner = 160;
    static constexpr int kHeight = 6;
    // Room for the runner where it passes the track's ends, and its glow.
    static constexpr int kSide = 60 + 12;
    static constexpr int kGlow = 6;

    explicit SplashBar(QWidget *parent) : QWidget(parent), offset(new AnimatedValue(SplashView::kRunnerRestX, this))
    {
        setFixedSize(kTrack + 2 * kSide, kHeight + 2 * kGlow);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    AnimatedValue *offset;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF track(kSide, kGlow, kTrack, kHeight);
        const double r = kHeight / 2.0;
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::border());
        p.drawRoundedRect(track, r, r);

        const QRectF runner(kSide + offset->value(), kGlow, kRunner, kHeight);
        Shadow::paint(p, ShadowSpec{runner, r, Theme::withOpacity(Theme::accent(), 0.3), 6, {0, 0}});
        p.setBrush(Theme::accent());
        p.drawRoundedRect(runner, r, r);
    }
};

} // namespace

SplashView::SplashView(QWidget *parent) : CardFrame(Style{22, 16, 10}, parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(28, 28, 28, 28);
    column->setSpacing(20);

    auto *title = new SplashTitle(this);
    m_direction = title->direction;
    column->addWidget(title, 0, Qt::AlignHCenter);

    auto *progress = new QVBoxLayout;
    // The bar's glow margin is part of the 8-pixel gap.
    progress->setSpacing(8 - SplashBar::kGlow);
    auto *caption = new QLabel(QStringLiteral("Getting things ready…"), this);
    caption->setFont(Typography::font(TextStyle::Callout));
    QPalette pal = caption->palette();
    pal.setColor(QPalette::WindowText, Theme::subtext());
    caption->setPalette(pal);
    progress->addWidget(caption, 0, Qt::AlignHCenter);
    auto *bar = new SplashBar(this);
    m_runner = bar->offset;
    progress->addWidget(bar, 0, Qt::AlignHCenter);
    column->addLayout(progress);

    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SplashView::appear()
{
    if (m_shimmer)
        return;
    m_shimmer = true;
    m_direction->set(1, Animation::easeInOutForeverAutoreverse(kTitleSweepMs));
    m_runner->set(kRunnerShimmerX, Animation::easeInOutForeverAutoreverse(kRunnerMs));
}

double SplashView::titleDirection() const { return m_direction->value(); }

double SplashView::runnerOffset() const { return m_runner->value(); }

} // namespace qv::app
