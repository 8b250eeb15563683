#pragma once

#include "dashboard/Card.h"
#include "dashboard/DashboardMode.h"

#include <QList>

namespace qv::dashboard {

class ModePickerButton;

// The card that greets the user: "Choose Your Space" and one button per
// workspace, in the order writer, study, test.
class ModePickerView : public Card {
    Q_OBJECT
public:
    explicit ModePickerView(QWidget *parent = nullptr);

    ModePickerButton *button(DashboardMode mode) const;

signals:
    void chosen(qv::dashboard::DashboardMode mode);

private:
    QList<ModePickerButton *> m_buttons;
};

} // namespace qv::dashboard
