#include "study/views/StudySetRow.h"

#include "study/StudyLibraryText.h"
#include "study/StudyStats.h"
#include "study/views/StudyElidedLabel.h"
#include "study/views/StudyProgressBar.h"
#include "study/views/StudyText.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>

namespace qv::study {

StudySetRow::StudySetRow(const StudyProject &set, QWidget *parent) : QWidget(parent), m_set(set)
{
    setCursor(Qt::PointingHandCursor);
    const StudyStats stats(set);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    m_title = new StudyElidedLabel(set.title);
    m_title->setFont(Typography::font(TextStyle::Headline, QFont::DemiBold));
    QPalette pal = m_title->palette();
    pal.setColor(QPalette::WindowText, Theme::text());
    m_title->setPalette(pal);
    texts->addWidget(m_title);
    m_meta = styledLabel(library::rowMeta(set), TextStyle::Caption, std::nullopt, Theme::subtext());
    texts->addWidget(m_meta);
    m_bar = new StudyProgressBar(stats.ratio);
    texts->addWidget(m_bar);
    auto *figures = new QHBoxLayout;
    figures->setSpacing(10);
    m_mastered = styledLabel(library::masteredLine(stats.mastered, set.items.size()), TextStyle::Caption2, std::nullopt,
                             Theme::subtext());
    m_streak = styledLabel(library::streakLine(stats.streak), TextStyle::Caption2, std::nullopt, Theme::subtext());
    figures->addWidget(m_mastered);
    figures->addWidget(m_streak);
    figures->addStretch(1);
    texts->addLayout(figures);
    layout->addLayout(texts, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    m_study = new QVButton(QStringLiteral("Study"), QVButtonVariant::primary, false);
    m_study->setMinimumWidth(110);
    m_quiz = new QVButton(QStringLiteral("Quiz"), QVButtonVariant::secondary, false);
    m_quiz->setMinimumWidth(110);
    m_delete = new QVButton(QStringLiteral("Delete"), QVButtonVariant::destructive, true);
    m_delete->setMinimumWidth(54);
    for (QVButton *b : {m_study, m_quiz, m_delete}) {
        b->setCursor(Qt::ArrowCursor);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(m_study, &QAbstractButton::clicked, this, [this] { emit studyRequested(m_set); });
    connect(m_quiz, &QAbstractButton::clicked, this, [this] { emit quizRequested(m_set); });
    connect(m_delete, &QAbstractButton::clicked, this, [this] { emit deleteRequested(m_set); });
}

QSize StudySetRow::minimumSizeHint() const
{
    const QSize content = QWidget::minimumSizeHint();
    return {content.width(), std::max(content.height(), kMinHeight)};
}

QSize StudySetRow::sizeHint() const
{
    const QSize content = QWidget::sizeHint();
    return {content.width(), std::max(content.height(), kMinHeight)};
}

void StudySetRow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintPanel(p, rect(), 12);
}

void StudySetRow::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void StudySetRow::mouseReleaseEvent(QMouseEvent *event)
{
    const bool tap = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (tap)
        emit openRequested(m_set);
}

} // namespace qv::study
