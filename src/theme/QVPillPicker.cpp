#include "theme/QVPillPicker.h"

#include "theme/QVButton.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qv {

QVPillPicker::QVPillPicker(std::optional<QString> title, QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    if (title) {
        m_title = new QLabel(*title, this);
        m_title->setTextFormat(Qt::PlainText);
        m_title->setFont(Typography::font(TextStyle::Caption, QFont::Bold));
        QPalette pal = m_title->palette();
        pal.setColor(QPalette::WindowText, Theme::secondaryLabel());
        m_title->setPalette(pal);
        column->addWidget(m_title);
    }
    m_row = new QHBoxLayout;
    m_row->setContentsMargins(0, 2, 0, 2);
    m_row->setSpacing(8);
    m_row->addStretch(1);
    column->addLayout(m_row);
}

void QVPillPicker::setOptions(const QList<QVariant> &options, Label label)
{
    // Later, not now: the caller may be answering a press of one of them.
    for (QVButton *old : std::as_const(m_pills)) {
        m_row->removeWidget(old);
        old->hide();
        old->deleteLater();
    }
    m_pills.clear();
    m_options = options;
    for (int i = 0; i < options.size(); ++i) {
        auto *pill = new QVButton(label(options[i]), QVButtonVariant::secondary, true, this);
        pill->setCapsuleHitArea(true);
        m_row->insertWidget(i, pill);
        connect(pill, &QAbstractButton::clicked, this, [this, i] {
            m_selection = m_options.value(i);
            restyle();
            emit selectionChanged(m_selection);
        });
        m_pills.append(pill);
    }
    restyle();
}

void QVPillPicker::setSelection(const QVariant &value)
{
    m_selection = value;
    restyle();
}

QVButton *QVPillPicker::pill(int index) const { return m_pills.value(index); }

void QVPillPicker::restyle()
{
    for (int i = 0; i < m_pills.size(); ++i) {
        const bool chosen = m_selection.isValid() && m_options[i] == m_selection;
        m_pills[i]->setVariant(chosen ? QVButtonVariant::primary : QVButtonVariant::secondary);
    }
}

} // namespace qv
