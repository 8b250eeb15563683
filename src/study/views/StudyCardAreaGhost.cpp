#include "study/views/StudyCardAreaGhost.h"

#include "study/views/StudyCardAreaEffect.h"
#include "theme/AnimatedValue.h"

#include <QPainter>

namespace qv::study {

StudyCardAreaGhost::StudyCardAreaGhost(const QPixmap &picture, const QRect &geometry, QWidget *host)
    : QWidget(host), m_picture(picture), m_effect(new StudyCardAreaEffect(this)), m_progress(new AnimatedValue(1, this))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(geometry);
    setGraphicsEffect(m_effect);
    connect(m_progress, &AnimatedValue::changed, this, [this] {
        m_effect->setProgress(m_progress->value());
        if (!m_progress->isAnimating())
            deleteLater();
    });
    show();
    raise();
    // The set page animates whatever the reduce-motion preferences say.
    m_progress->set(0, Animation::easeInOut(kLeaveMs));
}

void StudyCardAreaGhost::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(rect(), m_picture);
}

} // namespace qv::study
