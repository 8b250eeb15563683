#include "dashboard/AvatarCircle.h"

#include "dashboard/SettingsText.h"
#include "state/AppState.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QPainter>
#include <QPainterPath>

namespace qv::dashboard {

AvatarCircle::AvatarCircle(state::AppState &appState, int diameter, QWidget *parent)
    : QWidget(parent), m_appState(appState), m_diameter(diameter)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(diameter, diameter);
    setFont(Typography::font(TextStyle::Caption, QFont::Bold));
    decodePicture();
    connect(&appState, &state::AppState::profileImageDataChanged, this, [this] {
        decodePicture();
        update();
    });
    connect(&appState, &state::AppState::profileNameChanged, this, qOverload<>(&QWidget::update));
}

QString AvatarCircle::initialsText() const { return initials(m_appState.profileName()); }

void AvatarCircle::decodePicture()
{
    // Decoded once per change, not at every paint; bytes that are no image
    // leave the initials in place.
    const std::optional<QByteArray> &bytes = m_appState.profileImageData();
    m_picture = bytes ? QImage::fromData(*bytes) : QImage();
}

void AvatarCircle::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF r = QRectF(rect());
    QPainterPath circle;
    circle.addEllipse(r);
    p.fillPath(circle, Theme::surfaceAlt());
    if (!m_picture.isNull()) {
        // Scaled to fill: the shorter side fits, the rest is cut by the circle.
        const QSizeF scaled = QSizeF(m_picture.size()).scaled(r.size(), Qt::KeepAspectRatioByExpanding);
        const QRectF target(r.center() - QPointF(scaled.width() / 2, scaled.height() / 2), scaled);
        p.save();
        p.setClipPath(circle);
        p.drawImage(target, m_picture);
        p.restore();
    } else {
        p.setPen(Theme::text());
        p.setFont(font());
        p.drawText(r, Qt::AlignCenter, initialsText());
    }
    p.setPen(QPen(Theme::border(), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace qv::dashboard
