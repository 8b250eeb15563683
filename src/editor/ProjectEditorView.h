#pragma once

#include "editor/EditorServices.h"
#include "editor/SlideFadeEffect.h"
#include "model/Project.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QScrollArea;

namespace qv {
class AnimatedValue;
class WallClock;
namespace state {
class AppState;
}
} // namespace qv

namespace qv {
class NoticeBanner;
}

namespace qv::editor {

class AiOutlineTab;
class EditorHeader;
class EditorModel;
class NewEssayTab;
class SmartWhyBubble;

// The project editor: creates a new writing project (`project` empty) or
// edits one. It reads `project` once and never changes it; it changes the
// application's projects only by saving. `onClose` runs after a successful
// save and from the close and Cancel buttons; without one the editor closes
// its own window. The form is filled once, when the view is built.
// `onClose` runs from inside a button's click: it may close and deleteLater
// the window, but must not delete it on the spot.
class ProjectEditorView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 720;
    static constexpr int kIdealWidth = 760;
    static constexpr int kMinimumHeight = 760;

    ProjectEditorView(state::AppState &appState, std::optional<Project> project, std::function<void()> onClose,
                      EditorServices services = {}, QWidget *parent = nullptr);
    ~ProjectEditorView() override;

    EditorModel &model() const { return *m_model; }
    EditorHeader *header() const { return m_header; }
    NewEssayTab *newEssayTab() const { return m_newEssay; }
    AiOutlineTab *aiOutlineTab() const { return m_aiOutline; }
    SmartWhyBubble *whyBubble() const { return m_bubble; }
    // A failed write of the draft, shown here in front of the user.
    NoticeBanner *preferencesNotice() const { return m_preferencesNotice; }
    // The form scrolls inside the card when the window is too low for it.
    QScrollArea *scrollArea() const { return m_scroll; }

    // The text input that has the keyboard focus, which is also the one that
    // draws its focus ring. It follows the user's clicks and Tab presses.
    enum class Field { title, text, notes, aiNotes };
    std::optional<Field> focusedField() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sync();
    void showTab(int tab);
    void placeBubble();
    void syncBubbleFade();
    void dismiss();

    state::AppState &m_app;
    std::unique_ptr<WallClock> m_ownClock;
    EditorModel *m_model;
    QScrollArea *m_scroll;
    QWidget *m_windowBar; // close and minimise, above the form; it does not scroll
    QWidget *m_body;
    EditorHeader *m_header;
    NewEssayTab *m_newEssay;
    AiOutlineTab *m_aiOutline;
    SmartWhyBubble *m_bubble;
    NoticeBanner *m_preferencesNotice;
    SlideFadeEffect *m_fade = nullptr;
    AnimatedValue *m_fadeValue;
    SlideFadeEffect *m_bubbleFade;
    AnimatedValue *m_bubbleValue;
    bool m_bubbleShown = false;
    int m_shownTab = 0;
};

} // namespace qv::editor
