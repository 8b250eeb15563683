#pragma once

#include "engine/KeyOutput.h"
#include "platform/Accessibility.h"
#include "platform/Element.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace qv {
class Scheduler;
namespace platform {
class Workspace;
}
} // namespace qv

namespace qv::engine {

class FocusMonitor;

// The engine's whole accessibility vocabulary: whether an element takes
// typed text, finding one near the focus or the pointer, waiting for one to
// have focus, and reading and writing the text, selection and caret of the
// target. A null Element means "absent". Where an operation takes a
// `target`, a null one stands for focusedElement(). Failed reads answer
// nullopt, failed writes false; nothing throws and nothing is logged here.
// Positions and lengths are UTF-16 units.
class ElementAccess {
public:
    using Element = platform::Element;
    using Attribute = platform::Attribute;
    using TextRange = platform::TextRange;

    ElementAccess(platform::Accessibility &accessibility, platform::Workspace &workspace, Scheduler &scheduler,
                  KeyOutput &keys);
    ~ElementAccess();

    // The focus cache, created on the first focus lookup.
    FocusMonitor &focusMonitor();

    // Whether the element accepts typed text: refused when disabled or a
    // secure field; text roles unless marked non-editable; then the editable
    // flag, the role description ("text", "edit", "field", "editor"), the web
    // role ("textbox", "searchbox", "combobox", "textarea"), settable
    // selection or value, and finally a readable selection or value.
    bool isTextInputElementRelaxed(const Element &element);
    // Whether keys that select all and copy are unsafe for the element.
    bool isTerminal(const Element &element);

    // true/false from a Boolean or a number value; absent otherwise.
    std::optional<bool> readBoolAttribute(const Element &element, Attribute attribute);
    // A string value; absent for anything else.
    std::optional<QString> readStringAttribute(const Element &element, Attribute attribute);
    // A number value, or a string holding an integer; absent otherwise.
    std::optional<qint64> readIntAttribute(const Element &element, Attribute attribute);

    // The element itself or its nearest ancestor that takes text; at most
    // the element and 7 ancestors are tested.
    Element editableAncestor(const Element &element);
    // Breadth-first search of the subtree (depths 0 to 5, at most 360
    // entries taken from the queue), the element itself first.
    Element editableDescendant(const Element &element);
    // The element under the pointer (one global top-left location).
    Element elementAtMouseLocation();
    // The focus cache's element while it is fresh (2 s) for the frontmost
    // application, else the desktop's focused element.
    Element focusedElement();

    // Polls every 180 ms (every 120 ms while paused) until the focused
    // element, the fresh cached focus or the element under the pointer
    // resolves to a text input; focuses it and answers true. False when
    // stopped or when `timeoutMs` has passed; without a time-out only a stop
    // ends the wait.
    QCoro::Task<bool> waitForTextInputFocus(StopFlag stopFlag, StopFlag pauseFlag, std::optional<double> timeoutMs);

    // Whether the element's value is all of the editable text it belongs
    // to. A field that is part of a larger document the desktop could not
    // put together is never claimed, wiped or called exact from its value.
    bool isTextWhole(const Element &element);
    // Reads the value and selection until they stop changing, so that keys
    // still on their way to the target land before the next step (bounded
    // by kSettleLimitMs); true when they settled or cannot be read.
    QCoro::Task<bool> waitForKeysTaken(Element element);
    // Before a run's end check reads the field: until the keys the run sent
    // have landed and the field holds still. A field that reads as the run
    // meant (`asMeant`) must hold still kEndQuietMs, one that does not
    // kEndQuietLongMs, as keys still on their way may yet make it so. A
    // field that answers nothing now while it could be read before
    // (`readableBefore`) is an application busy with those keys, and is
    // waited for; all of it is bounded by kEndSettleLimitMs, and a stop ends
    // it. True when the field was seen still.
    QCoro::Task<bool> waitForFieldQuiet(Element element, std::function<bool(const QString &)> asMeant,
                                        bool readableBefore, StopFlag stopFlag);

    std::optional<TextRange> selectedTextRange(const Element &target = {});
    std::optional<qint64> caretPosition(const Element &target = {});
    // The larger of the value's UTF-16 length and the reported number of
    // characters; a null element gives absent (no focus fall-back).
    std::optional<qint64> textLengthEstimate(const Element &element);
    std::optional<QString> readFocusedText(const Element &target = {});
    std::optional<QString> readSelectedText(const Element &target = {});
    // Up to `attempts` value reads 250 ms apart; a given element is focused
    // again after each failed read.
    QCoro::Task<std::optional<QString>> readFocusedTextWithRetry(Element element, int attempts);

    // Caret at max(position, 0); false when the selection is not settable or
    // the write fails.
    bool setCaretPosition(qint64 position, const Element &target = {});
    // The range as given, unclamped.
    bool setSelectionRange(TextRange range, const Element &target = {});
    // Asks the element to take keyboard focus.
    bool focus(const Element &element);

    // The one confirmed caret or selection write: writes the range, then
    // reads the selection back every kConfirmPollMs until it shows the range
    // (cut to the text), for at most kConfirmWaitMs, since some applications
    // apply such writes late. Every write whose effect the next step depends
    // on, or that ends a run, goes through here. True when it holds or the
    // selection cannot be read (no evidence against it); false when the
    // write is refused or never shows.
    QCoro::Task<bool> writeSelectionConfirmed(TextRange range, Element element);
    QCoro::Task<bool> placeCaretConfirmed(qint64 position, Element element);
    // Some applications lose a Backspace together with the key that follows
    // it when that key comes before the Backspace has been handled: once
    // that is seen, the key after a deleting Backspace waits until the
    // deletion reads back.
    void deletionsLandFirst() { m_deletionsLandFirst = true; }
    bool waitsForDeletions() const { return m_deletionsLandFirst; }
    // That wait, where it has been seen necessary (nothing otherwise): until
    // the text reads `expected` with the caret at `caret`, at most
    // kCaretWaitMs; true when it did (or cannot be read).
    QCoro::Task<bool> waitForDeletion(QString expected, Element element, qint64 caret);

    // Moves the caret to `wanted` (clamped to `text`, the element's current
    // text). Where the element takes caret writes it is placed there through
    // accessibility and confirmed; otherwise Left or Right is pressed in
    // chunks of at most kArrowChunk, starting from the read caret (the end
    // of `text` when unreadable), each chunk read back before the next with
    // a wait that grows with its presses, so the application never faces a
    // flood. A chunk that lands elsewhere is planned again from where the
    // caret stands (bounded); one that moved the caret not at all ends the
    // move. Presses follow the graphemes crossed. The stop flag is asked
    // before every chunk. True when the caret reads the goal or cannot be
    // read; false after a stop or when it never got there.
    QCoro::Task<bool> moveCursor(qint64 wanted, QString text, Element element, StopFlag stopFlag);
    // Presses `key` `presses` times in chunks of at most kArrowChunk with a
    // wait after each that grows with its presses, without reading back
    // (for a caret whose position is not known yet).
    QCoro::Task<> pressArrows(SpecialKey key, int presses);
    // Polls the caret until it reads `goal` for at most `waitMs`; true at
    // once when unreadable.
    QCoro::Task<bool> waitForCaret(qint64 goal, Element element, double waitMs = kCaretWaitMs);
    // Polls the value until it reads `expected` (and, given `caretAfter`, a
    // collapsed caret there, where the edit's last key leaves it), so that a
    // caret write after typed keys does not overtake them; true at once when
    // unreadable. The caret tells an edit that changes nothing (a retype of
    // the same text) apart from one whose keys have not landed yet.
    QCoro::Task<bool> waitForText(QString expected, Element element, std::optional<qint64> caretAfter = {});

    static constexpr double kFreshFocusSeconds = 2.0;
    static constexpr int kAncestorLimit = 8;
    static constexpr int kDescendantDepthLimit = 6;
    static constexpr int kDescendantEntryLimit = 360;
    static constexpr int kCaretPollMs = 20;
    static constexpr int kCaretWaitMs = 500;
    static constexpr int kSettlePollMs = 60;
    static constexpr int kSettleQuietPolls = 8;
    static constexpr int kSettleLimitMs = 10000;
    static constexpr int kEndPollMs = 100;
    static constexpr int kEndQuietMs = 300;
    static constexpr int kEndQuietLongMs = 1200;
    // Longer than an application that let a call time out is left alone.
    static constexpr int kEndSettleLimitMs = 15000;
    static constexpr int kConfirmPollMs = 25;
    static constexpr int kConfirmWaitMs = 600;
    static constexpr int kArrowChunk = 40;
    static constexpr double kChunkWaitMs = 200;
    static constexpr double kChunkWaitPerPressMs = 8;
    // Chunks beyond the plan, for a caret that landed elsewhere.
    static constexpr int kExtraChunks = 4;

private:
    // Arrow presses in read-back chunks (see moveCursor).
    QCoro::Task<bool> arrowsTo(qint64 goal, QString text, Element element, StopFlag stopFlag);
    Element targetOr(const Element &target);
    Element resolveTextInput(const Element &candidate);
    Element freshCachedFocus();
    std::optional<qint64> frontmostPid();

    platform::Accessibility &m_accessibility;
    platform::Workspace &m_workspace;
    Scheduler &m_scheduler;
    KeyOutput &m_keys;
    std::unique_ptr<FocusMonitor> m_focusMonitor;
    bool m_deletionsLandFirst = false;
};

} // namespace qv::engine
