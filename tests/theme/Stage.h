#pragma once

#include "theme/Theme.h"

#include <QWidget>

namespace qv::test {

// An opaque window in the background colour to put controls on, so sampled
// pixels are what the screen would show.
class Stage : public QWidget {
public:
    explicit Stage(QSize size = {400, 200})
    {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Theme::bg());
        setPalette(pal);
        resize(size);
    }
};

} // namespace qv::test
