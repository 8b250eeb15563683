#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace qv::e2e {

// A real document editor started for a test with a throwaway profile, no
// first-run dialogs and no network: LibreOffice Writer on an empty
// document, KWrite on an empty file, or Firefox or Chromium on the
// project's rich-text page with its rich-text field or its plain one in
// focus. Unlike the small target programs it takes no commands: the tests
// read it back through its own copy (select all, copy) and accessibility.
class DocumentApp {
public:
    enum class Kind { Writer, KWrite, Firefox, Chromium };
    // `field`: "rich" or "area" for the browsers, ignored otherwise.
    explicit DocumentApp(Kind kind, QString field = QStringLiteral("rich"));
    ~DocumentApp();
    DocumentApp(const DocumentApp &) = delete;
    DocumentApp &operator=(const DocumentApp &) = delete;

    // Starts the program and waits for its window; false with a reason.
    bool start(QString *why = nullptr);
    // The process that owns the window (a launcher may have started it).
    qint64 pid() const { return m_windowPid; }
    Kind kind() const { return m_kind; }
    QString name() const;
    // Brings the window to the front through the window manager.
    bool activate();
    // Keys through the window manager's input (xdotool), as a user types.
    bool keys(const QStringList &keys);
    bool type(const QString &text);
    void kill();

private:
    QStringList arguments();

    Kind m_kind;
    QString m_field;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_window;
    qint64 m_windowPid = 0;
};

} // namespace qv::e2e
