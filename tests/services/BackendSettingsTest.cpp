#include "services/BackendSettings.h"
#include "services/BackendConfig.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace qv;

namespace {

QProcessEnvironment environmentWith(std::initializer_list<std::pair<const char *, const char *>> values)
{
    QProcessEnvironment environment;
    for (const auto &[name, value] : values)
        environment.insert(QString::fromLatin1(name), QString::fromUtf8(value));
    return environment;
}

QString refusal(const std::variant<BackendSettings, QString> &resolved)
{
    const auto *message = std::get_if<QString>(&resolved);
    return message ? *message : QString();
}

} // namespace

// The same addresses the build's own check is tested with: both must agree.
TEST(BackendSettings, RunTimeAddressesFollowTheBuildRules)
{
    for (const char *accepted : {"https://accounts.example.com", "http://127.0.0.1:54321", "http://localhost:8080/",
                                 "http://[::1]:1", "https://accounts.example.com:8443/base"}) {
        const auto resolved = BackendSettings::resolve(environmentWith({{"QUORVEL_BACKEND_URL", accepted}}));
        ASSERT_TRUE(std::holds_alternative<BackendSettings>(resolved))
            << accepted << ": " << refusal(resolved).toStdString();
        EXPECT_EQ(std::get<BackendSettings>(resolved).url, QUrl(QString::fromLatin1(accepted))) << accepted;
    }
    for (const char *refused :
         {"http://accounts.example.com", "http://192.168.1.5:54321", "ftp://127.0.0.1", "127.0.0.1:54321", "",
          "http://127.0.0.1.evil.test", "https://user@example.com", "https://example.com/?next=x"}) {
        const QString message = refusal(BackendSettings::resolve(environmentWith({{"QUORVEL_BACKEND_URL", refused}})));
        EXPECT_TRUE(message.startsWith(QStringLiteral("QUORVEL_BACKEND_URL is \"%1\"").arg(QString::fromUtf8(refused))))
            << refused << ": " << message.toStdString();
    }
}

TEST(BackendSettings, RunTimeKeysFollowTheBuildRules)
{
    const auto good = BackendSettings::resolve(environmentWith({{"QUORVEL_BACKEND_ANON_KEY", "abc.DEF_1~+/=-"}}));
    ASSERT_TRUE(std::holds_alternative<BackendSettings>(good));
    EXPECT_EQ(std::get<BackendSettings>(good).anonKey, "abc.DEF_1~+/=-");

    EXPECT_TRUE(refusal(BackendSettings::resolve(environmentWith({{"QUORVEL_BACKEND_ANON_KEY", ""}})))
                    .contains("QUORVEL_BACKEND_ANON_KEY is empty"));
    for (const char *refused : {"abc\"def", "two words", "line\nbreak"})
        EXPECT_TRUE(refusal(BackendSettings::resolve(environmentWith({{"QUORVEL_BACKEND_ANON_KEY", refused}})))
                        .contains("QUORVEL_BACKEND_ANON_KEY holds characters"))
            << refused;
}

TEST(BackendSettings, WithoutRunTimeSettingsTheBuildSettingsHold)
{
    const auto resolved = BackendSettings::resolve(QProcessEnvironment());
    ASSERT_TRUE(std::holds_alternative<BackendSettings>(resolved));
    const auto &settings = std::get<BackendSettings>(resolved);
    EXPECT_EQ(settings.url, QUrl(QString::fromUtf8(BackendConfig::url)));
    EXPECT_EQ(settings.anonKey, QString::fromUtf8(BackendConfig::anonKey));
    EXPECT_EQ(settings.siteUrl, QUrl(QString::fromUtf8(BackendConfig::siteUrl)));

    // The site moves with the backend only when the build gave it no address.
    const auto moved = BackendSettings::resolve(environmentWith({{"QUORVEL_BACKEND_URL", "http://127.0.0.1:4000//"}}));
    const QUrl expectedSite = BackendConfig::siteFollowsBackend ? QUrl("http://127.0.0.1:4000")
                                                                : QUrl(QString::fromUtf8(BackendConfig::siteUrl));
    EXPECT_EQ(std::get<BackendSettings>(moved).siteUrl, expectedSite);
}

TEST(BackendSettings, LoopbackHosts)
{
    for (const char *local :
         {"http://127.0.0.1:1", "http://127.8.9.10", "http://localhost:80", "http://LOCALHOST", "http://[::1]:9"})
        EXPECT_TRUE(isLoopbackHost(QUrl(QString::fromLatin1(local)))) << local;
    for (const char *remote : {"https://accounts.example.com", "http://192.168.1.5", "http://127.0.0.1.evil.test",
                               "http://[::2]", "https://localhost.example.com"})
        EXPECT_FALSE(isLoopbackHost(QUrl(QString::fromLatin1(remote)))) << remote;
}

#ifdef QUORVEL_EXE
// A refused setting ends the launch with status 2 and says why, before any
// window or display is needed.
TEST(BackendSettings, TheApplicationRefusesABadRunTimeSettingWithStatusTwo)
{
    const std::pair<const char *, const char *> cases[] = {
        {"QUORVEL_BACKEND_URL", "http://accounts.example.com"},
        {"QUORVEL_BACKEND_ANON_KEY", "not a key"},
    };
    for (const auto &[name, value] : cases) {
        QProcess quorvel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
        quorvel.setProcessEnvironment(environment);
        quorvel.start(QStringLiteral(QUORVEL_EXE), {});
        ASSERT_TRUE(quorvel.waitForFinished(20000)) << name;
        EXPECT_EQ(quorvel.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(quorvel.exitCode(), 2) << name;
        const QString error = QString::fromUtf8(quorvel.readAllStandardError());
        EXPECT_TRUE(error.startsWith(QStringLiteral("quorvel: %1").arg(QString::fromLatin1(name))))
            << error.toStdString();
    }
}
#endif
