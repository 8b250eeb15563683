#include "study/StudyImportDraft.h"

#include "core/Text.h"
#include "study/BulkText.h"

namespace qv::study {

const QList<ImportMode> &allImportModes()
{
    static const QList<ImportMode> all{ImportMode::manual, ImportMode::paste, ImportMode::pdf};
    return all;
}

QString rawValue(ImportMode mode)
{
    switch (mode) {
    case ImportMode::manual:
        return QStringLiteral("Manual");
    case ImportMode::paste:
        return QStringLiteral("Paste");
    case ImportMode::pdf:
        return QStringLiteral("PDF");
    }
    return {};
}

QString savedTitle(const QString &typed)
{
    const QString title = text::trimmed(typed);
    return title.isEmpty() ? StudyImportDraft::kUntitled : title;
}

void StudyImportDraft::load(const StudyProject &project)
{
    m_cards.clear();
    for (const StudyItem &item : project.items)
        m_cards.append({item.id, item.term, item.definition});
}

bool StudyImportDraft::addManualCard(const QString &term, const QString &definition)
{
    const QString t = text::trimmed(term);
    const QString d = text::trimmed(definition);
    if (t.isEmpty() || d.isEmpty())
        return false;
    if (m_editingId) {
        for (ManualCardDraft &card : m_cards) {
            if (card.id == *m_editingId) {
                card.term = t;
                card.definition = d;
                m_editingId.reset();
                return true;
            }
        }
    }
    m_cards.append({QUuid::createUuid(), t, d});
    return true;
}

void StudyImportDraft::deleteCard(const ManualCardDraft &card)
{
    m_cards.removeIf([&](const ManualCardDraft &c) { return c.id == card.id; });
}

std::variant<StudyProject, QString> StudyImportDraft::prepareSave(const ImportForm &form,
                                                                  const std::optional<StudyProject> &existing,
                                                                  const QDateTime &now) const
{
    QList<StudyItem> items;
    for (const ManualCardDraft &card : m_cards) {
        StudyItem item;
        item.id = card.id;
        item.term = card.term;
        item.definition = card.definition;
        items.append(item);
    }
    if (form.mode == ImportMode::paste)
        items.append(parseBulkText(form.rawText, form.delimiter));
    if (items.isEmpty())
        return kNoCards;

    StudyProject project;
    project.id = existing ? existing->id : QUuid::createUuid();
    project.title = savedTitle(form.title);
    project.grade = form.grade;
    project.items = items;
    project.options = StudyOptions{};
    project.updatedAt = now;
    return project;
}

} // namespace qv::study
