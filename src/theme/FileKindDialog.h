#pragma once

#include <QFileDialog>
#include <QStringList>

namespace qv {

// A file dialog for one kind of file: it lists only that kind and refuses
// any other existing file whose name the user types in, saying so in a
// message and staying open. It opens in the folder of the last file chosen
// in this run, or in the home folder.
class FileKindDialog : public QFileDialog {
    Q_OBJECT
public:
    // `suffixes` without dots, compared regardless of case; `refusal` is
    // the message shown for a file of another kind.
    FileKindDialog(QWidget *parent, const QString &title, const QStringList &nameFilters, QStringList suffixes,
                   QString refusal);

    static bool hasSuffix(const QString &path, const QStringList &suffixes);

public slots:
    void accept() override;

private:
    QStringList m_suffixes;
    QString m_refusal;
};

} // namespace qv
