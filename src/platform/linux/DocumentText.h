#pragma once

#include "platform/Element.h"

#include <QList>
#include <QString>

#include <optional>

namespace qv::linuxdesktop {

// One editable document assembled from the text objects it is made of (the
// paragraphs of a word processor, the lines of a browser's rich-text field):
// the whole text as the document's own copy gives it, and offsets mapped
// between the whole text and each part. All offsets are UTF-16 units.
class DocumentText {
public:
    // How a part joins the text before it.
    enum class Break {
        None,     // runs on (an inline object, or the first part)
        Always,   // a line break, always (a paragraph after a paragraph)
        IfNeeded, // a line break unless the text so far is empty or ends with one (a block)
    };
    struct Part {
        QString text;
        Break breakBefore = Break::None;
    };
    // A position inside one part.
    struct PartOffset {
        int part = -1;
        qint64 offset = 0;
    };

    explicit DocumentText(const QList<Part> &parts);

    const QString &text() const { return m_text; }
    int partCount() const { return int(m_starts.size()); }
    qint64 partStart(int part) const { return m_starts.at(part); }
    qint64 partLength(int part) const { return m_lengths.at(part); }

    // A part's offset in the whole text (clamped to the part).
    qint64 toWhole(int part, qint64 offset) const;
    // The part holding a whole-text position: a position between two parts
    // belongs to the later one, a line break the layout added to neither
    // (nullopt), the end of the text to the last part.
    std::optional<PartOffset> toPart(qint64 offset) const;
    // The part holding the whole range; nullopt when the range spans parts
    // or touches a line break the layout added.
    std::optional<std::pair<int, platform::TextRange>> rangeInOnePart(platform::TextRange range) const;

private:
    QString m_text;
    QList<qint64> m_starts;
    QList<qint64> m_lengths;
};

} // namespace qv::linuxdesktop
