#include "study/views/StudyOptionsSheet.h"

#include "study/SessionLabels.h"
#include "study/StudySession.h"
#include "study/views/StudyText.h"
#include "theme/QVButton.h"
#include "theme/QVPillPicker.h"
#include "theme/QVToggle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qv::study {

namespace {

QVToggle *makeToggle(const QString &label)
{
    auto *toggle = new QVToggle(label);
    toggle->setFont(Typography::font(TextStyle::Caption, QFont::DemiBold));
    QPalette pal = toggle->palette();
    pal.setColor(QPalette::ButtonText, Theme::text());
    pal.setColor(QPalette::WindowText, Theme::text());
    toggle->setPalette(pal);
    return toggle;
}

QVBoxLayout *captioned(const QString &caption, int spacing)
{
    auto *column = new QVBoxLayout;
    column->setSpacing(spacing);
    column->addWidget(styledLabel(caption, TextStyle::Caption, QFont::Bold, Theme::subtext()));
    return column;
}

// A type switch with its label beside it: the label wraps when the three
// switches don't fit the sheet's width on one line each.
QWidget *besideLabel(QVToggle *toggle, const QString &label)
{
    auto *item = new QWidget;
    auto *row = new QHBoxLayout(item);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(QVToggle::kSpacing);
    QLabel *text = styledLabel(label, TextStyle::Caption, QFont::DemiBold, Theme::text());
    text->setWordWrap(true);
    row->addWidget(text, 1);
    row->addWidget(toggle);
    toggle->setAccessibleName(label);
    return item;
}

void setToggle(QVToggle *toggle, bool on)
{
    const QSignalBlocker block(toggle);
    toggle->setChecked(on);
}

} // namespace

StudyOptionsSheet::StudyOptionsSheet(StudySession &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    auto *header = new QHBoxLayout;
    m_close = new QPushButton(QStringLiteral("×"));
    m_close->setFixedSize(20, 20);
    m_close->setFocusPolicy(Qt::NoFocus);
    m_close->setCursor(Qt::PointingHandCursor);
    m_close->setFont(Typography::font(TextStyle::Caption, QFont::Bold));
    m_close->setStyleSheet(
        QStringLiteral("QPushButton { background: %1; color: %2; border: 1px solid %3;"
                       " border-radius: 6px; padding: 0; }")
            .arg(Theme::surfaceAlt().name(), Theme::subtext().name(), Theme::border().name(QColor::HexArgb)));
    header->addWidget(m_close);
    header->addStretch(1);
    header->addWidget(styledLabel(QStringLiteral("Options"), TextStyle::Headline, QFont::DemiBold, Theme::text()));
    header->addStretch(1);
    header->addSpacing(18); // balances the close button
    layout->addLayout(header);

    QVBoxLayout *direction = captioned(QStringLiteral("Answer direction"), 8);
    m_direction = new QVPillPicker;
    m_direction->setOptions(QList<QVariant>{int(StudyAnswerDirection::term), int(StudyAnswerDirection::definition),
                                            int(StudyAnswerDirection::mixed)},
                            [](const QVariant &v) {
                                return labels::answerDirectionPill(StudyAnswerDirection(v.toInt()));
                            });
    direction->addWidget(m_direction);
    layout->addLayout(direction);

    m_starred = makeToggle(QStringLiteral("Study only starred"));
    m_shuffle = makeToggle(QStringLiteral("Shuffle terms"));
    layout->addWidget(m_starred);
    layout->addWidget(m_shuffle);

    QVBoxLayout *grading = captioned(QStringLiteral("Grading"), 8);
    m_grading = new QVPillPicker;
    m_grading->setOptions(QList<QVariant>{int(StudyGrading::exact), int(StudyGrading::lenient),
                                          int(StudyGrading::veryLenient)},
                          [](const QVariant &v) { return labels::gradingPill(StudyGrading(v.toInt())); });
    grading->addWidget(m_grading);
    layout->addLayout(grading);

    m_retype = makeToggle(QStringLiteral("Retype correct answers you miss"));
    layout->addWidget(m_retype);

    QVBoxLayout *types = captioned(QStringLiteral("Question types"), 6);
    auto *typeRow = new QHBoxLayout;
    typeRow->setSpacing(12);
    m_written = new QVToggle;
    m_multipleChoice = new QVToggle;
    m_trueFalse = new QVToggle;
    typeRow->addWidget(besideLabel(m_written, labels::questionTypeToggle(StudyQuestionType::written)));
    typeRow->addWidget(besideLabel(m_multipleChoice, labels::questionTypeToggle(StudyQuestionType::multipleChoice)));
    typeRow->addWidget(besideLabel(m_trueFalse, labels::questionTypeToggle(StudyQuestionType::trueFalse)));
    types->addLayout(typeRow);
    layout->addLayout(types);

    m_apply = new QVButton(QStringLiteral("Apply"), QVButtonVariant::primary);
    layout->addWidget(m_apply, 0, Qt::AlignHCenter);

    connect(m_close, &QPushButton::clicked, this, [this] { m_session.closeOptions(); });
    connect(m_direction, &QVPillPicker::selectionChanged, this, [this](const QVariant &v) {
        m_session.setOption(&StudyOptions::answerDirection, StudyAnswerDirection(v.toInt()));
    });
    connect(m_grading, &QVPillPicker::selectionChanged, this,
            [this](const QVariant &v) { m_session.setOption(&StudyOptions::grading, StudyGrading(v.toInt())); });
    const std::pair<QVToggle *, bool StudyOptions::*> switches[] = {
        {m_starred, &StudyOptions::onlyStarred},
        {m_shuffle, &StudyOptions::shuffle},
        {m_retype, &StudyOptions::retypeMissed},
    };
    for (const auto &[toggle, option] : switches)
        connect(toggle, &QAbstractButton::clicked, this,
                [this, option = option](bool on) { m_session.setOption(option, on); });
    const std::pair<QVToggle *, StudyQuestionType> typeToggles[] = {{m_written, StudyQuestionType::written},
                                                                    {m_multipleChoice,
                                                                     StudyQuestionType::multipleChoice},
                                                                    {m_trueFalse, StudyQuestionType::trueFalse}};
    for (const auto &[toggle, type] : typeToggles)
        connect(toggle, &QAbstractButton::clicked, this,
                [this, type = type](bool on) { m_session.updateQuestionTypes(type, on); });
    connect(m_apply, &QAbstractButton::clicked, this, [this] {
        if (m_session.showOptions())
            m_session.applyOptions();
    });
    sync();
}

void StudyOptionsSheet::sync()
{
    const StudyOptions &o = m_session.options();
    m_direction->setSelection(int(o.answerDirection));
    m_grading->setSelection(int(o.grading));
    setToggle(m_starred, o.onlyStarred);
    setToggle(m_shuffle, o.shuffle);
    setToggle(m_retype, o.retypeMissed);
    setToggle(m_written, o.questionTypes.contains(StudyQuestionType::written));
    setToggle(m_multipleChoice, o.questionTypes.contains(StudyQuestionType::multipleChoice));
    setToggle(m_trueFalse, o.questionTypes.contains(StudyQuestionType::trueFalse));
}

} // namespace qv::study
