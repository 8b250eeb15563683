#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

namespace qv::e2e {

// Looks at another program's windows through the accessibility bus, as a
// person looks at the screen: finds a control by its name (and role, when
// given) among the parts that are showing, with its place on the screen.
// Every look asks the program afresh (nothing is cached between looks).
class UiProbe {
public:
    explicit UiProbe(qint64 pid);

    struct Found {
        QRect extents; // screen coordinates
        QString role;
        bool checked = false;
        bool enabled = true;
    };

    // The first showing element named `name` (and of role `role`, when not
    // empty; roles as the bus names them: "push button", "label", …).
    // `within` narrows the search to the subtree of a showing element of
    // that name (a dialog, a window).
    std::optional<Found> find(const QString &name, const QString &role = {}, const QString &within = {}) const;
    // Every showing element of the program's windows, depth first, with
    // how many children each has (0 for a leaf control).
    struct Element {
        QString name;
        QString role;
        QRect extents; // screen coordinates
        int children = 0;
        bool checked = false;
        int window = 0;        // which of the program's windows holds it
        bool topLevel = false; // the window itself
        int parent = -1;       // index of the parent in the list (-1 for a window)
    };
    QList<Element> all() const;
    // Replaces the whole text of an editable element, as an input method
    // would (for characters synthetic keys cannot send reliably).
    bool setText(const QString &name, const QString &text, const QString &role = {}) const;
    // The whole text of a text element (a field's contents), as a screen
    // reader reads it; nothing when there is no such element.
    std::optional<QString> text(const QString &name, const QString &role = {}) const;

private:
    qint64 m_pid;
};

} // namespace qv::e2e
