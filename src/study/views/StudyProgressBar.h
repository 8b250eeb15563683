#pragma once

#include <QWidget>

namespace qv::study {

// A capsule track in Theme::surfaceAlt with a fraction of 1 filled in the
// accent colour. Two looks: the slim bar of a set's mastery and the session's
// goals, and the test page's answered bar.
class StudyProgressBar final : public QWidget {
    Q_OBJECT
public:
    struct Look {
        int height;
        double fillOpacity;
        // A begun fill is never narrower than the track is high, so the
        // slightest progress still shows as a dot.
        bool atLeastADot;
    };
    static constexpr Look kSlim{6, 1.0, true};
    static constexpr Look kAnswered{8, 0.6, false};

    explicit StudyProgressBar(double value = 0, Look look = kSlim, QWidget *parent = nullptr);

    double value() const { return m_value; }
    void setValue(double value);

    QSize sizeHint() const override { return {120, m_look.height}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Look m_look;
    double m_value = 0;
};

} // namespace qv::study
