#include "dashboard/ModePickerView.h"

#include "dashboard/Labels.h"
#include "dashboard/ModePickerButton.h"
#include "theme/ShimmerTitle.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QVBoxLayout>

namespace qv::dashboard {

ModePickerView::ModePickerView(QWidget *parent) : Card(Theme::surface(), 26, parent)
{
    setShadow(18, {0, 12});
    setMaximumWidth(760);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(16);

    auto *head = new QVBoxLayout;
    head->setSpacing(6);
    head->addWidget(new ShimmerTitle(QStringLiteral("Choose Your Space"), 44, this));
    auto *hint = styledLabel(QStringLiteral("Pick where you want to start. You can switch later."),
                             Typography::systemFont(14, QFont::Medium), Theme::subtext(), this);
    hint->setAlignment(Qt::AlignHCenter);
    head->addWidget(hint);
    column->addLayout(head);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(10);
    for (DashboardMode mode : allDashboardModes()) {
        auto *b = new ModePickerButton(mode, pickerSubtitle(mode), this);
        connect(b, &QAbstractButton::clicked, this, [this, mode] { emit chosen(mode); });
        buttons->addWidget(b);
        m_buttons.append(b);
    }
    column->addLayout(buttons);
}

ModePickerButton *ModePickerView::button(DashboardMode mode) const
{
    for (ModePickerButton *b : m_buttons)
        if (b->mode() == mode)
            return b;
    return nullptr;
}

} // namespace qv::dashboard
