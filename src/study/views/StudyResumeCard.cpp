#include "study/views/StudyResumeCard.h"

#include "study/StudyLibraryText.h"
#include "study/views/StudyElidedLabel.h"
#include "study/views/StudyText.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace qv::study {

StudyResumeCard::StudyResumeCard(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(styledLabel(QStringLiteral("Resume"), TextStyle::Caption, QFont::Bold, Theme::subtext()));

    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(4);
    m_title = new StudyElidedLabel;
    m_title->setFont(Typography::font(TextStyle::Headline, QFont::DemiBold));
    QPalette pal = m_title->palette();
    pal.setColor(QPalette::WindowText, Theme::text());
    m_title->setPalette(pal);
    texts->addWidget(m_title);
    m_meta = styledLabel({}, TextStyle::Caption, std::nullopt, Theme::subtext());
    texts->addWidget(m_meta);
    row->addLayout(texts, 1);
    m_continue = new QVButton(QStringLiteral("Continue"), QVButtonVariant::primary, true);
    row->addWidget(m_continue, 0, Qt::AlignVCenter);
    layout->addLayout(row);

    connect(m_continue, &QAbstractButton::clicked, this, [this] { emit continueClicked(m_set); });
}

void StudyResumeCard::setProject(const StudyProject &set)
{
    m_set = set;
    m_title->setText(set.title);
    m_meta->setText(library::resumeMeta(set));
}

void StudyResumeCard::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintPanel(p, rect(), 14);
}

} // namespace qv::study
