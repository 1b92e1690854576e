#include "ide/records/CampaignIDESection.h"
#include "ide/records/IDEWorkbenchView.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "platform/ui/SymbolUsage.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// Symbol names that reach the views through records rather than literals in view code.
TEST(RecordSymbolsTest, EverySymbolNamedByTheRecordsHasAnIcon)
{
    QStringList names;
    for (const IDEWorkbenchView view : allCases<IDEWorkbenchView>())
        names.append(icon(view));
    for (const CreativeCanvasTool tool : allCases<CreativeCanvasTool>())
        names.append(icon(tool));
    for (const OrvaneAgentPersona &persona : OrvaneWebParitySeeds::personas())
        names.append(persona.icon);
    for (const CampaignPlatformConnection &connection : OrvaneWebParitySeeds::defaultConnections())
        names.append(connection.icon);
    ASSERT_EQ(names.size(), 6 + 9 + 6 + 10);
    EXPECT_EQ(test::unmappedSymbols(names), QStringList());
}

} // namespace
} // namespace orvane
