#include "study/views/StudyQuizSetupCard.h"

#include "study/StudySession.h"
#include "study/views/StudyText.h"
#include "theme/QVButton.h"
#include "theme/QVToggle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace qv::study {

StudyQuizSetupCard::StudyQuizSetupCard(StudySession &session, std::function<void()> onCancel, QWidget *parent)
    : StudyFrame(14, parent), m_session(session)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(styledLabel(QStringLiteral("Quiz Setup"), TextStyle::Headline, QFont::DemiBold, Theme::text()));

    auto *types = new QHBoxLayout;
    types->setSpacing(8);
    m_randomMix = new QVButton(QStringLiteral("Random Mix"), QVButtonVariant::secondary);
    m_multipleChoice = new QVButton(QStringLiteral("Multiple Choice"), QVButtonVariant::secondary);
    m_written = new QVButton(QStringLiteral("Word Problems"), QVButtonVariant::secondary);
    m_trueFalse = new QVButton(QStringLiteral("True/False"), QVButtonVariant::secondary);
    for (QVButton *b : {m_randomMix, m_multipleChoice, m_written, m_trueFalse})
        types->addWidget(b);
    types->addStretch(1);
    layout->addLayout(types);

    auto *limitRow = new QHBoxLayout;
    limitRow->setSpacing(12);
    auto *limitColumn = new QVBoxLayout;
    limitColumn->setSpacing(6);
    limitColumn->addWidget(
        styledLabel(QStringLiteral("Time Limit"), TextStyle::Caption, QFont::Bold, Theme::subtext()));
    m_limit = styledLabel({}, TextStyle::Callout, QFont::DemiBold, Theme::text());
    limitColumn->addWidget(m_limit);
    limitRow->addLayout(limitColumn);
    m_slider = new QSlider(Qt::Horizontal);
    m_slider->setRange(0, 30);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(1);
    m_slider->setFocusPolicy(Qt::NoFocus);
    m_slider->setStyleSheet(
        QStringLiteral("QSlider::groove:horizontal { height: 4px; background: %1; border-radius: 2px; }"
                       "QSlider::sub-page:horizontal { background: %2; border-radius: 2px; }"
                       "QSlider::handle:horizontal { width: 16px; height: 16px; margin: -6px 0; border-radius: 8px;"
                       " background: %3; }")
            .arg(Theme::surfaceAlt().name(), Theme::accent().name(), Theme::text().name()));
    limitRow->addWidget(m_slider, 1);
    layout->addLayout(limitRow);

    m_shuffle = new QVToggle(QStringLiteral("Shuffle Questions"));
    m_starred = new QVToggle(QStringLiteral("Starred Only"));
    layout->addWidget(m_shuffle);
    layout->addWidget(m_starred);

    auto *actions = new QHBoxLayout;
    actions->setSpacing(10);
    m_start = new QVButton(QStringLiteral("Start Quiz"), QVButtonVariant::primary);
    m_cancel = new QVButton(QStringLiteral("Cancel"), QVButtonVariant::secondary);
    actions->addWidget(m_start);
    actions->addWidget(m_cancel);
    actions->addStretch(1);
    layout->addLayout(actions);

    connect(m_randomMix, &QAbstractButton::clicked, this, [this] { m_session.randomMix(); });
    connect(m_multipleChoice, &QAbstractButton::clicked, this,
            [this] { m_session.toggleType(StudyQuestionType::multipleChoice); });
    connect(m_written, &QAbstractButton::clicked, this, [this] { m_session.toggleType(StudyQuestionType::written); });
    connect(m_trueFalse, &QAbstractButton::clicked, this,
            [this] { m_session.toggleType(StudyQuestionType::trueFalse); });
    connect(m_slider, &QSlider::valueChanged, this, [this](int minutes) { m_session.setQuizTimeLimit(minutes); });
    connect(m_shuffle, &QAbstractButton::clicked, this,
            [this](bool on) { m_session.setOption(&StudyOptions::shuffle, on); });
    connect(m_starred, &QAbstractButton::clicked, this,
            [this](bool on) { m_session.setOption(&StudyOptions::onlyStarred, on); });
    connect(m_start, &QAbstractButton::clicked, this, [this] { m_session.startQuiz(); });
    connect(m_cancel, &QAbstractButton::clicked, this, [onCancel = std::move(onCancel)] {
        if (onCancel)
            onCancel();
    });
    sync();
}

void StudyQuizSetupCard::sync()
{
    const QList<StudyQuestionType> &types = m_session.options().questionTypes;
    auto variantFor = [&](StudyQuestionType t) {
        return types.contains(t) ? QVButtonVariant::primary : QVButtonVariant::secondary;
    };
    m_multipleChoice->setVariant(variantFor(StudyQuestionType::multipleChoice));
    m_written->setVariant(variantFor(StudyQuestionType::written));
    m_trueFalse->setVariant(variantFor(StudyQuestionType::trueFalse));
    m_limit->setText(m_session.quizClock().limitLabel());
    if (m_slider->value() != m_session.quizClock().limit()) {
        const QSignalBlocker block(m_slider);
        m_slider->setValue(m_session.quizClock().limit());
    }
    const QSignalBlocker blockShuffle(m_shuffle);
    m_shuffle->setChecked(m_session.options().shuffle);
    const QSignalBlocker blockStarred(m_starred);
    m_starred->setChecked(m_session.options().onlyStarred);
}

} // namespace qv::study
