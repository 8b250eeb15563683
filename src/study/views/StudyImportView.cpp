#include "study/views/StudyImportView.h"

#include "core/WallClock.h"
#include "state/AppState.h"
#include "study/StudyLibraryText.h"
#include "study/StudySetMerge.h"
#include "study/views/StudyDraftRow.h"
#include "study/views/StudyText.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVPillPicker.h"
#include "theme/QVTextEditor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTextDocument>
#include <QVBoxLayout>

namespace qv::study {

namespace {
QLabel *caption(const QString &text) { return styledLabel(text, TextStyle::Caption, QFont::Bold, Theme::subtext()); }

// A tab's page: its parts stacked with the tabs' common spacing.
QVBoxLayout *tabStack(QWidget *page)
{
    auto *stack = new QVBoxLayout(page);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);
    return stack;
}

// A line of help or state in the secondary colour.
QLabel *note(const QString &text, TextStyle style) { return styledLabel(text, style, std::nullopt, Theme::subtext()); }

QString tabHeadingText(ImportMode mode)
{
    switch (mode) {
    case ImportMode::manual:
        return QStringLiteral("Add flashcards");
    case ImportMode::paste:
        return QStringLiteral("Paste flashcards");
    case ImportMode::pdf:
        return QStringLiteral("PDF import");
    }
    return {};
}
} // namespace

StudyImportView::StudyImportView(state::AppState &appState, const WallClock &clock,
                                 std::optional<StudyProject> existingProject, const QString &defaultGrade,
                                 SaveAction onSave, CloseAction onClose, QWidget *parent)
    : QWidget(parent), m_appState(&appState), m_clock(clock), m_existing(std::move(existingProject)),
      m_onSave(std::move(onSave)), m_onClose(std::move(onClose))
{
    // What the window shows when it appears: the library's grade, or the
    // edited set's title, grade and cards.
    m_grade = defaultGrade;
    if (m_existing) {
        m_grade = m_existing->grade;
        m_draft.load(*m_existing);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(16);

    // 1. Header.
    auto *header = new QHBoxLayout;
    m_close = new QVButton(QStringLiteral("Close"), QVButtonVariant::secondary, false);
    header->addWidget(m_close);
    header->addStretch(1);
    m_heading = styledLabel(m_existing ? QStringLiteral("Edit Study Set") : QStringLiteral("New Study Set"),
                            TextStyle::Headline, QFont::DemiBold, Theme::text());
    header->addWidget(m_heading);
    header->addStretch(1);
    // As wide as the Close button, so the heading stays centred.
    auto *balance = new QWidget;
    balance->setFixedSize(std::max(48, m_close->sizeHint().width()), 1);
    header->addWidget(balance);
    layout->addLayout(header);
    connect(m_close, &QAbstractButton::clicked, this, [this] {
        if (m_onClose)
            m_onClose();
    });

    // Between the header and the footer, the form scrolls when the window is
    // lower than the form, so nothing is squeezed over anything else.
    m_form = new QScrollArea;
    m_form->setWidgetResizable(true);
    m_form->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_form->setFocusPolicy(Qt::NoFocus);
    auto *formBody = new QWidget;
    auto *form = new QVBoxLayout(formBody);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(16);
    m_form->setWidget(formBody);
    styleScrollArea(m_form);
    layout->addWidget(m_form, 1);

    // 2. Title and grade.
    auto *titleGrade = new QVBoxLayout;
    titleGrade->setSpacing(8);
    m_title = new QVLineEdit(nullptr, 12);
    m_title->setPlaceholderText(QStringLiteral("Set title"));
    m_title->setAccessibleName(QStringLiteral("Set title"));
    if (m_existing)
        m_title->setText(m_existing->title);
    titleGrade->addWidget(m_title);
    auto *gradeRow = new QHBoxLayout;
    gradeRow->setSpacing(10);
    gradeRow->addWidget(caption(QStringLiteral("Grade")));
    m_gradePicker = new QVPillPicker;
    m_gradePicker->setOptions<QString>(library::gradeOptions(), [](const QString &g) { return g; });
    m_gradePicker->setSelection(m_grade);
    m_gradePicker->setFixedWidth(260);
    gradeRow->addWidget(m_gradePicker);
    gradeRow->addStretch(1);
    titleGrade->addLayout(gradeRow);
    form->addLayout(titleGrade);
    connect(m_gradePicker, &QVPillPicker::selectionChanged, this,
            [this](const QVariant &v) { m_grade = v.toString(); });

    // 3. Tabs.
    auto *tabRow = new QHBoxLayout;
    tabRow->setSpacing(10);
    tabRow->addWidget(caption(QStringLiteral("Import")));
    for (ImportMode mode : allImportModes()) {
        auto *tab = new QVButton(rawValue(mode), QVButtonVariant::secondary, false);
        connect(tab, &QAbstractButton::clicked, this, [this, mode] { setImportMode(mode); });
        tabRow->addWidget(tab);
        m_tabs.append(tab);
    }
    tabRow->addStretch(1);
    form->addLayout(tabRow);

    // 4. Tab content and the card list. The form's parts keep their own
    // height at the top; the card list is as tall as its cards, up to its
    // limit, and scrolls only when they need more. The room left stays below.
    auto *content = new QVBoxLayout;
    content->setSpacing(10);
    m_tabHeading = caption({});
    content->addWidget(m_tabHeading);
    m_tabPages = {buildManualTab(), buildPasteTab(), buildPdfTab()};
    for (QWidget *page : std::as_const(m_tabPages))
        content->addWidget(page);

    m_emptyCards = note(QStringLiteral("No cards yet. Add terms and definitions."), TextStyle::Caption2);
    content->addWidget(m_emptyCards);
    for (QWidget *part : {static_cast<QWidget *>(m_tabHeading), static_cast<QWidget *>(m_emptyCards)})
        part->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    for (QWidget *page : std::as_const(m_tabPages))
        page->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_cardList = new QScrollArea;
    m_cardList->setWidgetResizable(true);
    m_cardList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_cardList->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_cardHost = new QWidget;
    m_cardLayout = new QVBoxLayout(m_cardHost);
    m_cardLayout->setContentsMargins(0, 0, 0, 0);
    m_cardLayout->setSpacing(8);
    m_cardLayout->addStretch(1);
    m_cardList->setWidget(m_cardHost);
    styleScrollArea(m_cardList);
    content->addWidget(m_cardList, 1000);
    content->addStretch(1);
    form->addLayout(content, 1);

    // 5. The message line.
    m_statusLabel = note({}, TextStyle::Caption);
    m_statusLabel->setWordWrap(true);
    m_statusLabel->hide();
    form->addWidget(m_statusLabel);

    // 6. Footer.
    auto *footer = new QHBoxLayout;
    footer->setSpacing(12);
    footer->addStretch(1);
    m_save = new QVButton(m_existing ? QStringLiteral("Save Changes") : QStringLiteral("Create Set"),
                          QVButtonVariant::primary, false);
    footer->addWidget(m_save);
    layout->addLayout(footer);
    connect(m_save, &QAbstractButton::clicked, this, [this] { prepareSave(); });

    setImportMode(ImportMode::manual);
    rebuildCards();
}

QWidget *StudyImportView::buildManualTab()
{
    auto *page = new QWidget;
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    m_term = new QVLineEdit(nullptr, 12);
    m_term->setPlaceholderText(QStringLiteral("Term"));
    m_term->setAccessibleName(QStringLiteral("Term"));
    m_definition = new QVLineEdit(nullptr, 12);
    m_definition->setPlaceholderText(QStringLiteral("Definition"));
    m_definition->setAccessibleName(QStringLiteral("Definition"));
    m_add = new QVButton(QStringLiteral("Add"), QVButtonVariant::primary, false);
    row->addWidget(m_term, 1);
    row->addWidget(m_definition, 1);
    row->addWidget(m_add);
    connect(m_term, &QLineEdit::returnPressed, this, [this] { m_definition->setFocus(Qt::OtherFocusReason); });
    connect(m_definition, &QLineEdit::returnPressed, this, [this] {
        addManualCard();
        m_term->setFocus(Qt::OtherFocusReason);
    });
    connect(m_add, &QAbstractButton::clicked, this, [this] { addManualCard(); });
    // The button must not take the focus from the field the user typed in.
    m_add->setFocusPolicy(Qt::NoFocus);
    return page;
}

QWidget *StudyImportView::buildPasteTab()
{
    auto *page = new QWidget;
    auto *stack = tabStack(page);
    m_paste = new QVTextEditor(nullptr, 12);
    m_paste->setShowsFocus(false);
    m_paste->setFixedHeight(160);
    m_paste->editor()->setAccessibleName(QStringLiteral("Pasted cards"));
    m_paste->editor()->setFont(Typography::font(TextStyle::Callout));
    stack->addWidget(m_paste);

    auto *delimiterRow = new QHBoxLayout;
    delimiterRow->setSpacing(8);
    delimiterRow->addWidget(caption(QStringLiteral("Delimiter")));
    m_delimiterPicker = new QVPillPicker;
    m_delimiterPicker->setOptions<QString>(
        [] {
            QList<QString> labels;
            for (StudyDelimiter d : allDelimiters())
                labels.append(rawValue(d));
            return labels;
        }(),
        [](const QString &label) { return label; });
    m_delimiterPicker->setSelection(rawValue(m_delimiter));
    delimiterRow->addWidget(m_delimiterPicker);
    delimiterRow->addStretch(1);
    stack->addLayout(delimiterRow);
    connect(m_delimiterPicker, &QVPillPicker::selectionChanged, this, [this](const QVariant &v) {
        if (const auto d = delimiterFromRawValue(v.toString()))
            m_delimiter = *d;
    });
    stack->addWidget(note(QStringLiteral("Use one term + definition per line."), TextStyle::Caption2));
    return page;
}

QWidget *StudyImportView::buildPdfTab()
{
    auto *page = new QWidget;
    auto *stack = tabStack(page);
    stack->addWidget(note(QStringLiteral("PDF import with AI formatting is coming soon."), TextStyle::Callout));
    auto *row = new QHBoxLayout;
    m_selectPdf = new QVButton(QStringLiteral("Select PDF"), QVButtonVariant::secondary, false);
    m_selectPdf->setEnabled(false);
    row->addWidget(m_selectPdf);
    row->addStretch(1);
    stack->addLayout(row);
    return page;
}

void StudyImportView::setImportMode(ImportMode mode)
{
    m_mode = mode;
    const qsizetype index = allImportModes().indexOf(mode);
    for (qsizetype i = 0; i < m_tabs.size(); ++i)
        m_tabs[i]->setVariant(i == index ? QVButtonVariant::primary : QVButtonVariant::secondary);
    for (qsizetype i = 0; i < m_tabPages.size(); ++i)
        m_tabPages[i]->setVisible(i == index);
    m_tabHeading->setText(tabHeadingText(mode));
}

QVButton *StudyImportView::tabButton(ImportMode mode) const { return m_tabs.value(allImportModes().indexOf(mode)); }

QString StudyImportView::rawText() const
{
    // toPlainText() would turn non-breaking spaces into spaces and U+2028
    // into a line feed; the card format needs the text as typed.
    return m_paste->editor()->document()->toRawText();
}

void StudyImportView::addManualCard()
{
    if (!m_draft.addManualCard(m_term->text(), m_definition->text()))
        return;
    m_term->clear();
    m_definition->clear();
    rebuildCards();
}

void StudyImportView::editCard(const ManualCardDraft &card)
{
    m_term->setText(card.term);
    m_definition->setText(card.definition);
    m_draft.editCard(card);
    syncAddButton();
}

void StudyImportView::deleteCard(const ManualCardDraft &card)
{
    m_draft.deleteCard(card);
    rebuildCards();
}

void StudyImportView::prepareSave()
{
    ImportForm form;
    form.title = m_title->text();
    form.grade = m_grade;
    form.mode = m_mode;
    form.delimiter = m_delimiter;
    if (m_mode == ImportMode::paste)
        form.rawText = rawText();
    auto result = m_draft.prepareSave(form, m_existing, m_clock.nowUtc());
    if (auto *message = std::get_if<QString>(&result)) {
        m_status = *message;
        m_statusLabel->setText(m_status);
        m_statusLabel->show();
        return;
    }
    StudyProject saved = std::get<StudyProject>(std::move(result));
    if (m_existing) {
        // The window is not modal: the set may have been practised since it
        // opened. Keep the progress of every card that survives the edit,
        // and the set's options, from the newest stored copy.
        StudyProject previous = *m_existing;
        if (m_appState) {
            for (const StudyProject &p : m_appState->studyProjects()) {
                if (p.id == saved.id) {
                    previous = p;
                    break;
                }
            }
        }
        saved = keepProgressAcrossEdit(saved, previous);
    }
    if (m_onSave)
        m_onSave(saved);
}

void StudyImportView::rebuildCards()
{
    // Rows go later: this runs inside a row's own Delete.
    for (QWidget *row : std::as_const(m_cardRows)) {
        m_cardLayout->removeWidget(row);
        row->hide();
        row->deleteLater();
    }
    m_cardRows.clear();
    const QList<ManualCardDraft> &cards = m_draft.cards();
    for (qsizetype i = 0; i < cards.size(); ++i) {
        auto *row = new StudyDraftRow(cards[i], m_cardHost);
        connect(row, &StudyDraftRow::editRequested, this, &StudyImportView::editCard);
        connect(row, &StudyDraftRow::deleteRequested, this, &StudyImportView::deleteCard);
        m_cardLayout->insertWidget(int(i), row);
        m_cardRows.append(row);
    }
    m_emptyCards->setVisible(cards.isEmpty());
    m_cardList->setVisible(!cards.isEmpty());
    fitCardList();
    syncAddButton();
}

void StudyImportView::fitCardList()
{
    // As tall as its rows, up to the limit; given less room, it keeps a
    // couple of rows (or all of them, when fewer) and scrolls.
    const int width = std::max(1, m_cardList->viewport()->width());
    int height = 0;
    for (QWidget *row : std::as_const(m_cardRows)) {
        if (height > 0)
            height += m_cardLayout->spacing();
        height += row->hasHeightForWidth() ? row->heightForWidth(width) : row->sizeHint().height();
    }
    m_cardList->setMinimumHeight(std::min(kCardListMinHeight, height));
    m_cardList->setMaximumHeight(std::min(kCardListMaxHeight, height));
}

void StudyImportView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitCardList();
}

void StudyImportView::syncAddButton()
{
    m_add->setText(m_draft.editingCardId() ? QStringLiteral("Update") : QStringLiteral("Add"));
}

QVButton *StudyImportView::editButton(int index) const
{
    auto *row = qobject_cast<StudyDraftRow *>(m_cardRows.value(index));
    return row ? row->editButton() : nullptr;
}

QVButton *StudyImportView::deleteButton(int index) const
{
    auto *row = qobject_cast<StudyDraftRow *>(m_cardRows.value(index));
    return row ? row->deleteButton() : nullptr;
}

void StudyImportView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintPanel(p, rect(), 22);
}

} // namespace qv::study
