#pragma once

#include <QImage>
#include <QWidget>

namespace qv::state {
class AppState;
}

namespace qv::dashboard {

// The user's avatar in a circle: the profile picture filling it, or the
// initials of the profile name when there is no picture or its bytes are no
// image. It follows the state object's name and picture. Clicks go through.
class AvatarCircle : public QWidget {
    Q_OBJECT
public:
    AvatarCircle(state::AppState &appState, int diameter, QWidget *parent = nullptr);

    // What is shown, for tests.
    bool showsPicture() const { return !m_picture.isNull(); }
    QString initialsText() const;

    QSize sizeHint() const override { return {m_diameter, m_diameter}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void decodePicture();

    state::AppState &m_appState;
    int m_diameter;
    QImage m_picture;
};

} // namespace qv::dashboard
