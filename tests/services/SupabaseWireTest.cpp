#include "services/OllamaClient.h"
#include "services/SupabaseConfig.h"
#include "services/SupabaseSession.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using qv::SupabaseSession;

TEST(SupabaseSession, StoredFormUsesCamelCaseKeysAndDecodingIsStrict)
{
    const SupabaseSession without{"a", "r", "u", std::nullopt};
    const QJsonObject object = QJsonDocument::fromJson(without.toJson()).object();
    EXPECT_EQ(object, (QJsonObject{{"accessToken", "a"}, {"refreshToken", "r"}, {"userId", "u"}}));
    EXPECT_EQ(SupabaseSession::fromJson(without.toJson()), without);

    const SupabaseSession with{"a", "r", "u", QStringLiteral("é@x.test")};
    EXPECT_EQ(QJsonDocument::fromJson(with.toJson()).object().value("email").toString(), QStringLiteral("é@x.test"));
    EXPECT_EQ(SupabaseSession::fromJson(with.toJson()), with);

    for (const char *bad :
         {R"({"accessToken":"a","refreshToken":"r"})", R"({"accessToken":"a","refreshToken":"r","userId":null})",
          R"({"accessToken":"a","refreshToken":"r","userId":1})",
          R"({"accessToken":"a","refreshToken":"r","userId":"u","email":false})", "garbage", "",
          R"([{"accessToken":"a","refreshToken":"r","userId":"u"}])"})
        EXPECT_FALSE(SupabaseSession::fromJson(bad)) << bad;

    const auto withNull = SupabaseSession::fromJson(
        R"({"accessToken":"a","refreshToken":"r","userId":"u","email":null,"extra":3})");
    ASSERT_TRUE(withNull);
    EXPECT_FALSE(withNull->email.has_value());
}

TEST(SupabaseConfig, DefaultBuildPointsAtAValidBackend)
{
    const QUrl url = qv::SupabaseConfig::url();
    EXPECT_TRUE(url.isValid());
    EXPECT_TRUE(url.scheme() == "https" || url.scheme() == "http");
    EXPECT_FALSE(qv::SupabaseConfig::anonKey().isEmpty());
    qv::OllamaClient ollama; // holds its address only
}
