#pragma once

#include <QScrollArea>

namespace qv::study {

// A vertical scroll area that asks for the whole height of its content, so
// the test takes the room its questions need up to the page's limit and
// scrolls beyond it.
class StudyTestScrollArea final : public QScrollArea {
    Q_OBJECT
public:
    explicit StudyTestScrollArea(QWidget *parent = nullptr);

    QSize sizeHint() const override;
};

} // namespace qv::study
