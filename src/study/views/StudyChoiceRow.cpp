#include "study/views/StudyChoiceRow.h"

#include "study/views/StudyFrame.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QPainter>

#include <climits>

namespace qv::study {

namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
}

StudyChoiceRow::StudyChoiceRow(const QString &choice, QWidget *parent) : QAbstractButton(parent), m_choice(choice)
{
    setFont(Typography::font(TextStyle::Callout, QFont::DemiBold));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(choice);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void StudyChoiceRow::setChosen(bool chosen)
{
    if (m_chosen == chosen)
        return;
    m_chosen = chosen;
    update();
}

int StudyChoiceRow::heightForWidth(int width) const
{
    const QFontMetrics fm(font());
    const int textWidth = std::max(1, width - 2 * kPadding);
    const QRect r = fm.boundingRect(QRect(0, 0, textWidth, INT_MAX), kTextFlags, m_choice);
    return std::max(r.height(), fm.height()) + 2 * kPadding;
}

QSize StudyChoiceRow::sizeHint() const
{
    const QFontMetrics fm(font());
    const int width = std::min(fm.horizontalAdvance(m_choice), 480) + 2 * kPadding;
    return {width, heightForWidth(width)};
}

QSize StudyChoiceRow::minimumSizeHint() const
{
    const QFontMetrics fm(font());
    return {2 * kPadding + fm.averageCharWidth() * 4, fm.height() + 2 * kPadding};
}

void StudyChoiceRow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintFramedRect(p, rect(), kRadius, Theme::surface(), m_chosen ? Theme::accent() : Theme::border());
    p.setPen(Theme::text());
    p.setFont(font());
    p.drawText(rect().adjusted(kPadding, kPadding, -kPadding, -kPadding), kTextFlags, m_choice);
}

} // namespace qv::study
