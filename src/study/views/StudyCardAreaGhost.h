#pragma once

#include <QPixmap>
#include <QWidget>

namespace qv {
class AnimatedValue;
}

namespace qv::study {

class StudyCardAreaEffect;

// A picture of the flashcards' card area left where it stood when the page
// leaves the flashcards: it fades and shrinks away over the new content,
// takes no clicks, and deletes itself once gone.
class StudyCardAreaGhost final : public QWidget {
    Q_OBJECT
public:
    static constexpr double kLeaveMs = 220.0;

    StudyCardAreaGhost(const QPixmap &picture, const QRect &geometry, QWidget *host);

    StudyCardAreaEffect *effect() const { return m_effect; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    StudyCardAreaEffect *m_effect;
    AnimatedValue *m_progress;
};

} // namespace qv::study
