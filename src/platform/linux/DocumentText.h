#pragma once

#include "platform/Element.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

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

// What an application's event does to a document kept from an earlier read.
enum class DocumentEvent {
    Unchanged,  // the caret moved or the focus did: the text is as it was
    PartText,   // the text of the object that sent it changed
    Reassemble, // objects came or went, or the event is not known
};
DocumentEvent documentEventOf(QByteArrayView type);

// What events said of a document kept from an earlier read: whether it has
// to be put together again, or which of its parts to read again.
class DocumentChanges {
public:
    // An event of the document's application; `wholePart` is the part that
    // is all of the sending object's text (none: the sender is no such part).
    void note(QByteArrayView type, std::optional<int> wholePart);
    // A document is being put together: any event until finished() may
    // concern a part already read.
    void startAssembly();
    void finishAssembly()
    {
        m_assembling = false;
        m_assembledThisTurn = true;
    }
    // Whether a document was put together in this turn of the event loop:
    // then it is not put together again before the next turn, whatever
    // events said meanwhile (they are kept for then). Each assembly of a
    // large document keeps the loop waiting on the application.
    bool assembledThisTurn() const { return m_assembledThisTurn; }
    void nextTurn() { m_assembledThisTurn = false; }
    bool assembling() const { return m_assembling; }
    // Whether the kept document has to be put together again.
    bool outdated() const { return m_outdated; }
    // The parts to read again, each once; forgotten here.
    QList<int> takeChangedParts() { return std::exchange(m_changed, {}); }

private:
    bool m_assembling = false;
    bool m_assembledThisTurn = false;
    bool m_outdated = true; // nothing kept yet
    QList<int> m_changed;
};

} // namespace qv::linuxdesktop
