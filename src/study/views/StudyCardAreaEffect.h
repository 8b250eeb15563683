#pragma once

#include "theme/TransitionEffect.h"

namespace qv::study {

// Paints the card area faded and scaled about its centre while it comes in:
// at progress 0 invisible at 0.98 of its size, at 1 untouched.
class StudyCardAreaEffect : public TransitionEffect {
    Q_OBJECT
public:
    static constexpr double kHiddenScale = 0.98;

    explicit StudyCardAreaEffect(QObject *parent = nullptr) : TransitionEffect(parent) {}

    double progress() const { return m_progress; }
    double scale() const { return kHiddenScale + (1 - kHiddenScale) * m_progress; }
    void setProgress(double progress);

protected:
    Frame frame(const QRectF &area) const override;

private:
    double m_progress = 1;
};

} // namespace qv::study
