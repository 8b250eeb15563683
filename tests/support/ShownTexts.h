#pragma once

#include <QLineEdit>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <string>

namespace qv::test {

// Every text a user can read in `root` now: the text of each showing label,
// button, toggle and field, and the placeholder of each empty field.
inline QSet<QString> shownTexts(QWidget *root)
{
    QSet<QString> out;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(root))
            continue;
        const QString text = w->property("text").toString();
        if (!text.isEmpty())
            out.insert(text);
        if (const auto *field = qobject_cast<const QLineEdit *>(w); field && field->text().isEmpty())
            out.insert(field->placeholderText());
    }
    return out;
}

// The texts of `expected` that `root` does not show, one a line.
inline std::string missingTexts(QWidget *root, const QStringList &expected)
{
    const QSet<QString> shown = shownTexts(root);
    QStringList missing;
    for (const QString &t : expected)
        if (!shown.contains(t))
            missing << t;
    return missing.join(u'\n').toStdString();
}

} // namespace qv::test
