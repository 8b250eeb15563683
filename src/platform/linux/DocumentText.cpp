#include "platform/linux/DocumentText.h"

#include <algorithm>

namespace qv::linuxdesktop {

DocumentText::DocumentText(const QList<Part> &parts)
{
    for (const Part &part : parts) {
        const bool lineBreak = part.breakBefore == Break::Always
                               || (part.breakBefore == Break::IfNeeded && !m_text.isEmpty()
                                   && !m_text.endsWith(QLatin1Char('\n')));
        if (lineBreak && !m_starts.isEmpty())
            m_text += QLatin1Char('\n');
        m_starts.append(m_text.size());
        m_lengths.append(part.text.size());
        m_text += part.text;
    }
}

qint64 DocumentText::toWhole(int part, qint64 offset) const
{
    if (part < 0 || part >= partCount())
        return 0;
    return m_starts.at(part) + std::clamp<qint64>(offset, 0, m_lengths.at(part));
}

std::optional<DocumentText::PartOffset> DocumentText::toPart(qint64 offset) const
{
    if (m_starts.isEmpty() || offset < 0 || offset > m_text.size())
        return std::nullopt;
    // The last part that starts at or before the offset.
    for (int i = partCount() - 1; i >= 0; --i) {
        if (m_starts.at(i) > offset)
            continue;
        if (offset <= m_starts.at(i) + m_lengths.at(i))
            return PartOffset{i, offset - m_starts.at(i)};
        return std::nullopt; // inside a line break between parts
    }
    return std::nullopt;
}

std::optional<std::pair<int, platform::TextRange>> DocumentText::rangeInOnePart(platform::TextRange range) const
{
    if (range.location < 0 || range.length < 0)
        return std::nullopt;
    const std::optional<PartOffset> from = toPart(range.location);
    if (!from)
        return std::nullopt;
    // An empty range at a part's start may equally be the previous part's
    // end; the later part is the one the caret stands in.
    const qint64 end = m_starts.at(from->part) + m_lengths.at(from->part);
    if (range.end() > end)
        return std::nullopt;
    return std::pair{from->part, platform::TextRange{from->offset, range.length}};
}

DocumentEvent documentEventOf(QByteArrayView type)
{
    if (type.startsWith("object:text-changed"))
        return DocumentEvent::PartText;
    // A text changed where the caret was, before it moved on, was told of
    // by its own event. A caret move itself still outdates the document: a
    // word processor's review writes the caret from paragraph to paragraph,
    // and read from a kept document that write was not seen to take, so
    // every fix went on by arrow keys.
    if (type.startsWith("object:state-changed:focused") || type.startsWith("window:activate"))
        return DocumentEvent::Unchanged;
    return DocumentEvent::Reassemble;
}

void DocumentChanges::note(QByteArrayView type, std::optional<int> wholePart)
{
    switch (documentEventOf(type)) {
    case DocumentEvent::Unchanged:
        return;
    case DocumentEvent::PartText:
        // While it is put together, the part may have been read already.
        if (!m_assembling && wholePart) {
            if (!m_changed.contains(*wholePart))
                m_changed.append(*wholePart);
            return;
        }
        break;
    case DocumentEvent::Reassemble:
        break;
    }
    m_outdated = true;
}

void DocumentChanges::startAssembly()
{
    m_assembling = true;
    m_outdated = false;
    m_changed.clear();
}

} // namespace qv::linuxdesktop
