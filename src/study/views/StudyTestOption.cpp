#include "study/views/StudyTestOption.h"

#include "study/views/StudyFrame.h"
#include "study/views/StudyText.h"
#include "theme/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace qv::study {

namespace {
constexpr int kPadding = 10;

QColor tintColor(QuizTest::Tint tint)
{
    switch (tint) {
    case QuizTest::Tint::accent:
        return Theme::withOpacity(Theme::accent(), 0.18);
    case QuizTest::Tint::danger:
        return Theme::withOpacity(Theme::danger(), 0.18);
    case QuizTest::Tint::surface:
        return Theme::surface();
    case QuizTest::Tint::surfaceAlt:
        break;
    }
    return Theme::surfaceAlt();
}
} // namespace

StudyTestOption::StudyTestOption(const QString &option, QWidget *parent) : QAbstractButton(parent), m_option(option)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus); // a click leaves the keyboard focus where it was
    // The button's own text stays empty: QAbstractButton would read "&" as a
    // mnemonic, and the label shows the option verbatim.
    setAccessibleName(option);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    row->setSpacing(8);
    m_text = styledLabel(option, TextStyle::Body, std::nullopt, Theme::text());
    m_text->setWordWrap(true);
    m_markLabel = styledLabel(QString(), TextStyle::Body, QFont::Bold, Theme::success());
    m_markLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel *l : {m_text, m_markLabel}) {
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        // Inside a button a label would take the button's text role and
        // draw greyed out once the judged options are disabled.
        l->setForegroundRole(QPalette::WindowText);
    }
    row->addWidget(m_text, 1);
    row->addWidget(m_markLabel, 0);
}

QColor StudyTestOption::fillColor() const { return tintColor(m_tint); }

void StudyTestOption::setLook(QuizTest::Tint tint, QuizTest::Mark mark)
{
    if (tint == m_tint && mark == m_mark)
        return;
    m_tint = tint;
    m_mark = mark;
    QPalette pal = m_markLabel->palette();
    switch (mark) {
    case QuizTest::Mark::check:
        m_markLabel->setText(QStringLiteral("\u2713"));
        pal.setColor(QPalette::WindowText, Theme::success());
        break;
    case QuizTest::Mark::cross:
        m_markLabel->setText(QStringLiteral("\u2715"));
        pal.setColor(QPalette::WindowText, Theme::danger());
        break;
    case QuizTest::Mark::none:
        m_markLabel->clear();
        break;
    }
    m_markLabel->setPalette(pal);
    update();
}

// The child layout decides; QAbstractButton's own hints know nothing of it.
QSize StudyTestOption::sizeHint() const { return layout()->sizeHint(); }
QSize StudyTestOption::minimumSizeHint() const { return layout()->minimumSize(); }

void StudyTestOption::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintFramedRect(p, rect(), kRadius, fillColor(), hasFocus() ? Theme::accent() : Theme::border());
}

} // namespace qv::study
