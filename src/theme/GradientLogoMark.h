#pragma once

#include <QWidget>

namespace qv {

class AnimatedValue;

// A workspace's square logo filled with an accent gradient that sweeps
// diagonally back and forth while shown (still when motion is reduced). The
// shape is the application's "LogoMark" image when it has one, else the
// named symbol at 72 % of the square.
class GradientLogoMark : public QWidget {
    Q_OBJECT
public:
    static constexpr double kSweepMs = 2600;

    GradientLogoMark(int size, const QString &symbolFallback, QWidget *parent = nullptr);

    bool shimmer() const { return m_shimmer; }
    double direction() const;
    bool isSweeping() const;
    // Where the shape is drawn inside the square.
    QRectF logoRect() const;
    bool usesFallbackSymbol() const;

    QSize sizeHint() const override { return {m_size, m_size}; }

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyAnimation();

    int m_size;
    QString m_symbol;
    bool m_shimmer = false;
    AnimatedValue *m_direction;
};

} // namespace qv
