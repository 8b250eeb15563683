#include "study/views/StudyQuestionCard.h"

#include "study/SessionLabels.h"
#include "study/StudySession.h"
#include "study/views/StudyChoiceRow.h"
#include "study/views/StudyFrame.h"
#include "study/views/StudyReveal.h"
#include "study/views/StudyText.h"
#include "theme/DropShadow.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qv::study {

namespace {

void setColor(QLabel *label, const QColor &color)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
}

// Pushes the session's text into a field only when it differs, so typing
// keeps its cursor.
void syncField(QVLineEdit *field, const QString &text)
{
    if (field->text() != text) {
        const QSignalBlocker block(field);
        field->setText(text);
    }
}

} // namespace

StudyQuestionCard::StudyQuestionCard(StudySession &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSpacing(10);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    m_type = styledLabel({}, TextStyle::Caption, QFont::Bold, Theme::subtext());
    header->addWidget(m_type);
    header->addStretch(1);
    m_star = new QPushButton;
    m_star->setFlat(true);
    m_star->setFocusPolicy(Qt::NoFocus);
    m_star->setCursor(Qt::PointingHandCursor);
    m_star->setFont(Typography::font(TextStyle::Title3, QFont::Bold));
    m_star->setStyleSheet(
        QStringLiteral("QPushButton { border: none; background: transparent; padding: 0; color: %1; }")
            .arg(Theme::accent().name()));
    header->addWidget(m_star);
    layout->addLayout(header);

    m_side = styledLabel({}, TextStyle::Caption, QFont::Bold, Theme::subtext());
    layout->addWidget(m_side);
    m_prompt = styledLabel({}, TextStyle::Headline, QFont::Bold, Theme::text());
    m_prompt->setWordWrap(true);
    layout->addWidget(m_prompt);

    m_answer = new QVLineEdit(nullptr, 12);
    m_answer->setPlaceholderText(QStringLiteral("Type your answer"));
    m_answer->setAccessibleName(QStringLiteral("Answer"));
    layout->addWidget(m_answer);

    m_choiceBox = new QWidget;
    m_choiceLayout = new QVBoxLayout(m_choiceBox);
    m_choiceLayout->setContentsMargins(0, 0, 0, 0);
    m_choiceLayout->setSpacing(8);
    layout->addWidget(m_choiceBox);

    m_result = styledLabel({}, TextStyle::Caption, std::nullopt, Theme::accent());
    m_result->setWordWrap(true);
    layout->addWidget(m_result);

    m_retypeBlock = new QWidget;
    auto *retypeLayout = new QVBoxLayout(m_retypeBlock);
    retypeLayout->setContentsMargins(0, 0, 0, 0);
    retypeLayout->setSpacing(6);
    retypeLayout->addWidget(styledLabel(QStringLiteral("Retype the correct answer to continue"), TextStyle::Caption,
                                        QFont::Bold, Theme::subtext()));
    m_retype = new QVLineEdit(nullptr, 12);
    m_retype->setPlaceholderText(QStringLiteral("Retype answer"));
    m_retype->setAccessibleName(QStringLiteral("Retype answer"));
    retypeLayout->addWidget(m_retype);
    layout->addWidget(m_retypeBlock);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    m_main = new QVButton(QStringLiteral("Check"), QVButtonVariant::primary);
    m_dontKnow = new QVButton(QStringLiteral("I don't know"), QVButtonVariant::secondary);
    m_override = new QVButton(QStringLiteral("I was correct"), QVButtonVariant::secondary);
    for (QVButton *b : {m_main, m_dontKnow, m_override}) {
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);

    m_shadow = new DropShadow(this, [this] {
        return ShadowSpec{QRectF(rect()), kRadius, Theme::shadow(), 10, QPointF(0, 6)};
    });

    // Neither field submits anything: answers are checked only by the buttons
    // and the choice rows.
    connect(m_answer, &QLineEdit::textEdited, this, [this](const QString &t) { m_session.setUserAnswer(t); });
    connect(m_retype, &QLineEdit::textEdited, this, [this](const QString &t) { m_session.setRetypeInput(t); });
    connect(m_star, &QPushButton::clicked, this, [this] {
        if (const auto id = m_session.currentItemId())
            m_session.toggleStar(*id);
    });
    connect(m_main, &QAbstractButton::clicked, this, [this] { m_session.pressMain(); });
    connect(m_dontKnow, &QAbstractButton::clicked, this, [this] { m_session.answerDontKnow(); });
    connect(m_override, &QAbstractButton::clicked, this, [this] { m_session.markOverrideCorrect(); });
    sync();
}

void StudyQuestionCard::sync()
{
    const std::optional<StudyItem> item = m_session.currentItem();
    const StudyQuestionType type = m_session.currentQuestionType();
    m_type->setText(labels::questionType(type));
    m_star->setText(labels::star(item && item->isStarred));
    m_side->setText(labels::side(m_session.promptIsTerm()));
    m_prompt->setText(m_session.promptText());

    const bool written = type == StudyQuestionType::written;
    m_answer->setVisible(written);
    syncField(m_answer, m_session.userAnswer());
    m_choiceBox->setVisible(!written);
    syncChoices();

    const bool showing = m_session.showingResult();
    m_result->setVisible(showing);
    if (showing) {
        m_result->setText(labels::result(m_session.wasCorrect(), m_session.correctAnswer()));
        setColor(m_result, m_session.wasCorrect() ? Theme::accent() : Theme::danger());
    }
    m_retypeBlock->setVisible(m_session.requireRetype());
    syncField(m_retype, m_session.retypeInput());

    m_main->setText(m_session.mainButtonTitle());
    m_main->setEnabled(m_session.mainButtonEnabled());
    m_override->setVisible(m_session.showsOverrideButton());

    // A result grows the card: the verdict, the retype field and the buttons
    // that go on must come into view.
    if (showing && !m_resultShown) {
        QPointer<QLabel> result(m_result);
        revealInScroll(this, [this, result] {
            const int top = result ? result->y() : 0;
            return QRect(0, top, width(), height() - top);
        });
    }
    m_resultShown = showing;
}

void StudyQuestionCard::syncChoices()
{
    const QStringList choices = m_session.multipleChoices();
    if (choices != m_shownChoices) {
        // Old rows go later: this can run inside a row's own click.
        for (StudyChoiceRow *row : std::as_const(m_rows)) {
            row->hide();
            row->deleteLater();
        }
        m_rows.clear();
        m_tappedRow = -1;
        m_shownChoices = choices;
        for (const QString &choice : choices) {
            auto *row = new StudyChoiceRow(choice, m_choiceBox);
            m_choiceLayout->addWidget(row);
            connect(row, &QAbstractButton::clicked, this, [this, row] { tapRow(row); });
            m_rows.append(row);
        }
    }
    const std::optional<QString> selected = m_session.selectedChoice();
    if (!selected)
        m_tappedRow = -1;
    for (int i = 0; i < m_rows.size(); ++i) {
        const bool sameText = selected && m_rows[i]->choice() == *selected;
        m_rows[i]->setChosen(sameText && (m_tappedRow < 0 || m_tappedRow == i));
    }
}

void StudyQuestionCard::tapRow(StudyChoiceRow *row)
{
    const int index = int(m_rows.indexOf(row));
    if (index < 0 || m_session.showingResult() || m_session.quizClock().timeUp())
        return;
    m_tappedRow = index;
    m_session.tapChoice(row->choice());
}

void StudyQuestionCard::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintFramedRect(p, rect(), kRadius, Theme::surface(), Theme::withOpacity(Theme::border(), 0.8));
}

} // namespace qv::study
