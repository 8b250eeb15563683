// A small Qt 6 program for end-to-end tests: a plain text edit, a line edit
// and a button, driven by line commands on standard input (see TargetApp.h),
// and on "dialog" a dialog whose line edit's Return would press its default
// button ("dialog" as the widget names that line edit).
// "dump" writes a widget's own text to a file, the tests' ground truth.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTextCursor>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

void reply(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString unescape(const QString &s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('\\') && i + 1 < s.size()) {
            ++i;
            out += s[i] == QLatin1Char('n') ? QChar(u'\n') : s[i] == QLatin1Char('t') ? QChar(u'\t') : s[i];
        } else {
            out += s[i];
        }
    }
    return out;
}

class Target : public QWidget {
public:
    Target()
    {
        setWindowTitle(QStringLiteral("Qt target"));
        auto *layout = new QVBoxLayout(this);
        m_view = new QPlainTextEdit(this);
        m_entry = new QLineEdit(this);
        m_button = new QPushButton(QStringLiteral("Button"), this);
        layout->addWidget(m_view);
        layout->addWidget(m_entry);
        layout->addWidget(m_button);
        resize(520, 360);
        move(600, 40);
        m_notifier = new QSocketNotifier(0, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { readInput(); });
    }

    void announceWhenShown()
    {
        show();
        m_view->setFocus();
        reply("ready " + QByteArray::number(qint64(::getpid())));
    }

private:
    void readInput()
    {
        char buffer[4096];
        const ssize_t got = ::read(0, buffer, sizeof buffer);
        if (got <= 0) {
            m_notifier->setEnabled(false);
            qApp->quit();
            return;
        }
        m_pending.append(buffer, got);
        qsizetype nl;
        while ((nl = m_pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(m_pending.left(nl));
            m_pending.remove(0, nl + 1);
            handle(line);
        }
    }

    QString text(const QString &which) const
    {
        if (which == QLatin1String("dialog"))
            return m_dialogEdit ? m_dialogEdit->text() : QString();
        return which == QLatin1String("entry") ? m_entry->text() : m_view->toPlainText();
    }

    QWidget *widget(const QString &which) const
    {
        if (which == QLatin1String("dialog") && m_dialogEdit)
            return m_dialogEdit;
        return which == QLatin1String("entry") ? static_cast<QWidget *>(m_entry) : m_view;
    }

    // A dialog with a line edit and OK as its default button: Return in the
    // line edit would accept it and close it.
    void openDialog()
    {
        if (!m_dialog) {
            m_dialog = new QDialog(this);
            m_dialog->setWindowTitle(QStringLiteral("Qt dialog"));
            auto *layout = new QVBoxLayout(m_dialog);
            m_dialogEdit = new QLineEdit(m_dialog);
            auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, m_dialog);
            buttons->button(QDialogButtonBox::Ok)->setDefault(true);
            layout->addWidget(m_dialogEdit);
            layout->addWidget(buttons);
            connect(buttons, &QDialogButtonBox::accepted, m_dialog, &QDialog::accept);
            connect(buttons, &QDialogButtonBox::rejected, m_dialog, &QDialog::reject);
            connect(m_dialog, &QDialog::accepted, this, [this] { ++m_dialogAccepted; });
            m_dialog->resize(420, 120);
            m_dialog->move(40, 820); // clear of the typing panel in the middle of the screen
        }
        m_dialog->show();
        m_dialog->raise();
        m_dialog->activateWindow();
        m_dialogEdit->setFocus();
    }

    void handle(const QString &line)
    {
        const QString cmd = line.section(QLatin1Char(' '), 0, 0);
        const QString rest = line.section(QLatin1Char(' '), 1);
        const QString which = rest.section(QLatin1Char(' '), 0, 0);
        if (cmd == QLatin1String("dump")) {
            QSaveFile f(rest.section(QLatin1Char(' '), 1));
            const bool ok = f.open(QIODevice::WriteOnly) && f.write(text(which).toUtf8()) >= 0 && f.commit();
            reply(ok ? "ok" : "error cannot write");
        } else if (cmd == QLatin1String("focus")) {
            QWidget *w = widget(which);
            w->window()->activateWindow();
            w->window()->raise();
            w->setFocus();
            reply("ok");
        } else if (cmd == QLatin1String("dialog")) {
            openDialog();
            reply("ok");
        } else if (cmd == QLatin1String("dialogstate")) {
            // "dialogstate VISIBLE ACCEPTED": shown now, and how often accepted.
            reply(QStringLiteral("dialogstate %1 %2")
                      .arg(m_dialog && m_dialog->isVisible() ? 1 : 0)
                      .arg(m_dialogAccepted)
                      .toUtf8());
        } else if (cmd == QLatin1String("set")) {
            const QString t = unescape(rest.section(QLatin1Char(' '), 1));
            if (which == QLatin1String("entry"))
                m_entry->setText(t);
            else if (which == QLatin1String("dialog") && m_dialogEdit)
                m_dialogEdit->setText(t);
            else
                m_view->setPlainText(t);
            reply("ok");
        } else if (cmd == QLatin1String("sel")) {
            qsizetype start = 0;
            qsizetype end = 0;
            if (which == QLatin1String("entry")) {
                start = m_entry->hasSelectedText() ? m_entry->selectionStart() : m_entry->cursorPosition();
                end = m_entry->hasSelectedText() ? m_entry->selectionEnd() : start;
            } else {
                start = m_view->textCursor().selectionStart();
                end = m_view->textCursor().selectionEnd();
            }
            reply(QStringLiteral("sel %1 %2").arg(start).arg(end).toUtf8());
        } else if (cmd == QLatin1String("geom")) {
            QWidget *w = widget(which);
            const QPoint p = w->mapToGlobal(QPoint(0, 0));
            reply(QStringLiteral("geom %1 %2 %3 %4").arg(p.x()).arg(p.y()).arg(w->width()).arg(w->height()).toUtf8());
        } else if (cmd == QLatin1String("readclip")) {
            const QMimeData *mime = QApplication::clipboard()->mimeData();
            if (mime && mime->hasFormat(rest))
                reply("clip " + rest.toUtf8() + " " + mime->data(rest).toHex());
            else
                reply("clip " + rest.toUtf8() + " -");
        } else if (cmd == QLatin1String("hang")) {
            reply("ok");
            ::sleep(unsigned(rest.toInt()));
        } else if (cmd == QLatin1String("quit")) {
            reply("ok");
            qApp->quit();
        } else {
            reply("error unknown command");
        }
    }

    QPlainTextEdit *m_view;
    QLineEdit *m_entry;
    QPushButton *m_button;
    QDialog *m_dialog = nullptr;
    QLineEdit *m_dialogEdit = nullptr;
    int m_dialogAccepted = 0;
    QSocketNotifier *m_notifier;
    QByteArray m_pending;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Target target;
    target.announceWhenShown();
    return app.exec();
}
