#include "study/views/StudySessionStatsPanel.h"

#include "study/SessionLabels.h"
#include "study/StudySession.h"
#include "study/views/StudyFrame.h"
#include "study/views/StudyProgressBar.h"
#include "study/views/StudyText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qv::study {

namespace {

StudyFrame *statCard(QLabel *caption, StudyProgressBar *bar, QLayout *line)
{
    auto *card = new StudyFrame(12);
    auto *layout = new QVBoxLayout(card);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(caption);
    layout->addWidget(bar);
    layout->addLayout(line);
    return card;
}

} // namespace

StudySessionStatsPanel::StudySessionStatsPanel(const StudySession &session, QWidget *parent)
    : QWidget(parent), m_session(session)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    auto *first = new QHBoxLayout;
    first->setSpacing(12);
    auto *direction = new QVBoxLayout;
    direction->setSpacing(6);
    direction->addWidget(
        styledLabel(QStringLiteral("Answer Direction"), TextStyle::Caption, QFont::Bold, Theme::subtext()));
    m_direction = styledLabel({}, TextStyle::Callout, QFont::Bold, Theme::text());
    direction->addWidget(m_direction);
    first->addLayout(direction);
    first->addStretch(1);
    auto *streak = new QVBoxLayout;
    streak->setSpacing(4);
    streak->addWidget(styledLabel(QStringLiteral("Streak"), TextStyle::Caption, QFont::Bold, Theme::subtext()));
    m_streak = styledLabel({}, TextStyle::Title3, QFont::Bold, Theme::subtext());
    streak->addWidget(m_streak);
    first->addLayout(streak);
    layout->addLayout(first);

    auto *second = new QHBoxLayout;
    second->setSpacing(12);
    m_goalBar = new StudyProgressBar;
    m_goalLine = styledLabel({}, TextStyle::Caption2, std::nullopt, Theme::subtext());
    m_accuracy = styledLabel({}, TextStyle::Caption2, std::nullopt, Theme::subtext());
    auto *goalRow = new QHBoxLayout;
    goalRow->addWidget(m_goalLine);
    goalRow->addStretch(1);
    goalRow->addWidget(m_accuracy);
    second->addWidget(statCard(styledLabel(QStringLiteral("Session Goal"), TextStyle::Caption, QFont::Bold,
                                           Theme::subtext()),
                               m_goalBar, goalRow),
                      1);
    m_masteryBar = new StudyProgressBar;
    m_masteryLine = styledLabel({}, TextStyle::Caption2, std::nullopt, Theme::subtext());
    auto *masteryRow = new QHBoxLayout;
    masteryRow->addWidget(m_masteryLine);
    masteryRow->addStretch(1);
    second->addWidget(statCard(styledLabel(QStringLiteral("Mastery Progress"), TextStyle::Caption, QFont::Bold,
                                           Theme::subtext()),
                               m_masteryBar, masteryRow),
                      1);
    layout->addLayout(second);
    sync();
}

void StudySessionStatsPanel::sync()
{
    m_direction->setText(labels::answerDirectionTitle(m_session.options().answerDirection));
    m_streak->setText(QString::number(m_session.tally().streak));
    QPalette pal = m_streak->palette();
    pal.setColor(QPalette::WindowText,
                 labels::streakHighlighted(m_session.tally().streak) ? Theme::accent() : Theme::subtext());
    m_streak->setPalette(pal);
    m_goalBar->setValue(m_session.tally().goalProgress(m_session.goalTarget()));
    m_goalLine->setText(labels::goalLine(m_session.tally().correctCards.size(), m_session.goalTarget()));
    m_accuracy->setText(labels::accuracy(m_session.tally().accuracyPercent()));
    m_masteryBar->setValue(m_session.masteryFraction());
    m_masteryLine->setText(labels::masteryLine(m_session.masteredCount(), m_session.activeItems().size()));
}

} // namespace qv::study
