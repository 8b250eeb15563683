#include "SitePages.h"

namespace qv::devbackend::SitePages {

namespace {

std::string xmlEscape(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string wrap(const std::string &title, const std::string &body)
{
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title
           + " · Quorvel</title>\n<style>\n"
             "body{font-family:Inter,sans-serif;max-width:44rem;margin:3rem auto;padding:0 1rem;line-height:1.55;"
             "color:#1d1d22}\nh1{font-weight:600}\ncode{background:#f1f1f4;padding:.1rem .3rem;border-radius:4px}\n"
             "nav a{margin-right:1rem}\n</style>\n</head>\n<body>\n<nav><a href=\"support.html\">Support</a>"
             "<a href=\"download.html\">Install</a><a href=\"accessibility.html\">Accessibility</a></nav>\n"
           + body + "\n</body>\n</html>\n";
}

const std::string &support()
{
    static const std::string html = wrap("Support", R"(<h1>Quorvel support</h1>
<p>Quorvel types a prepared text into a text box of another application the way a person would,
checks what arrived and repairs it.</p>
<h2 id="support-guides">Guides</h2>
<ul>
<li><a href="download.html#install-walkthrough">Installing and starting Quorvel</a></li>
<li><a href="accessibility.html">Letting Quorvel read and type into other applications</a></li>
<li><a href="accessibility.html#input-monitoring">Clicks and keystrokes</a></li>
</ul>
<h2>Account</h2>
<p>Accounts are created by the person who runs your account server. Ask them to reset a forgotten
password; the settings window changes a password you know.</p>
<h2>Your data</h2>
<p>Projects and study sets are stored as JSON files in the <code>QuorvelData</code> folder on your
desktop (or in <code>~/.local/share/QuorvelData</code>).</p>)");
    return html;
}

const std::string &download()
{
    static const std::string html = wrap("Install", R"(<h1>Download Quorvel</h1>
<p>This development server announces a build; there is no package to download here. Build Quorvel
from its source tree instead.</p>
<h2 id="install-walkthrough">Install walkthrough</h2>
<ol>
<li>On Debian 12, run <code>scripts/setup</code> in the source tree to install what the build needs.</li>
<li>Build with <code>cmake -S . -B build -G Ninja</code> and <code>cmake --build build</code>.</li>
<li>Start the development backend with <code>quorvel-devbackend --add-user you@example.com PASSWORD</code>.</li>
<li>Start Quorvel in an X11 session and sign in with that account.</li>
<li>Follow the <a href="accessibility.html">accessibility guide</a> so Quorvel can type.</li>
</ol>)");
    return html;
}

const std::string &accessibility()
{
    static const std::string html = wrap("Accessibility", R"(<h1>Accessibility access</h1>
<p>Quorvel finds the text box you click into and reads back what it typed through the desktop's
accessibility bus (AT-SPI).</p>
<ol>
<li>Turn on assistive technologies in your desktop's accessibility settings, or run
<code>gsettings set org.gnome.desktop.interface toolkit-accessibility true</code>.</li>
<li>Log out and back in, so that applications started afterwards join the accessibility bus.</li>
<li>Restart Quorvel.</li>
</ol>
<h2 id="input-monitoring">Clicks and keystrokes</h2>
<p>Quorvel types with synthetic key events and notices your clicks to pause and resume. Both need an
X11 session (the XTest and XInput extensions); a Wayland session does not allow them. Choose an X11
session at the login screen if Quorvel reports that it cannot type.</p>)");
    return html;
}

} // namespace

std::optional<std::string> page(const std::string &path)
{
    if (path == "/quorvel-site/support.html")
        return support();
    if (path == "/quorvel-site/download.html")
        return download();
    if (path == "/quorvel-site/accessibility.html")
        return accessibility();
    return std::nullopt;
}

std::string appcast(const std::string &version, const std::string &baseUrl)
{
    const std::string v = xmlEscape(version);
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" xmlns:sparkle=\"urn:quorvel:appcast\">\n"
           "  <channel>\n"
           "    <title>Quorvel</title>\n"
           "    <item>\n"
           "      <title>Quorvel "
           + v
           + "</title>\n"
             "      <sparkle:version>"
           + v
           + "</sparkle:version>\n"
             "      <sparkle:shortVersionString>"
           + v
           + "</sparkle:shortVersionString>\n"
             "      <enclosure url=\""
           + xmlEscape(baseUrl)
           + "/quorvel-site/download.html\" type=\"text/html\" length=\"0\"/>\n"
             "    </item>\n"
             "  </channel>\n"
             "</rss>\n";
}

} // namespace qv::devbackend::SitePages
