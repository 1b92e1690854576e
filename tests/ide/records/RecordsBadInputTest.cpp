#include "ide/records/OrvaneWebParitySeeds.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace orvane;
using namespace Qt::StringLiterals;

// Damaged documents must either decode or fail with a DecodingError: any other exception, a crash
// or an out-of-bounds read (the sanitizer build) fails these tests. Whatever decodes must encode
// again and decode to an equal value.

namespace {

template <typename T> class Decoder {
public:
    void bytes(const std::string &text)
    {
        check([&] { return decodeJson<T>(QByteArrayView(text)); });
    }
    void json(const Json &json)
    {
        check([&] { return fromJson<T>(json); });
    }

    int decoded = 0;
    int refused = 0;

private:
    template <typename F> void check(F decode)
    {
        try {
            const T value = decode();
            ++decoded;
            ASSERT_EQ(decodeJson<T>(encodeJson(value)), value);
        } catch (const DecodingError &error) {
            ++refused;
            ASSERT_FALSE(error.reason().isEmpty());
        }
    }
};

// Every value of the document, by JSON pointer.
void collectPointers(const Json &json, const Json::json_pointer &at, std::vector<Json::json_pointer> &out)
{
    out.push_back(at);
    if (json.is_object()) {
        for (auto it = json.cbegin(); it != json.cend(); ++it)
            collectPointers(it.value(), at / it.key(), out);
    } else if (json.is_array()) {
        for (std::size_t i = 0; i < json.size(); ++i)
            collectPointers(json[i], at / i, out);
    }
}

const std::vector<Json> &replacements()
{
    static const std::vector<Json> values { nullptr, true, -1, 2.5, 1e300, "", "Local Files",
        "80000000-0000-0000-0000-00000000000G", Json::array(), Json::object() };
    return values;
}

// Replaces values of the document with values of other types, one at a time, `cases` of them
// picked at random.
template <typename T> void swapValues(Json document, int cases, std::mt19937 &random, Decoder<T> &decoder)
{
    std::vector<Json::json_pointer> pointers;
    collectPointers(document, Json::json_pointer(), pointers);
    const auto swapOne = [&](const Json::json_pointer &pointer, const Json &replacement) {
        Json saved = std::exchange(document[pointer], replacement);
        decoder.json(document);
        document[pointer] = std::move(saved);
    };
    std::uniform_int_distribution<std::size_t> anyPointer(0, pointers.size() - 1);
    std::uniform_int_distribution<std::size_t> anyReplacement(0, replacements().size() - 1);
    for (int i = 0; i < cases; ++i)
        swapOne(pointers[anyPointer(random)], replacements()[anyReplacement(random)]);
}

template <typename T> void truncate(const std::string &text, std::size_t cases, Decoder<T> &decoder)
{
    const std::size_t step = std::max<std::size_t>(1, text.size() / cases);
    for (std::size_t length = 0; length < text.size(); length += step)
        decoder.bytes(text.substr(0, length));
}

template <typename T> void mutateBytes(const std::string &text, int cases, std::mt19937 &random, Decoder<T> &decoder)
{
    static const std::string interesting = "{}[]\",:-.0123456789eE\\ntfu\x00\xff\xc3\xe2";
    std::uniform_int_distribution<int> edits(1, 4);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int i = 0; i < cases; ++i) {
        std::string damaged = text;
        for (int edit = edits(random); edit > 0 && !damaged.empty(); --edit) {
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, damaged.size() - 1)(random);
            const char c = kind(random) % 2 ? interesting[std::size_t(anyByte(random)) % interesting.size()]
                                            : char(anyByte(random));
            switch (kind(random)) {
            case 0:
                damaged[at] = c;
                break;
            case 1:
                damaged.insert(at, 1, c);
                break;
            case 2:
                damaged.erase(at, 1);
                break;
            default: // repeat a slice, as a torn write might
                damaged.insert(at, damaged.substr(at, 16));
                break;
            }
        }
        decoder.bytes(damaged);
    }
}

// The stored form of the first seed thread. Its rows and ads repeat one shape, so one of each keeps
// every kind of value while keeping each case cheap.
Json seedThreadDocument()
{
    CampaignIDEThread thread
        = OrvaneWebParitySeeds::defaultThreads({ { .id = QUuid::createUuid(), .name = u"Q2"_s } }).first();
    thread.mediaPlanRows.resize(1);
    thread.competitorAds.resize(1);
    thread.splitAgentTabID = thread.agentTabs.last().id;
    thread.agentTabs.first().statusText = u"Running tools…"_s;
    return toJson(QList<CampaignIDEThread> { thread });
}

TEST(RecordsBadInput, ThreadDocumentsDecodeOrFailWithANamedError)
{
    std::mt19937 random(20240611);
    const Json document = seedThreadDocument();
    const std::string text = dumpJson(document).toStdString();
    Decoder<QList<CampaignIDEThread>> decoder;

    truncate(text, 250, decoder);
    swapValues(document, 1000, random, decoder);
    mutateBytes(text, 1000, random, decoder);

    // Both outcomes happen: unknown keys and whole-valued numbers decode, most damage does not.
    EXPECT_GT(decoder.decoded, 50);
    EXPECT_GT(decoder.refused, 1000);
}

} // namespace
