#pragma once

#include "model/Project.h"
#include "theme/LayerPaint.h"

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <QSize>
#include <QWidget>

#include <functional>
#include <utility>

class QGraphicsOpacityEffect;
class QLabel;
class QMessageBox;

namespace qv {
class AnimatedValue;
class NoticeBanner;
class QVButton;
namespace state {
class AppState;
}
} // namespace qv

namespace qv::editor {

class DetailPill;
class GlyphButton;
class LineClampLabel;
class TargetOverlay;
class TypingPanelModel;
class TypingProgressBar;

// The floating panel of one typing job: the project, the job's phase and
// progress, a summary of the project's settings, and the buttons that start
// or resume, pause or continue, stop, or leave the job. While the job waits
// for its target it lays the target card over itself. It changes the job
// only through the state object, and reads only what that publishes.
//
// `onClose` closes the panel's window (without one the panel closes its own
// window); it runs from inside a click and must not delete the panel on the
// spot.
class TypingPanelView : public QWidget {
    Q_OBJECT
public:
    static constexpr double kCornerRadius = 18;
    static constexpr double kPulseMs = 1250;
    // The pulse's frame rate: a slow swell of opacity (at most a thirtieth
    // of its range a frame) looks as smooth at 24 frames a second as at 60,
    // for two fifths of the repaints.
    static constexpr double kPulseFrameMs = 1000.0 / 24;
    // How far in from the edge the glow and its halo reach (the content
    // starts at 20).
    static constexpr int kBandReach = 19;
    static constexpr double kPhaseFadeMs = 200;
    static constexpr QSize kMinimumSize{520, 520};

    TypingPanelView(state::AppState &appState, Project project, std::function<void()> onClose,
                    QWidget *parent = nullptr);
    ~TypingPanelView() override;

    TypingPanelModel &model() const { return *m_model; }

    // The parts tests and screenshots look at.
    GlyphButton *closeButton() const { return m_close; }
    LineClampLabel *titleLabel() const { return m_title; }
    DetailPill *statusPill() const { return m_status; }
    QLabel *runNoteLabel() const { return m_runNote; }
    QLabel *percentLabel() const { return m_percent; }
    QLabel *differenceLabel() const { return m_difference; }
    QLabel *progressHeaderLabel() const { return m_progressHeader; }
    TypingProgressBar *progressBar() const { return m_bar; }
    QLabel *modeValue() const { return m_mode; }
    QLabel *reviewValue() const { return m_review; }
    QLabel *speedValue() const { return m_speed; }
    QLabel *etaValue() const { return m_eta; }
    QVButton *startButton() const { return m_start; }
    QVButton *exitButton() const { return m_exit; }
    QVButton *pauseButton() const { return m_pause; }
    QVButton *stopButton() const { return m_stop; }
    TargetOverlay *overlay() const { return m_overlay; }
    // A failed write of the resume positions, shown here in front of the user.
    NoticeBanner *preferencesNotice() const { return m_preferencesNotice; }
    // The open stop confirmation, if any.
    QMessageBox *stopAlert() const;
    // The glow line's and the shadow's opacities of the accent as painted now.
    double glowOpacity() const;
    double shadowOpacity() const;
    bool isPulsing() const;

    QSize sizeHint() const override { return {640, 600}; }
    QSize minimumSizeHint() const override { return kMinimumSize; }

    // Where the waiting glow and its halo are painted: a band along the
    // edges, clear of the panel's content.
    QRegion glowBand() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildTitleBlock();
    QWidget *buildProgressCard();
    QWidget *buildSummaryCard();
    QWidget *buildActionRow();
    void sync();
    void syncMotion();
    void syncOverlay(bool animate);
    void syncAlert();
    void dismissWindow();
    // Where the border and the glow line have pixels.
    QRegion edgeLine() const;

    TypingPanelModel *m_model;
    NoticeBanner *m_preferencesNotice = nullptr;
    GlyphButton *m_close = nullptr;
    LineClampLabel *m_title = nullptr;
    DetailPill *m_status = nullptr;
    QLabel *m_runNote = nullptr;
    QLabel *m_percent = nullptr;
    QLabel *m_difference = nullptr;
    QLabel *m_progressHeader = nullptr;
    TypingProgressBar *m_bar = nullptr;
    QLabel *m_mode = nullptr;
    QLabel *m_review = nullptr;
    QLabel *m_speed = nullptr;
    QLabel *m_eta = nullptr;
    QVButton *m_start = nullptr;
    QVButton *m_exit = nullptr;
    QWidget *m_pair = nullptr;
    QVButton *m_pause = nullptr;
    QVButton *m_stop = nullptr;
    TargetOverlay *m_overlay = nullptr;
    QGraphicsOpacityEffect *m_overlayFade = nullptr;
    AnimatedValue *m_overlayOpacity = nullptr;
    AnimatedValue *m_pulse = nullptr;
    // The panel's layers, drawn once per size and colours; the halo and the
    // glow line at full strength, faded with the pulse.
    CachedLayer m_surface;
    CachedLayer m_halo;
    CachedLayer m_border;
    CachedLayer m_glowLine;
    // The glow's and the halo's opacities as last painted.
    std::pair<double, double> m_paintedGlow{-1, -1};
    QPointer<QMessageBox> m_alert;
    bool m_overlayShown = false;
};

} // namespace qv::editor
