// A small GTK 3 program for end-to-end tests: a text view and an entry,
// driven by line commands on standard input (see TargetApp.h). It answers
// every command with one line; "dump" writes a widget's own text to a file,
// which is the ground truth the tests compare against.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

GtkWidget *g_window = nullptr;
GtkWidget *g_view = nullptr;
GtkWidget *g_entry = nullptr;
std::string g_pending;

void reply(const std::string &line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string unescape(const std::string &s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            ++i;
            out += s[i] == 'n' ? '\n' : s[i] == 't' ? '\t' : s[i];
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string hex(const guchar *data, gint length)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (gint i = 0; i < length; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::string widgetText(const std::string &which)
{
    if (which == "entry")
        return gtk_entry_get_text(GTK_ENTRY(g_entry));
    GtkTextBuffer *buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(g_view));
    GtkTextIter start;
    GtkTextIter end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar *text = gtk_text_buffer_get_text(buffer, &start, &end, TRUE);
    std::string out = text;
    g_free(text);
    return out;
}

bool writeFile(const std::string &path, const std::string &data)
{
    const std::string tmp = path + ".tmp";
    FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    std::fclose(f);
    return ok && std::rename(tmp.c_str(), path.c_str()) == 0;
}

const char *kTargets[] = {"text/plain;charset=utf-8", "UTF8_STRING", "text/html", "application/x-quorvel-test"};

void clipGet(GtkClipboard *, GtkSelectionData *data, guint info, gpointer)
{
    static const char *payloads[] = {"clip text ✓", "clip text ✓", "<b>clip</b> html", "custom\001bytes"};
    const char *p = payloads[info];
    gtk_selection_data_set(data, gtk_selection_data_get_target(data), 8, reinterpret_cast<const guchar *>(p),
                           gint(std::strlen(p)));
}

void clipClear(GtkClipboard *, gpointer) {}

// The number of UTF-16 units in the first `chars` characters of `utf8`.
long utf16Units(const std::string &utf8, long chars)
{
    long units = 0;
    const char *p = utf8.c_str();
    for (long i = 0; i < chars && *p; ++i, p = g_utf8_next_char(p))
        units += g_utf8_get_char(p) > 0xFFFF ? 2 : 1;
    return units;
}

void handle(const std::string &line)
{
    const size_t space = line.find(' ');
    const std::string cmd = line.substr(0, space);
    const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
    if (cmd == "dump") {
        const size_t sp = rest.find(' ');
        const std::string which = rest.substr(0, sp);
        const std::string path = rest.substr(sp + 1);
        reply(writeFile(path, widgetText(which)) ? "ok" : "error cannot write");
    } else if (cmd == "focus") {
        gtk_window_present(GTK_WINDOW(g_window));
        gtk_widget_grab_focus(rest == "entry" ? g_entry : g_view);
        reply("ok");
    } else if (cmd == "set") {
        const size_t sp = rest.find(' ');
        const std::string which = rest.substr(0, sp);
        const std::string text = sp == std::string::npos ? std::string() : unescape(rest.substr(sp + 1));
        if (which == "entry")
            gtk_entry_set_text(GTK_ENTRY(g_entry), text.c_str());
        else
            gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(g_view)), text.c_str(), -1);
        reply("ok");
    } else if (cmd == "sel") {
        long start = 0;
        long end = 0;
        if (rest == "entry") {
            gint s0 = 0;
            gint e0 = 0;
            if (!gtk_editable_get_selection_bounds(GTK_EDITABLE(g_entry), &s0, &e0))
                s0 = e0 = gtk_editable_get_position(GTK_EDITABLE(g_entry));
            start = s0;
            end = e0;
        } else {
            GtkTextBuffer *buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(g_view));
            GtkTextIter a;
            GtkTextIter b;
            gtk_text_buffer_get_selection_bounds(buffer, &a, &b);
            start = gtk_text_iter_get_offset(&a);
            end = gtk_text_iter_get_offset(&b);
        }
        const std::string text = widgetText(rest);
        reply("sel " + std::to_string(utf16Units(text, start)) + " " + std::to_string(utf16Units(text, end)));
    } else if (cmd == "geom") {
        GtkWidget *w = rest == "entry" ? g_entry : g_view;
        GtkAllocation a;
        gtk_widget_get_allocation(w, &a);
        gint ox = 0;
        gint oy = 0;
        gdk_window_get_origin(gtk_widget_get_window(g_window), &ox, &oy);
        gint x = 0;
        gint y = 0;
        gtk_widget_translate_coordinates(w, g_window, 0, 0, &x, &y);
        reply("geom " + std::to_string(ox + x) + " " + std::to_string(oy + y) + " " + std::to_string(a.width) + " "
              + std::to_string(a.height));
    } else if (cmd == "clip") {
        GtkTargetEntry entries[4];
        for (guint i = 0; i < 4; ++i)
            entries[i] = GtkTargetEntry{const_cast<gchar *>(kTargets[i]), 0, i};
        GtkClipboard *cb = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
        const bool ok = gtk_clipboard_set_with_data(cb, entries, 4, clipGet, clipClear, nullptr);
        reply(ok ? "ok" : "error");
    } else if (cmd == "readclip") {
        // Answers "clip TARGET HEX" for the given target, "clip TARGET -" when absent.
        GtkClipboard *cb = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
        GtkSelectionData *data = gtk_clipboard_wait_for_contents(cb, gdk_atom_intern(rest.c_str(), FALSE));
        if (data && gtk_selection_data_get_length(data) >= 0)
            reply("clip " + rest + " " + hex(gtk_selection_data_get_data(data), gtk_selection_data_get_length(data)));
        else
            reply("clip " + rest + " -");
        if (data)
            gtk_selection_data_free(data);
    } else if (cmd == "hang") {
        reply("ok");
        sleep(unsigned(std::atoi(rest.c_str())));
    } else if (cmd == "quit") {
        reply("ok");
        gtk_main_quit();
    } else {
        reply("error unknown command");
    }
}

gboolean onInput(GIOChannel *channel, GIOCondition condition, gpointer)
{
    if (condition & (G_IO_HUP | G_IO_ERR)) {
        gtk_main_quit();
        return FALSE;
    }
    char buffer[4096];
    const ssize_t got = ::read(g_io_channel_unix_get_fd(channel), buffer, sizeof buffer);
    if (got <= 0) {
        gtk_main_quit();
        return FALSE;
    }
    g_pending.append(buffer, size_t(got));
    size_t nl;
    while ((nl = g_pending.find('\n')) != std::string::npos) {
        const std::string line = g_pending.substr(0, nl);
        g_pending.erase(0, nl + 1);
        handle(line);
    }
    return TRUE;
}

gboolean onMapped(GtkWidget *, GdkEvent *, gpointer)
{
    reply("ready " + std::to_string(getpid()));
    return FALSE;
}

} // namespace

int main(int argc, char **argv)
{
    gtk_init(&argc, &argv);
    g_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(g_window), "GTK target");
    gtk_window_set_default_size(GTK_WINDOW(g_window), 520, 360);
    gtk_window_move(GTK_WINDOW(g_window), 40, 40);
    GtkWidget *box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    GtkWidget *scroller = gtk_scrolled_window_new(nullptr, nullptr);
    g_view = gtk_text_view_new();
    gtk_container_add(GTK_CONTAINER(scroller), g_view);
    g_entry = gtk_entry_new();
    gtk_box_pack_start(GTK_BOX(box), scroller, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(box), g_entry, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(g_window), box);
    g_signal_connect(g_window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    g_signal_connect(g_window, "map-event", G_CALLBACK(onMapped), nullptr);
    GIOChannel *in = g_io_channel_unix_new(0);
    g_io_add_watch(in, GIOCondition(G_IO_IN | G_IO_HUP | G_IO_ERR), onInput, nullptr);
    gtk_widget_show_all(g_window);
    gtk_widget_grab_focus(g_view);
    gtk_main();
    return 0;
}
