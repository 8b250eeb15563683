#include "dashboard/UndoBanner.h"

#include "dashboard/DashboardText.h"
#include "dashboard/Labels.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>

namespace qv::dashboard {

UndoBanner::UndoBanner(QWidget *parent) : Card(Theme::surface(), 12, parent)
{
    setShadow(10, {0, 6});
    setMinimumWidth(360);
    setMaximumWidth(560);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    m_text = styledLabel({}, Typography::font(TextStyle::Caption), Theme::text(), this);
    row->addWidget(m_text);
    row->addStretch();
    m_undo = new QVButton(QStringLiteral("Undo"), QVButtonVariant::secondary, true, this);
    row->addWidget(m_undo);
    connect(m_undo, &QAbstractButton::clicked, this, &UndoBanner::undoRequested);
}

void UndoBanner::setTitle(const QString &title) { m_text->setText(deletedBannerText(title)); }

} // namespace qv::dashboard
