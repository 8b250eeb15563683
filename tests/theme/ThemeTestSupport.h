#pragma once

#include "core/VirtualScheduler.h"
#include "platform/Desktop.h"
#include "theme/MotionSettings.h"
#include "theme/ThemeEnvironment.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QEnterEvent>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace qv::test {

// The desktop's reduce-motion switch, set by the test.
class FakeDesktop final : public platform::Desktop {
public:
    void setBadgeLabel(const QString &label) override { m_badge = label; }
    QString badgeLabel() const override { return m_badge; }
    bool reduceMotion() override { return reduce; }
    bool reduce = false;

private:
    QString m_badge;
};

// Every theme test runs on a virtual clock with both motion switches off.
class ThemeTest : public ::testing::Test {
protected:
    VirtualScheduler scheduler;
    FakeDesktop desktop;
    MotionSettings motion{&desktop};
    ThemeEnvironment environment{scheduler, motion};

    void setSystemReduceMotion(bool on)
    {
        desktop.reduce = on;
        motion.refreshSystem();
    }
};

inline QImage grabImage(QWidget &w) { return w.grab().toImage().convertToFormat(QImage::Format_ARGB32); }

// `over` composited on an opaque `under`, as the screen shows it.
inline QColor over(const QColor &top, const QColor &under)
{
    const double a = top.alphaF();
    QColor c;
    c.setRgbF(float(top.redF() * a + under.redF() * (1 - a)), float(top.greenF() * a + under.greenF() * (1 - a)),
              float(top.blueF() * a + under.blueF() * (1 - a)));
    return c;
}

inline ::testing::AssertionResult colorNear(const QColor &actual, const QColor &expected, int tolerance = 3)
{
    const int d = std::max({std::abs(actual.red() - expected.red()), std::abs(actual.green() - expected.green()),
                            std::abs(actual.blue() - expected.blue())});
    if (d <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.name(QColor::HexArgb).toStdString() << ", expected "
                                         << expected.name(QColor::HexArgb).toStdString();
}

inline void sendEnter(QWidget &w, QPointF pos)
{
    QEnterEvent e(pos, w.mapTo(w.window(), pos), w.mapToGlobal(pos));
    QApplication::sendEvent(&w, &e);
}

inline void sendLeave(QWidget &w)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(&w, &e);
}

inline QString screenshotDir()
{
    const QString dir = QStringLiteral(QUORVEL_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    return dir;
}

} // namespace qv::test
