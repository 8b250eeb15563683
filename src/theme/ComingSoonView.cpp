#include "theme/ComingSoonView.h"

#include "theme/DropShadow.h"
#include "theme/ShimmerTitle.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace qv {

namespace {
constexpr double kRadius = 20;

// The badge: accent text on a faint accent capsule.
class Badge : public QLabel {
public:
    explicit Badge(const QString &text, QWidget *parent) : QLabel(text, parent)
    {
        setFont(Typography::systemFont(20, QFont::Bold));
        setContentsMargins(18, 10, 18, 10);
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, Theme::accent());
        setPalette(pal);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        {
            QPainter p(this);
            p.setRenderHint(QPainter::Antialiasing);
            QPainterPath capsule;
            const double r = height() / 2.0;
            capsule.addRoundedRect(QRectF(rect()), r, r);
            p.fillPath(capsule, Theme::withOpacity(Theme::accent(), 0.12));
        }
        QLabel::paintEvent(event);
    }
};
} // namespace

ComingSoonView::ComingSoonView(const QString &title, const QString &detail, QWidget *parent)
    : QWidget(parent), m_title(new ShimmerTitle(title, 46, this)), m_detail(new QLabel(detail, this)),
      m_badge(new Badge(QStringLiteral("COMING SOON"), this))
{
    auto *column = new QVBoxLayout(this);
    // Inner padding 16, then 18 more above and below.
    column->setContentsMargins(16, 16 + 18, 16, 16 + 18);
    column->setSpacing(12);
    column->addWidget(m_title);

    m_detail->setFont(Typography::systemFont(14, QFont::Medium));
    m_detail->setWordWrap(true);
    m_detail->setAlignment(Qt::AlignHCenter);
    m_detail->setMaximumWidth(420);
    m_detail->setTextFormat(Qt::PlainText);
    QPalette pal = m_detail->palette();
    pal.setColor(QPalette::WindowText, Theme::subtext());
    m_detail->setPalette(pal);
    // Full width, lines centred: a label squeezed to its hint would wrap badly.
    column->addWidget(m_detail);
    column->addWidget(m_badge, 0, Qt::AlignHCenter);

    setMaximumWidth(380);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    m_shadow = new DropShadow(this, [this] {
        return ShadowSpec{QRectF(rect()), kRadius, Theme::shadow(), 18, {0, 12}};
    });
    m_shadow->setReach(36);
}

QSize ComingSoonView::sizeHint() const { return {380, heightForWidth(380)}; }

int ComingSoonView::heightForWidth(int width) const { return layout()->totalHeightForWidth(width); }

void ComingSoonView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    p.fillPath(card, Theme::surface());
    p.setPen(QPen(Theme::border(), 1));
    p.drawPath(card);
}

} // namespace qv
