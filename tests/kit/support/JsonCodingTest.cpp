#include "kit/support/JsonCoding.h"

#include <QSet>

#include <variant>

#include <gtest/gtest.h>

using namespace orvane;

namespace {

enum class Mood { calm, busy };

} // namespace

ORVANE_JSON_ENUM(Mood, { Mood::calm, "Calm Waters" }, { Mood::busy, "busy" })

namespace {

struct Leaf {
    QUuid id;
    Mood mood = Mood::calm;
    qint64 count = 0;
    std::optional<QString> note;

    void encode(JsonObjectWriter &w) const
    {
        w.field("id", id).field("mood", mood).field("count", count).field("note", note);
    }
    static Leaf decode(const JsonObjectReader &r)
    {
        return { r.required<QUuid>("id"), r.required<Mood>("mood"), r.required<qint64>("count"),
            r.optional<QString>("note") };
    }
    bool operator==(const Leaf &) const = default;
};

struct Tree {
    QString title;
    double budget = 0;
    QList<Leaf> leaves;
    int small = 0;

    void encode(JsonObjectWriter &w) const
    {
        w.field("title", title).field("budget", budget).field("leaves", leaves).field("small", small);
    }
    static Tree decode(const JsonObjectReader &r)
    {
        return { r.required<QString>("title"), r.required<double>("budget"), r.required<QList<Leaf>>("leaves"),
            r.required<int>("small") };
    }
    bool operator==(const Tree &) const = default;
};

const QUuid kId = QUuid::fromString(QStringLiteral("e621e1f8-c36c-495a-93fc-0c247a3e6e5f"));

Tree sampleTree()
{
    return { QStringLiteral("Q2 \"pipeline\" ✓"), 1500.5,
        { { kId, Mood::busy, 42, std::nullopt }, { kId, Mood::calm, -1, QStringLiteral("n") } }, 7 };
}

// Decodes text and returns the error message, or "ok".
std::string decodeError(const char *text)
{
    try {
        (void)decodeJson<Tree>(QByteArrayView(text));
        return "ok";
    } catch (const DecodingError &e) {
        return e.message().toStdString();
    }
}

TEST(JsonEncoding, WritesKeysInFieldOrderAndOmitsAbsentOptionals)
{
    EXPECT_EQ(encodeJson(sampleTree()).toStdString(),
        R"({"title":"Q2 \"pipeline\" ✓","budget":1500.5,"leaves":[)"
        R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","mood":"busy","count":42},)"
        R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","mood":"Calm Waters","count":-1,"note":"n"}],"small":7})");
}

TEST(JsonEncoding, RefusesNonFiniteDoublesWithThePath)
{
    Tree tree = sampleTree();
    tree.budget = std::numeric_limits<double>::quiet_NaN();
    try {
        (void)encodeJson(tree);
        FAIL() << "expected an encoding error";
    } catch (const EncodingError &e) {
        EXPECT_EQ(e.path(), QStringLiteral("budget"));
    }
    tree.budget = std::numeric_limits<double>::infinity();
    EXPECT_THROW((void)encodeJson(tree), EncodingError);
}

TEST(JsonDecoding, NamesTheKeyPathOfEveryFailureWithoutEchoingTheValue)
{
    const char *id = R"("id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F")";
    const auto tree = [&](const std::string &leaf) {
        return R"({"title":"t","budget":1,"small":1,"leaves":[{)" + std::string(id) + R"(,"mood":"busy","count":1},{)"
            + leaf + "}]}";
    };
    EXPECT_EQ(decodeError(tree(std::string(id) + R"(,"mood":"busy","count":1)").c_str()), "ok");
    EXPECT_EQ(
        decodeError(tree(std::string(id) + R"(,"mood":"busy")").c_str()), "leaves[1].count: missing required key");
    EXPECT_EQ(decodeError(tree(std::string(id) + R"(,"mood":"busy","count":null)").c_str()),
        "leaves[1].count: missing required key");
    EXPECT_EQ(decodeError(tree(std::string(id) + R"(,"mood":"calm","count":1)").c_str()),
        "leaves[1].mood: unknown raw value for the enumeration");
    EXPECT_EQ(
        decodeError(tree(std::string(id) + R"(,"mood":7,"count":1)").c_str()), "leaves[1].mood: expected a string");
    EXPECT_EQ(decodeError(tree(R"("id":"{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}","mood":"busy","count":1)").c_str()),
        "leaves[1].id: expected a UUID in canonical form");
    EXPECT_EQ(decodeError(tree(std::string(id) + R"(,"mood":"busy","count":1,"note":5)").c_str()),
        "leaves[1].note: expected a string");
    EXPECT_EQ(decodeError(R"({"title":"t","budget":1,"small":1,"leaves":{}})"), "leaves: expected an array");
    EXPECT_EQ(decodeError(R"({"title":"t","budget":1,"small":1,"leaves":[null]})"), "leaves[0]: unexpected null");
    EXPECT_EQ(decodeError(R"([1])"), "expected an object");
    EXPECT_EQ(decodeError(R"({"title":"secret-value)"), "the data is not valid JSON");
    EXPECT_EQ(decodeError(R"({"title":"t","budget":1e999,"small":1,"leaves":[]})"), "the data is not valid JSON");
}

TEST(JsonDecoding, AcceptsWholeFloatsAndNullOptionalsAndIgnoresUnknownKeys)
{
    const Tree tree = decodeJson<Tree>(
        QByteArrayView(R"({"extra":{"x":[1,2]},"title":"t","budget":3,"small":2.0,"leaves":[)"
                       R"({"id":"e621e1f8-c36c-495a-93fc-0c247a3e6e5f","mood":"busy","count":4,"note":null}]})"));
    EXPECT_EQ(tree.small, 2);
    EXPECT_EQ(tree.budget, 3.0);
    EXPECT_EQ(tree.leaves.first().id, kId);
    EXPECT_FALSE(tree.leaves.first().note.has_value());
}

TEST(JsonDecoding, SaturatesIntegersOutsideTheFieldsRange)
{
    const auto small = [](const char *value) {
        const std::string text = std::string(R"({"title":"t","budget":1,"leaves":[],"small":)") + value + "}";
        return decodeJson<Tree>(QByteArrayView(text.c_str())).small;
    };
    EXPECT_EQ(small("4294967296"), std::numeric_limits<int>::max());
    EXPECT_EQ(small("-4294967296"), std::numeric_limits<int>::min());
    EXPECT_EQ(small("18446744073709551615"), std::numeric_limits<int>::max());
    EXPECT_EQ(small("1e300"), std::numeric_limits<int>::max());
    EXPECT_EQ(saturatingAdd(std::numeric_limits<qint64>::max(), 1), std::numeric_limits<qint64>::max());
    EXPECT_EQ(saturatingAdd(std::numeric_limits<qint64>::min(), -1), std::numeric_limits<qint64>::min());
    EXPECT_EQ(saturatingCast<qint64>(1e300), std::numeric_limits<qint64>::max());
}

TEST(JsonDecoding, SurvivesDeeplyNestedInput)
{
    std::string text = R"({"title":"t","budget":1,"small":1,"leaves":[],"junk":)";
    text += std::string(100000, '[') + std::string(100000, ']') + "}";
    EXPECT_EQ(decodeError(text.c_str()), "ok");
}

// The list decoder that reads element by element gives what the whole-document decoder gives: the
// same values, and the same error for the same fault in well-formed text.
TEST(JsonDecoding, ListsDecodedElementByElementMatchTheWholeDocument)
{
    const auto outcome = [](auto decode, const std::string &text) -> std::variant<QList<Tree>, std::string> {
        try {
            return decode(QByteArrayView(text.c_str()));
        } catch (const DecodingError &e) {
            return e.message().toStdString();
        }
    };
    const std::string tree = encodeJson(sampleTree()).toStdString();
    const std::string odd = R"({"title":"t","title":"u","budget":-0.0,"small":18446744073709551615,"leaves":[],)"
                            R"("x":[[1,[2,{"y":[]}]],{},"",true,null,1e3]})";
    const std::string three = std::string("[").append(tree).append(",").append(odd).append(",").append(tree) + "]";
    for (const std::string &text : { three, std::string("[]"), "[" + tree + ",null]",
             "[" + tree + R"(,{"title":"t","budget":1,"small":1,"leaves":[{"id":"x"}]}])", std::string("{}"),
             std::string("null"), std::string("[[]]"), std::string("7"), "[" + tree, std::string("[1]"),
             "[" + std::string(5000, '[') + std::string(5000, ']') + "]" }) {
        EXPECT_EQ(outcome(decodeJsonList<Tree>, text), outcome(decodeJson<QList<Tree>>, text)) << text.substr(0, 80);
    }
}

// Objects of any width parse to what the library's own document parser makes of them: keys in
// first-seen order, a repeated key in its first place with its last value.
TEST(JsonDecoding, ParsesObjectsOfAnyWidthAsTheDocumentParserDoes)
{
    const auto wide = [](int keys, int repeatEvery) {
        std::string text = "{";
        for (int i = 0; i < keys; ++i) {
            const int key = repeatEvery > 0 && i % repeatEvery == repeatEvery - 1 ? i / 3 : i;
            text += (i > 0 ? ",\"k" : "\"k") + std::to_string(key) + "\":" + std::to_string(i);
        }
        return text + "}";
    };
    for (const std::string &text : { wide(15, 0), wide(16, 0), wide(17, 4), wide(40, 3), wide(5000, 7),
             "[" + wide(20, 2) + ",{\"a\":" + wide(30, 5) + ",\"a\":[" + wide(18, 6) + "]}]",
             std::string(R"({"a":1,"b":{"a":2,"a":3},"a":4})"), std::string("\"text\""), std::string("[]") }) {
        const Json parsed = parseJson(QByteArrayView(text.c_str()));
        const Json expected = Json::parse(text);
        EXPECT_EQ(parsed, expected) << text.substr(0, 80);
        EXPECT_EQ(parsed.dump(), expected.dump()) << text.substr(0, 80);
    }
    // Twenty keys, then the sixth again: still twenty, the sixth in its place with the new value.
    const Json repeated
        = parseJson(QByteArrayView((wide(20, 0).substr(0, wide(20, 0).size() - 1) + R"(,"k5":99})").c_str()));
    ASSERT_EQ(repeated.size(), 20U);
    EXPECT_EQ(std::next(repeated.begin(), 5).key(), "k5");
    EXPECT_EQ(repeated["k5"], 99);
    for (const char *broken : { "", "{", R"({"a":1,})", R"({"a" 1})", "[1,]", "{} {}" })
        EXPECT_THROW(parseJson(QByteArrayView(broken)), DecodingError) << broken;
}

TEST(JsonEnumerations, MapRawValuesBothWays)
{
    EXPECT_EQ(rawValue(Mood::calm), QStringLiteral("Calm Waters"));
    EXPECT_EQ(fromRawValue<Mood>(QStringLiteral("busy")), Mood::busy);
    EXPECT_FALSE(fromRawValue<Mood>(QStringLiteral("calm")).has_value());
    EXPECT_EQ(allCases<Mood>(), (QList<Mood> { Mood::calm, Mood::busy }));
}

TEST(JsonEnumerations, HashTheirRawValues)
{
    EXPECT_EQ(qHash(Mood::busy, 3), qHash(QByteArrayView("busy"), 3));
    EXPECT_NE(qHash(Mood::calm), qHash(Mood::busy));
    const QSet<Mood> moods { Mood::calm, Mood::busy, Mood::calm };
    EXPECT_EQ(moods.size(), 2);
}

} // namespace
