#pragma once

#include "model/Project.h"

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <QSize>
#include <QWidget>

#include <functional>
#include <tuple>

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

    // Where the waiting glow and its halo are painted.
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
    // The edge's layers at full strength (halo, border, glow line), drawn
    // once per size and colours (the key) and faded with the pulse.
    QPixmap m_halo;
    QPixmap m_border;
    QPixmap m_glowLine;
    std::tuple<QSize, qreal, QRgb, QRgb> m_edgeKey;
    QPointer<QMessageBox> m_alert;
    bool m_overlayShown = false;
};

} // namespace qv::editor
