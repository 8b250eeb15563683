#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

#include <functional>
#include <string>

namespace qv::test {

// The user-visible controls of `root` (buttons, labels with text, text
// fields, sliders) and where each can be seen, in `root`'s coordinates:
// clipped by every ancestor, so a control scrolled out of a list's view
// counts only for the part that shows.
struct ShownControl {
    QWidget *widget;
    QRect visible;
};

inline bool isControl(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return !label->text().isEmpty() || !label->pixmap().isNull();
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w)
           || qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTextEdit *>(w)
           || qobject_cast<const QAbstractSlider *>(w);
}

inline QList<ShownControl> shownControls(QWidget *root, const std::function<bool(const QWidget *)> &skip = {})
{
    QList<ShownControl> out;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(root) || w->isWindow() || (skip && skip(w)) || !isControl(w))
            continue;
        // A control inside another (a scroll bar's buttons, a text box's own
        // parts) belongs to that one.
        bool nested = false;
        for (QWidget *a = w->parentWidget(); a && a != root; a = a->parentWidget())
            nested = nested || (isControl(a) && !qobject_cast<const QLabel *>(a));
        if (nested)
            continue;
        QRect visible(w->mapTo(root, QPoint(0, 0)), w->size());
        for (QWidget *a = w->parentWidget(); a; a = a->parentWidget()) {
            visible &= QRect(a->mapTo(root, QPoint(0, 0)), a->size());
            if (a == root)
                break;
        }
        if (!visible.isEmpty())
            out.append({w, visible});
    }
    return out;
}

inline QString describe(const QWidget *w)
{
    QString text;
    if (const auto *b = qobject_cast<const QAbstractButton *>(w))
        text = b->text();
    else if (const auto *l = qobject_cast<const QLabel *>(w))
        text = l->text();
    else
        text = w->accessibleName();
    return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()), text.left(40));
}

// Every pair of visible controls whose visible parts overlap.
inline QStringList overlaps(QWidget *root, const std::function<bool(const QWidget *)> &skip = {})
{
    const QList<ShownControl> shown = shownControls(root, skip);
    QStringList out;
    for (qsizetype i = 0; i < shown.size(); ++i)
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            if (shown[i].visible.intersects(shown[j].visible))
                out << describe(shown[i].widget) + " / " + describe(shown[j].widget);
    return out;
}

// Controls drawn smaller than they need: a button narrower or lower than
// its own size hint or its text, a one-line label shorter than its text, a
// wrapped label lower than its lines. A control cut at the edge of a window
// or of anything but a scrolled list counts as well.
inline QStringList cutControls(QWidget *root, const std::function<bool(const QWidget *)> &skip = {})
{
    QStringList out;
    for (const ShownControl &c : shownControls(root, skip)) {
        QWidget *w = c.widget;
        const QSize size = w->size();
        const QFontMetrics fm(w->font());
        bool cut = false;
        if (const auto *b = qobject_cast<const QAbstractButton *>(w)) {
            const QSize hint = b->sizeHint();
            cut = size.width() < hint.width() || size.height() < hint.height()
                  || size.width() < fm.horizontalAdvance(b->text()) || size.height() < fm.height();
        } else if (const auto *l = qobject_cast<const QLabel *>(w)) {
            if (l->wordWrap())
                cut = size.height() < l->heightForWidth(size.width());
            else
                cut = size.height() < fm.height()
                      || (l->textFormat() != Qt::RichText && size.width() < fm.horizontalAdvance(l->text())
                          && !l->text().contains(u'\n'));
        } else if (qobject_cast<const QAbstractScrollArea *>(w)) {
            // A text box scrolls its own text: it needs room for a line.
            cut = size.height() < fm.height() || size.width() < fm.averageCharWidth() * 4;
        } else {
            const QSize min = w->minimumSizeHint();
            cut = (min.isValid() && (size.width() < min.width() || size.height() < min.height()));
        }
        // Cut by an ancestor that does not scroll.
        QRect mine(w->mapTo(root, QPoint(0, 0)), size);
        bool scrolled = false;
        for (QWidget *a = w->parentWidget(); a && !scrolled; a = a->parentWidget()) {
            if (qobject_cast<QAbstractScrollArea *>(a->parentWidget()))
                scrolled = true; // a viewport: rows may scroll out of view
            if (a == root)
                break;
        }
        if (!scrolled && c.visible != mine)
            cut = true;
        if (cut)
            out << describe(w) + QStringLiteral(" %1x%2").arg(size.width()).arg(size.height());
    }
    return out;
}

// One finding a line, for a test's failure message.
inline std::string lines(const QStringList &findings) { return findings.join(u'\n').toStdString(); }

} // namespace qv::test
