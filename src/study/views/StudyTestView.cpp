#include "study/views/StudyTestView.h"

#include "study/views/StudyCapsuleLabel.h"
#include "study/views/StudyFrame.h"
#include "study/views/StudyProgressBar.h"
#include "study/views/StudyReveal.h"
#include "study/views/StudyTestQuestionCard.h"
#include "study/views/StudyText.h"
#include "theme/ConfirmAlert.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::study {

namespace {
const QString kFinishTitle = QStringLiteral("Finish quiz?");
const QString kFinishMessage = QStringLiteral("Your score is saved. Are you sure you want to exit?");
} // namespace

StudyTestView::StudyTestView(const StudyProject &project, Random &random, const WallClock &clock, QWidget *parent)
    : QWidget(parent), m_test(random, clock)
{
    setObjectName(QStringLiteral("quiz"));
    m_test.setProject(project);
    m_test.setUpdateHandler([this](const StudyProject &set) { emit updated(set); });

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 16);
    page->setSpacing(14);

    // Header: Exit, the title block, the answered line and "I'm Done"; then
    // the question count and the answered bar.
    auto *header = new StudyFrame(14, Theme::surfaceAlt());
    auto *headerColumn = new QVBoxLayout(header);
    headerColumn->setContentsMargins(14, 14, 14, 14);
    headerColumn->setSpacing(10);

    auto *rowOne = new QHBoxLayout;
    rowOne->setSpacing(8);
    m_exit = new QVButton(QStringLiteral("Exit"), QVButtonVariant::secondary, false);
    rowOne->addWidget(m_exit, 0, Qt::AlignVCenter);
    rowOne->addStretch(1);
    auto *titleBlock = new QVBoxLayout;
    titleBlock->setSpacing(2);
    titleBlock->addStretch(1);
    m_title = styledLabel(QStringLiteral("Quiz"), TextStyle::Title3, QFont::DemiBold, Theme::text());
    m_subtitle = styledLabel(m_test.subtitle(), TextStyle::Caption, std::nullopt, Theme::subtext());
    titleBlock->addWidget(m_title, 0, Qt::AlignHCenter);
    titleBlock->addWidget(m_subtitle, 0, Qt::AlignHCenter);
    titleBlock->addStretch(1);
    rowOne->addLayout(titleBlock);
    rowOne->addStretch(1);
    auto *rightBlock = new QVBoxLayout;
    rightBlock->setSpacing(4);
    rightBlock->addStretch(1);
    m_answered = styledLabel(m_test.answeredLabel(), TextStyle::Caption2, QFont::DemiBold, Theme::subtext());
    rightBlock->addWidget(m_answered, 0, Qt::AlignRight);
    m_done = new QVButton(QStringLiteral("I'm Done"), QVButtonVariant::secondary, true);
    m_done->hide();
    rightBlock->addWidget(m_done, 0, Qt::AlignRight);
    rightBlock->addStretch(1);
    rowOne->addLayout(rightBlock);
    headerColumn->addLayout(rowOne);

    auto *rowTwo = new QHBoxLayout;
    rowTwo->setSpacing(8);
    m_countChip = new StudyCapsuleLabel(m_test.questionCountLabel(), TextStyle::Caption, QFont::DemiBold,
                                        Theme::subtext(), Theme::surfaceAlt(), 10, 6);
    rowTwo->addWidget(m_countChip, 0, Qt::AlignVCenter);
    m_progress = new StudyProgressBar(0, StudyProgressBar::kAnswered);
    rowTwo->addWidget(m_progress, 1, Qt::AlignVCenter);
    headerColumn->addLayout(rowTwo);
    page->addWidget(header);

    m_empty = styledLabel(QStringLiteral("No questions available."), TextStyle::Body, std::nullopt, Theme::subtext());
    page->addWidget(m_empty, 0, Qt::AlignHCenter);

    // The questions take the height they need: the workspace's one scroll
    // view scrolls the whole test.
    m_cardsHost = new QWidget;
    m_cardsLayout = new QVBoxLayout(m_cardsHost);
    m_cardsLayout->setContentsMargins(0, 0, 0, 0);
    m_cardsLayout->setSpacing(12);
    m_cardsLayout->addStretch(1); // cards keep their height when the page has room to spare
    page->addWidget(m_cardsHost, 1);

    auto *mainRow = new QHBoxLayout;
    mainRow->setContentsMargins(0, 8, 0, 0);
    m_main = new QVButton(m_test.mainButtonTitle(), QVButtonVariant::primary, false);
    mainRow->addWidget(m_main, 0, Qt::AlignHCenter);
    page->addLayout(mainRow);
    m_score = styledLabel(QString(), TextStyle::Caption, QFont::DemiBold, Theme::text());
    page->addWidget(m_score, 0, Qt::AlignHCenter);

    connect(m_exit, &QAbstractButton::clicked, this, [this] { emit exitRequested(); });
    connect(m_done, &QAbstractButton::clicked, this, [this] { askToFinish(); });
    connect(m_main, &QAbstractButton::clicked, this, [this] { pressMain(); });

    // The view appears with a fresh test.
    m_test.begin();
    rebuildQuestions();
}

StudyTestView::~StudyTestView() = default;

bool StudyTestView::isFinishConfirmShown() const { return !m_finishAlert.isNull(); }
QMessageBox *StudyTestView::finishAlert() const { return m_finishAlert; }

void StudyTestView::setProject(const StudyProject &project) { m_test.setProject(project); }

void StudyTestView::restart(const StudyProject &project)
{
    m_test.setProject(project);
    m_test.begin();
    rebuildQuestions();
}

void StudyTestView::rebuildQuestions()
{
    for (StudyTestQuestionCard *card : std::as_const(m_cards))
        delete card;
    m_cards.clear();
    const QList<QuizQuestion> &questions = m_test.questions();
    for (qsizetype i = 0; i < questions.size(); ++i) {
        auto *card = new StudyTestQuestionCard(questions[i], i, m_cardsHost);
        connect(card, &StudyTestQuestionCard::picked, this, &StudyTestView::pick);
        m_cardsLayout->insertWidget(m_cardsLayout->count() - 1, card);
        m_cards.append(card);
    }
    sync();
}

void StudyTestView::sync()
{
    const bool empty = m_test.questions().isEmpty();
    const bool submitted = m_test.submitted();
    m_subtitle->setText(m_test.subtitle());
    m_answered->setText(m_test.answeredLabel());
    m_done->setVisible(submitted);
    m_countChip->setText(m_test.questionCountLabel());
    m_progress->setValue(m_test.progressFraction());

    m_empty->setVisible(empty);
    m_cardsHost->setVisible(!empty);
    m_main->setVisible(!empty);
    m_main->setText(m_test.mainButtonTitle());
    m_score->setVisible(!empty && submitted);
    m_score->setText(m_test.scoreLabel());
    for (StudyTestQuestionCard *card : std::as_const(m_cards))
        card->sync(m_test);
}

void StudyTestView::pick(qsizetype index, const QString &option)
{
    m_test.select(option, index);
    sync();
}

void StudyTestView::pressMain()
{
    // "Submit" judges the test and hands the results on; "Retake Quiz" draws
    // a new one. Both stay enabled, so a double click submits and retakes.
    if (m_test.submitted()) {
        m_test.begin();
        rebuildQuestions();
    } else {
        m_test.submit();
        sync();
        // The score shows under the button; the marked questions above it
        // may have pushed both down.
        revealInScroll(this, [this] {
            return QRect(0, m_main->y(), width(), m_score->geometry().bottom() - m_main->y() + 1);
        });
    }
}

void StudyTestView::askToFinish()
{
    if (m_finishAlert)
        return;
    m_finishAlert = openConfirmAlert(this, kFinishTitle, kFinishMessage, QStringLiteral("Finish"),
                                     [this](QMessageBox *box, bool confirmed) {
                                         if (m_finishAlert == box)
                                             m_finishAlert = nullptr;
                                         if (!confirmed)
                                             return;
                                         // Posted: leaving may delete this view, and with it the
                                         // alert that is still returning from its own signal.
                                         QMetaObject::invokeMethod(
                                             this, [this] { emit exitRequested(); }, Qt::QueuedConnection);
                                     });
}

void StudyTestView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintPanel(p, rect(), 14);
}

} // namespace qv::study
