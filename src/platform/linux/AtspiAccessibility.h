#pragma once

#include "platform/Accessibility.h"
#include "platform/linux/DocumentText.h"
#include "platform/linux/GlibOwners.h"
#include "platform/linux/OffsetUnits.h"
#include "platform/linux/Toolkit.h"
#include "platform/linux/UnresponsiveApps.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>
#include <source_location>
#include <vector>

typedef struct _AtspiAccessible AtspiAccessible;
typedef struct _AtspiEvent AtspiEvent;
typedef struct _AtspiText AtspiText;
typedef struct _AtspiEventListener AtspiEventListener;
typedef struct _GError GError;

namespace qv {
class Scheduler;
}

namespace qv::linuxdesktop {

class X11Workspace;

// Other applications' interfaces through AT-SPI 2. Every call is
// synchronous and bounded by a short bus time-out; an application that lets
// one time out counts as absent for the next ten seconds. Our own process is
// never called (a synchronous call into ourselves would block until the
// time-out). Text offsets are converted between the application's unit and
// UTF-16 on every call, from the element's current text.
//
// The class's sources follow its seams: calls, attributes and the
// interface (AtspiAccessibility.cpp), events and the focus cache
// (AtspiEvents.cpp), element look-ups (AtspiQueries.cpp), text and
// selection (AtspiText.cpp), documents made of parts (AtspiDocument.cpp).
class AtspiAccessibility final : public platform::Accessibility {
public:
    // The bus time-out of one call; the library waits up to twice that for
    // an application that does not answer.
    static constexpr int kBusTimeoutMs = 1000;
    static constexpr int kCallTimeoutMs = 2 * kBusTimeoutMs;
    // A browser applies caret and selection writes about 200 ms late, and a
    // crowded machine can take seconds more; the wait ends as soon as the
    // write shows.
    static constexpr double kConfirmWindowMs = 3000;
    static constexpr double kConfirmPollMs = 25;

    AtspiAccessibility(Scheduler &scheduler, X11Workspace &workspace);
    ~AtspiAccessibility() override;
    AtspiAccessibility(const AtspiAccessibility &) = delete;
    AtspiAccessibility &operator=(const AtspiAccessibility &) = delete;

    bool isAvailable() const { return m_ready; }

    platform::Element systemFocusedElement() override;
    platform::Element applicationElement(qint64 pid) override;
    platform::Element elementAtPoint(QPoint global) override;
    std::optional<QVariant> read(const platform::Element &element, platform::Attribute attribute) override;
    std::optional<bool> isSettable(const platform::Element &element, platform::Attribute attribute) override;
    bool write(const platform::Element &element, platform::Attribute attribute, const QVariant &value) override;
    QCoro::Task<bool> writeAndConfirm(const platform::Element &element, platform::Attribute attribute,
                                      const QVariant &value) override;
    bool isTerminal(const platform::Element &element) override;
    platform::SubscriptionPtr observeFocus(qint64 pid, std::function<void()> changed) override;

    // The toolkit of an application (Unknown when it cannot be asked).
    Toolkit toolkitOf(qint64 pid);
    // Whether calls to this application are suspended after a time-out.
    bool isBackedOff(qint64 pid) const;
    // How many times a document made of parts was put together (each a
    // whole read of the field), for diagnostics and tests.
    int documentAssemblies() const { return m_assemblies; }
    // A key went to the application: a document put together before it is
    // not taken as current for the rest of this turn.
    void noteKeySent()
    {
        m_documentChanges.nextTurn();
        m_notDocument.reset();
    }

private:
    class Call;
    class Observer;
    struct TextState {
        QString text;
        OffsetUnit unit = OffsetUnit::CodePoints;
    };
    struct PendingEvent {
        QByteArray type;
        std::shared_ptr<AtspiAccessible> source;
        int detail1 = 0;
    };

    static void onEvent(AtspiEvent *event, void *self);
    void handleEvent(const PendingEvent &event);
    void notifyObservers(qint64 pid);
    void setFocusCache(AtspiAccessible *accessible, qint64 pid);
    void registerListeners();
    void clearFocusCache();
    // Whether the cached focus is `pid`'s and still holds the focus; a stale
    // one is dropped.
    bool focusCacheHolds(qint64 pid);

    bool admits(qint64 pid) const;
    static bool processExists(qint64 pid);
    void finishCall(qint64 pid, qint64 elapsedNs, const GError *error, const std::source_location &where);
    qint64 pidOf(AtspiAccessible *accessible);
    platform::Element wrap(Owned<AtspiAccessible> accessible);
    static AtspiAccessible *unwrap(const platform::Element &element);
    template <typename T>
    Owned<T> iface(T *(*get)(AtspiAccessible *), AtspiAccessible *accessible, qint64 pid);

    Owned<AtspiAccessible> appForPid(qint64 pid);
    // An object's children, at most `limit`, in one call.
    std::vector<Owned<AtspiAccessible>> children(AtspiAccessible *accessible, qint64 pid, int limit);
    Owned<AtspiAccessible> findFocused(AtspiAccessible *app, qint64 pid);
    // The focused object of a window, by one query where the application
    // can search itself; `answered` says whether it could.
    Owned<AtspiAccessible> focusedByCollection(AtspiAccessible *window, qint64 pid, bool &answered);
    // The application's window that holds the point, the active one first.
    Owned<AtspiAccessible> windowAt(AtspiAccessible *app, qint64 pid, QPoint global);
    Owned<AtspiAccessible> deepestAt(AtspiAccessible *root, qint64 pid, QPoint global);
    std::optional<quint64> states(AtspiAccessible *accessible, qint64 pid);
    bool hasState(AtspiAccessible *accessible, qint64 pid, int state);
    std::optional<int> role(AtspiAccessible *accessible, qint64 pid);
    // Whether the object (of role `atspiRole`) has several lines, one, or
    // does not tell (roles::lineKind).
    std::optional<bool> lineKind(AtspiAccessible *accessible, qint64 pid, int atspiRole);
    std::optional<TextState> textState(AtspiAccessible *accessible, qint64 pid);
    std::optional<platform::TextRange> selectedRange(AtspiAccessible *accessible, qint64 pid, const TextState &text);
    // One text object's own selection, in UTF-16 units of its text; nullopt
    // when it has none or none can be read.
    std::optional<platform::TextRange> ownSelection(AtspiText *text, AtspiAccessible *accessible, qint64 pid,
                                                    const TextState &state, Call &call);
    bool writeRange(AtspiAccessible *accessible, qint64 pid, const platform::TextRange &range);
    bool grabFocus(AtspiAccessible *accessible, qint64 pid);
    std::optional<QVariant> readAttribute(AtspiAccessible *accessible, qint64 pid, platform::Attribute attribute);

    // ---- Documents made of parts and editors inside containers (AtspiDocument.cpp).
    // One text object of a document: its own text, and where the part
    // starts in it (UTF-16; a run between embedded objects starts inside).
    struct DocumentPart {
        std::shared_ptr<AtspiAccessible> accessible;
        TextState state;
        qint64 base = 0;
        qint64 length = 0;
    };
    struct Document {
        QList<DocumentPart> parts;
        QList<DocumentText::Part> pieces; // what the layout is made of
        DocumentText layout{{}};
        bool whole = true;
        bool dropsLastLine = false; // the root reads its drawn last line as a break
        int caretPart = -1;         // where the caret was found last
        bool flows = false;         // a word processor's paragraphs
    };
    // The document an element's text belongs to: a word processor's
    // paragraphs in their flow order, or a rich-text field's embedded
    // objects spelled out; null for a plain text element. Assembling one
    // takes a few calls per part, so the last one is kept while no event
    // says it changed and the part that holds the caret (which is read
    // again each time) says the same; valid until the next call. A kept
    // one gives the part the caret was found in, to be asked first.
    Document *documentOf(AtspiAccessible *accessible, qint64 pid, std::optional<int> *caretAt = nullptr);
    std::optional<Document> assembleDocument(AtspiAccessible *accessible, qint64 pid);
    // Brings the kept document up to date from the part with the caret and
    // the parts events said changed; false when it has to be assembled
    // again. `caretAt` is where the caret was found.
    bool stillCurrent(Document &document, qint64 pid, int &caretAt);
    // Reads one part again; false when the document's make-up changed.
    bool refreshPart(Document &document, int part, qint64 pid);
    // The part whose caret offset falls inside it (not on an embedded
    // object): the one found last asked first.
    std::optional<int> caretPart(Document &document, qint64 pid);
    // Notes an event that may change the kept document.
    void noteChange(AtspiAccessible *source, const QByteArray &type);
    // The kept document's part that is all of `source`'s text, if any.
    std::optional<int> wholePartOf(AtspiAccessible *source) const;
    bool flowDocument(AtspiAccessible *root, qint64 pid, Document &document);
    void spellOut(AtspiAccessible *accessible, qint64 pid, const TextState &state, int depth,
                  QList<DocumentPart> &parts, QList<DocumentText::Part> &layout, DocumentText::Break &pending,
                  bool &whole);
    std::optional<QVariant> readDocument(Document &document, qint64 pid, platform::Attribute attribute,
                                         std::optional<int> caretAt);
    // The selection; `caretAt` is the part the caret was just found in.
    std::optional<platform::TextRange> documentSelection(Document &document, qint64 pid, std::optional<int> caretAt);
    // One part's share of the selection: `inside` when it holds all of it.
    std::optional<platform::TextRange> partSelection(const Document &document, int part, qint64 pid, bool &inside,
                                                     std::optional<qint64> &caret, bool &onObject);
    bool writeDocumentRange(Document &document, qint64 pid, const platform::TextRange &range);
    // True when a part has the focus; otherwise asks the first part for it.
    bool focusDocument(const Document &document, qint64 pid);
    // Whether the element is a browser's rich-text field, which reads the
    // empty line drawn after its last line break as one more break.
    bool drawsLastLine(AtspiAccessible *accessible, qint64 pid);
    // Whether a plain text element's Value is all of its editable text.
    std::optional<bool> textIsWhole(AtspiAccessible *accessible, qint64 pid);
    // The element the user types into, from the focused or hit one: the
    // document a paragraph belongs to, the outermost editable text of a
    // rich-text field, or the editor inside a focused container.
    Owned<AtspiAccessible> promote(Owned<AtspiAccessible> accessible, qint64 pid);
    // The editor around a focused container, or the focused one anywhere
    // in its window; null when there is none.
    Owned<AtspiAccessible> editorAround(AtspiAccessible *container, qint64 pid);
    // The focused editable text inside `container`, else (unless
    // `focusedOnly`) the only one showing; null when there is none.
    Owned<AtspiAccessible> editorInside(AtspiAccessible *container, qint64 pid, bool focusedOnly = false,
                                        int maxNodes = 160);
    Owned<AtspiAccessible> parentOf(AtspiAccessible *accessible, qint64 pid);
    bool hasText(AtspiAccessible *accessible, qint64 pid);

    Scheduler &m_scheduler;
    X11Workspace &m_workspace;
    qint64 m_ownPid = 0;
    bool m_ready = false;
    UnresponsiveApps m_unresponsive;
    QHash<QByteArray, qint64> m_pidByBus;
    QHash<qint64, Toolkit> m_toolkits;
    QHash<qint64, QString> m_toolkitNames;
    std::vector<Owned<AtspiEventListener>> m_listeners;
    // The last selection written to a Chromium element, and its text then.
    struct WrittenRange {
        std::shared_ptr<AtspiAccessible> accessible;
        QString text;
        platform::TextRange range;
    };
    std::optional<WrittenRange> m_written;
    // The document read last, and what events said of it since.
    struct KeptDocument {
        std::shared_ptr<AtspiAccessible> root;
        qint64 pid = 0;
        Document document;
    };
    std::optional<KeptDocument> m_document;
    DocumentChanges m_documentChanges;
    bool m_turnTimer = false; // the end of this turn is waited for
    // An element whose assembly this turn found no document of parts.
    struct NotDocument {
        std::shared_ptr<AtspiAccessible> root;
        qint64 pid = 0;
    };
    std::optional<NotDocument> m_notDocument;
    int m_assemblies = 0;
    Owned<AtspiAccessible> m_focused;
    Owned<AtspiAccessible> m_promoted; // what m_focused promotes to
    qint64 m_focusedPid = 0;
    struct ObserverEntry {
        quint64 id;
        qint64 pid;
        std::function<void()> changed;
    };
    QList<ObserverEntry> m_observers;
    quint64 m_nextObserverId = 1;
    QObject m_context; // receiver for the workspace's signals
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace qv::linuxdesktop
