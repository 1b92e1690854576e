#include "Golden.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace orvane::test {
namespace {

void numberRandomIds(nlohmann::ordered_json &json, std::map<std::string, int> &seen)
{
    static const std::regex kRandomId(
        "[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-4[0-9a-fA-F]{3}-[89abAB][0-9a-fA-F]{3}-[0-9a-fA-F]{12}");
    if (json.is_string()) {
        const std::string text = json.get<std::string>();
        std::string numbered;
        auto last = text.cbegin();
        for (std::sregex_iterator it(text.cbegin(), text.cend(), kRandomId), end; it != end; ++it) {
            std::string id = it->str();
            std::transform(id.begin(), id.end(), id.begin(), [](unsigned char c) { return std::tolower(c); });
            const auto [found, added] = seen.emplace(id, static_cast<int>(seen.size()) + 1);
            numbered.append(last, (*it)[0].first).append("<id " + std::to_string(found->second) + ">");
            last = (*it)[0].second;
        }
        if (last != text.cbegin())
            json = numbered.append(last, text.cend());
        return;
    }
    if (!json.is_structured())
        return;
    for (auto &child : json)
        numberRandomIds(child, seen);
}

QString goldenPath(std::string_view path)
{
    return QStringLiteral(ORVANE_TESTS_DIR "/") + QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

} // namespace

testing::AssertionResult matchesGolden(std::string_view path, const nlohmann::ordered_json &document)
{
    nlohmann::ordered_json numbered = document;
    std::map<std::string, int> seen;
    numberRandomIds(numbered, seen);
    const std::string actual = numbered.dump(2) + '\n';
    const QString file = goldenPath(path);

    if (qEnvironmentVariableIntValue("ORVANE_UPDATE_GOLDEN") == 1) {
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(actual.data(), static_cast<qint64>(actual.size())) < 0
            || !out.flush() || !out.commit())
            return testing::AssertionFailure() << "cannot write " << file.toStdString();
        return testing::AssertionSuccess();
    }

    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return testing::AssertionFailure()
            << "no golden file " << file.toStdString() << " (run with ORVANE_UPDATE_GOLDEN=1 to write it)";
    const std::string expected = in.readAll().toStdString();
    if (expected == actual)
        return testing::AssertionSuccess();

    // Name the first line that differs; the whole text follows for a diff by eye.
    std::istringstream expectedLines(expected);
    std::istringstream actualLines(actual);
    std::string want;
    std::string got;
    int line = 0;
    while (true) {
        ++line;
        const bool moreWanted = static_cast<bool>(std::getline(expectedLines, want));
        const bool moreGot = static_cast<bool>(std::getline(actualLines, got));
        if (!moreWanted && !moreGot)
            break;
        if (!moreWanted || !moreGot || want != got)
            break;
    }
    return testing::AssertionFailure() << path << " differs at line " << line << "\n  golden: " << want
                                       << "\n  actual: " << got << "\nactual document:\n"
                                       << actual;
}

} // namespace orvane::test
