#include "ide/views/workbench/DefaultPlanMarkdown.h"
#include "ide/views/workbench/WorkbenchFormat.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

CampaignIDEProject project(const QString &channelsAndBudget)
{
    CampaignIDEProject p;
    p.name = u"Q3 Launch"_s;
    p.status = u"Creative review"_s;
    p.objective = u"Pipeline"_s;
    p.audience = u"Ops leaders\nand CFOs"_s;
    p.channelsAndBudget = channelsAndBudget;
    return p;
}

TEST(DefaultPlanMarkdownTest, LaysOutTheProjectVerbatim)
{
    EXPECT_EQ(defaultPlanMarkdown(project(u"Search · $12,500k and $9,000"_s), u"ignored"_s),
        u"# Q3 Launch\n\n- **Budget:** $12,500k\n- **Status:** Creative review\n"
        "- **Channels:** LinkedIn, Google Search, Reddit, X\n\n## Objective\nPipeline\n\n"
        "## Target Audience\nOps leaders\nand CFOs"_s);
}

TEST(DefaultPlanMarkdownTest, WithoutAProjectUsesTheThreadAndStandIns)
{
    EXPECT_EQ(defaultPlanMarkdown(std::nullopt, u"Thread"_s),
        u"# Thread\n\n- **Budget:** $45,000\n- **Status:** Active\n"
        "- **Channels:** LinkedIn, Google Search, Reddit\n\n## Objective\n\n\n## Target Audience\n"_s);
}

TEST(DefaultPlanMarkdownTest, OnlyADollarSignRightBeforeDigitsMakesABudget)
{
    const auto budgetLine
        = [](const QString &text) { return defaultPlanMarkdown(project(text), {}).section(u'\n', 2, 2); };
    EXPECT_EQ(budgetLine(u"$ 40,000"_s), u"- **Budget:** $45,000"_s);
    EXPECT_EQ(budgetLine(u"40000"_s), u"- **Budget:** $45,000"_s);
    EXPECT_EQ(budgetLine(u"$,1,2,,3K"_s), u"- **Budget:** $,1,2,,3"_s);
    CampaignIDEProject blank = project(u""_s);
    blank.name.clear();
    blank.status.clear();
    const QString text = defaultPlanMarkdown(blank, u"Thread"_s);
    EXPECT_TRUE(text.startsWith(u"# \n"_s));
    EXPECT_TRUE(text.contains(u"\n- **Status:** \n"_s));
}

TEST(WorkbenchFormatTest, TruncatesAndGroupsMoney)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(workbench::plainDollars(-0.5), u"$0"_s);
    EXPECT_EQ(workbench::groupedDollars(45000.99), u"$45,000"_s);
    EXPECT_EQ(workbench::plainDollars(std::numeric_limits<double>::quiet_NaN()), u"$0"_s);
    EXPECT_EQ(workbench::wholeDollars(1e300), std::numeric_limits<qint64>::max());
    EXPECT_EQ(workbench::wholeDollars(-1e300), std::numeric_limits<qint64>::min());
    QLocale::setDefault(previous);
}

} // namespace
} // namespace orvane
