#include "kit/models/APIKey.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

QString redacted(const char *text)
{
    return APIKey::fromText(QString::fromUtf8(text))->redacted();
}

std::string decodeError(const char *json)
{
    try {
        (void)decodeJson<APIKey>(QByteArrayView(json));
        return "ok";
    } catch (const DecodingError &error) {
        return error.message().toStdString();
    }
}

TEST(APIKey, AcceptsOnlyTheTwoPrefixesCaseSensitivelyAfterTrimming)
{
    EXPECT_EQ(APIKey::fromText(QStringLiteral("orv_"))->value(), QStringLiteral("orv_"));
    EXPECT_EQ(APIKey::fromText(QStringLiteral("sk_orvane_x"))->value(), QStringLiteral("sk_orvane_x"));
    EXPECT_EQ(APIKey::fromText(QStringLiteral(" orv_live_1\n"))->value(), QStringLiteral("orv_live_1"));
    EXPECT_FALSE(APIKey::fromText(QStringLiteral("ORV_live_1")));
    EXPECT_FALSE(APIKey::fromText(QStringLiteral("SK_ORVANE_x")));
    EXPECT_FALSE(APIKey::fromText(QString()));
    EXPECT_FALSE(APIKey::fromText(QStringLiteral("  ")));
    EXPECT_FALSE(APIKey::fromText(QStringLiteral("x orv_1")));
    EXPECT_EQ(APIKey::fromText(QStringLiteral("orv_a")), APIKey::fromText(QStringLiteral("orv_a ")));
}

TEST(APIKey, MasksShortKeysEntirelyAndLongOnesAroundTheMiddle)
{
    EXPECT_EQ(redacted("orv_"), QStringLiteral("••••"));
    EXPECT_EQ(redacted("orv_12345678"), QStringLiteral("••••")); // 12 characters
    EXPECT_EQ(redacted("orv_123456789"), QStringLiteral("orv_1234…6789")); // 13: one hidden
    EXPECT_EQ(redacted("sk_orvane_abcdefghijklmnop"), QStringLiteral("sk_orvan…mnop"));
    // Counted in characters, not bytes or code units.
    EXPECT_EQ(redacted("orv_éééé😀😀😀xyz"), QStringLiteral("orv_éééé…😀xyz"));
}

TEST(APIKey, CodesAsOneJsonStringAndRefusesOtherTexts)
{
    EXPECT_EQ(decodeJson<APIKey>(QByteArrayView(R"("  orv_abc  ")")).value(), QStringLiteral("orv_abc"));
    EXPECT_EQ(encodeJson(*APIKey::fromText(QStringLiteral(" orv_abc\t"))), QByteArray(R"("orv_abc")"));
    EXPECT_EQ(decodeError(R"("key_abc")"), "Not a Orvane API key");
    EXPECT_EQ(decodeError(R"({"value":"orv_abc"})"), "expected a string");
    EXPECT_EQ(decodeError("7"), "expected a string");
}

TEST(PlatformName, DisplaysKnownPlatformsAndCapitalisesOthers)
{
    const auto display = [](const char *id) { return PlatformName::display(QString::fromUtf8(id)).toStdString(); };
    EXPECT_EQ(display("google_ads"), "Google Ads");
    EXPECT_EQ(display("GOOGLE"), "Google Ads");
    EXPECT_EQ(display("Google_Ads"), "Google Ads");
    EXPECT_EQ(display("facebook_ads"), "Meta Ads");
    EXPECT_EQ(display("meta"), "Meta Ads");
    EXPECT_EQ(display("X"), "X Ads");
    EXPECT_EQ(display("twitter"), "X Ads");
    EXPECT_EQ(display("bing_ads"), "Microsoft Ads");
    EXPECT_EQ(display("linkedin_ads"), "LinkedIn Ads");
    EXPECT_EQ(display("tiktok"), "TikTok Ads");
    EXPECT_EQ(display("amazon_ads"), "Amazon Ads");
    EXPECT_EQ(display("reddit"), "Reddit Ads");
    EXPECT_EQ(display("snap_chat"), "Snap Chat");
    EXPECT_EQ(display("pinterest_ads"), "Pinterest Ads");
    EXPECT_EQ(display("Google Ads"), "Google Ads");
    EXPECT_EQ(display("SNAP_CHAT"), "Snap Chat");
    EXPECT_EQ(display(""), "");
}

} // namespace
