#include "ide/records/OrvaneWebParitySeeds.h"

#include <QStringBuilder>

using namespace Qt::StringLiterals;

namespace orvane::OrvaneWebParitySeeds {

namespace {

// The competitor domains the seed threads study; the spy persona's starter prompt names both.
const QString &firstCompetitorDomain()
{
    static const QString domain = u"taskvane.io"_s;
    return domain;
}

const QString &secondCompetitorDomain()
{
    static const QString domain = u"plannly.dev"_s;
    return domain;
}

QUuid fixedUuid(const char *text)
{
    return QUuid::fromString(QLatin1StringView(text));
}

bool isWordBreak(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == QChar::LineSeparator
        || c == QChar::ParagraphSeparator || c == u'\v' || c == u'\f';
}

CampaignAgentTab seedTab(
    const char *id, QString title, QString personaName, QString personaHandle, QList<CampaignTimelineEntry> entries)
{
    return {
        .id = fixedUuid(id),
        .title = std::move(title),
        .personaName = std::move(personaName),
        .personaHandle = std::move(personaHandle),
        .entries = std::move(entries),
        .draftPrompt = {},
        .isStreaming = false,
        .statusText = std::nullopt,
    };
}

} // namespace

QString capitalizedWords(const QString &text)
{
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (isWordBreak(text.at(i))) {
            result += text.at(i);
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && !isWordBreak(text.at(end)))
            ++end;
        // The first letter may be a surrogate pair.
        const qsizetype firstLength = text.at(i).isHighSurrogate() && i + 1 < end ? 2 : 1;
        result += text.mid(i, firstLength).toUpper();
        result += text.mid(i + firstLength, end - i - firstLength).toLower();
        i = end;
    }
    return result;
}

const QList<OrvaneAgentPersona> &personas()
{
    static const QList<OrvaneAgentPersona> catalog = [] {
        const QString spyPrompt = u"Analyze competitor ads and paid search keywords for "_s % firstCompetitorDomain()
            % u" and "_s % secondCompetitorDomain()
            % u", then clone counter-positioning hooks onto our Creative Canvas."_s;
        return QList<OrvaneAgentPersona> {
            {
                .id = u"orvane-operator"_s,
                .name = u"Orvane Native Operator"_s,
                .handle = u"@orvane"_s,
                .role = u"Full-Stack Paid Media Operator"_s,
                .specialty = u"Plans campaigns, builds multi-channel media tables, generates Creative Studio "
                             u"artboards, and executes behind approval gates."_s,
                .icon = u"sparkles"_s,
                .accentHex = u"#CCFF00"_s,
                .starterPrompt = u"Build a multi-channel B2B launch plan across LinkedIn, Google Search, and Reddit "
                                 u"with a $45,000/mo budget and generate matching ad artboards."_s,
                .defaultWorkbench = IDEWorkbenchView::document,
            },
            {
                .id = u"media-strategist"_s,
                .name = u"Paid Media Strategist"_s,
                .handle = u"@strategist"_s,
                .role = u"Budget & Trafficking Architect"_s,
                .specialty = u"Designs full-funnel media plans, channel budget splits, bid strategies, and CPA/ROAS "
                             u"scenario tables."_s,
                .icon = u"tablecells"_s,
                .accentHex = u"#00E5FF"_s,
                .starterPrompt = u"Create a detailed trafficking table comparing Google High-Intent Search, LinkedIn "
                                 u"ABM, and Reddit Technical Communities with daily budgets and target CPAs."_s,
                .defaultWorkbench = IDEWorkbenchView::table,
            },
            {
                .id = u"creative-director"_s,
                .name = u"Creative Studio Director"_s,
                .handle = u"@creative"_s,
                .role = u"Multi-Channel Ad Artboard Designer"_s,
                .specialty = u"Builds 1:1, 16:9, and 9:16 ad creatives across LinkedIn, Meta, Google, X, and Reddit "
                             u"with high-contrast brand typography."_s,
                .icon = u"rectangle.3.group"_s,
                .accentHex = u"#CCFF00"_s,
                .starterPrompt = u"Generate 4 high-converting ad artboards on the Creative Canvas testing pain-led vs. "
                                 u"proof-led hooks for enterprise engineering leaders."_s,
                .defaultWorkbench = IDEWorkbenchView::canvas,
            },
            {
                .id = u"search-engineer"_s,
                .name = u"GAQL & Search Engineer"_s,
                .handle = u"@gaql"_s,
                .role = u"Search Intent & Negative Keyword Specialist"_s,
                .specialty = u"Writes GAQL diagnostics, audits match-type waste, builds exact-match keyword clusters, "
                             u"and configures conversion actions."_s,
                .icon = u"terminal"_s,
                .accentHex = u"#38BDF8"_s,
                .starterPrompt = u"Audit our Google Search non-brand campaigns, flag wasted spend on broad match "
                                 u"terms, and add high-intent exact match ad groups to the table."_s,
                .defaultWorkbench = IDEWorkbenchView::table,
            },
            {
                .id = u"attribution-analyst"_s,
                .name = u"Attribution & Lift Analyst"_s,
                .handle = u"@analyst"_s,
                .role = u"Pipeline & Incrementality Forensics"_s,
                .specialty = u"Connects ad platform spend to closed-won CRM pipeline, models CAC payback, and builds "
                             u"executive attribution dashboards."_s,
                .icon = u"chart.xyaxis.line"_s,
                .accentHex = u"#10B981"_s,
                .starterPrompt = u"Build a 30-day multi-touch attribution dashboard comparing LinkedIn influence vs. "
                                 u"Google Search last-touch pipeline."_s,
                .defaultWorkbench = IDEWorkbenchView::dashboard,
            },
            {
                .id = u"competitor-spy"_s,
                .name = u"Competitor Intelligence Spy"_s,
                .handle = u"@spy"_s,
                .role = u"Ad Library & Keyword Teardown Agent"_s,
                .specialty = u"Extracts competitor paid search keywords, active Meta/LinkedIn ad hooks, and landing "
                             u"page offers so you can counter-position."_s,
                .icon = u"safari"_s,
                .accentHex = u"#F59E0B"_s,
                .starterPrompt = spyPrompt,
                .defaultWorkbench = IDEWorkbenchView::explore,
            },
        };
    }();
    return catalog;
}

QList<CampaignMediaPlanRow> defaultMediaPlanRows()
{
    return {
        CampaignMediaPlanRow::make(QUuid::createUuid(), u"LinkedIn"_s, u"LI_NA_ABM_VP_DemandGen_1x1"_s,
            u"Prospecting (ABM)"_s, u"VP Growth, Head of Paid Media (200–2,000 emp)"_s,
            u"Single Image 1:1 + Thought Leader"_s, 675, 20250, u"Target Cost ($185 CPA)"_s, 185, 109, u"Ready"_s),
        CampaignMediaPlanRow::make(QUuid::createUuid(), u"Google Search"_s, u"GOOG_US_Exact_AI_Ad_Platform"_s,
            u"High-Intent Capture"_s, u"Exact: [ad manager tabs alternative], [ai media buyer], [ad ops agent]"_s,
            u"Responsive Search Ad (RSA)"_s, 525, 15750, u"Maximize Conversions (tCPA $160)"_s, 160, 98, u"Ready"_s),
        CampaignMediaPlanRow::make(QUuid::createUuid(), u"Reddit"_s, u"RDT_US_Subreddits_PPC_MarketingOps"_s,
            u"Technical Evaluation"_s, u"r/PPC, r/marketingops, r/growthhacking, r/saas"_s, u"Conversation Ad 16:9"_s,
            150, 4500, u"CPC Cap ($2.40)"_s, 210, 21, u"Ready"_s),
        CampaignMediaPlanRow::make(QUuid::createUuid(), u"X"_s, u"X_NA_Founders_AI_Agent_Launch"_s,
            u"Category Awareness & Retargeting"_s, u"Followers of @neuralforge & @agentworks + SaaS founders"_s,
            u"Promoted Image + Website Card"_s, 150, 4500, u"Auto-Bid (Website Clicks)"_s, 225, 20, u"Ready"_s),
    };
}

QList<CampaignCompetitorAd> defaultCompetitorAds(const QString &domain)
{
    return {
        {
            .id = QUuid::createUuid(),
            .competitorDomain = domain,
            .channel = u"LinkedIn"_s,
            .headline = u"Plan and build products without status-meeting sprawl."_s,
            .bodyCopy = u"High-velocity engineering teams standardize on "_s % domain
                % u" to ship 2.4x faster with keyboard-first workflows."_s,
            .cta = u"Start Free Workspace"_s,
            .topKeywords
            = { domain % u" alternatives"_s, u"enterprise product planning"_s, u"engineering workflow tool"_s },
            .estimatedMonthlySpend = u"$68,400/mo"_s,
            .activeDays = 47,
        },
        {
            .id = QUuid::createUuid(),
            .competitorDomain = domain,
            .channel = u"Google Search"_s,
            .headline = u"The Issue Tracker Built for Speed — Try "_s % capitalizedWords(domain),
            .bodyCopy = u"Migrate from your legacy issue tracker in 2 minutes. Repo and chat sync, sub-50ms "
                        u"navigation, automated cycle insights."_s,
            .cta = u"Try Free"_s,
            .topKeywords
            = { u"legacy issue tracker alternative for startups"_s, u"fast issue tracker"_s, domain % u" pricing"_s },
            .estimatedMonthlySpend = u"$42,100/mo"_s,
            .activeDays = 92,
        },
        {
            .id = QUuid::createUuid(),
            .competitorDomain = domain,
            .channel = u"Reddit"_s,
            .headline = u"Why we replaced 4 spreadsheets and 3 dashboards with one native workspace"_s,
            .bodyCopy = u"Here is the exact workflow our team uses to keep every launch artifact, spec, and metric in "
                        u"one place."_s,
            .cta = u"Read Teardown"_s,
            .topKeywords = { u"r/softwareengineering"_s, u"r/productmanagement"_s, u"r/startups"_s },
            .estimatedMonthlySpend = u"$14,800/mo"_s,
            .activeDays = 29,
        },
    };
}

QList<CampaignRecommendedNextAction> defaultRecommendedActions()
{
    return {
        {
            .id = QUuid::createUuid(),
            .category = u"BUDGET OPTIMIZATION"_s,
            .platform = u"LinkedIn + Reddit"_s,
            .accountName = u"Orvane Enterprise ABM"_s,
            .title = u"Shift $4,500/mo from Reddit broad placements to LinkedIn VP Growth ABM"_s,
            .impactEstimate = u"+18 qualified demos / mo (-$24 blended CPA)"_s,
            .rationale = u"LinkedIn VP Growth 1:1 artboards are converting at $164 CPA vs. $238 on broad subreddit "
                         u"placements over the last 14 days."_s,
            .prompt = u"Rebalance our media plan table to shift $150/day ($4,500/mo) from Reddit broad placements "
                      u"into LinkedIn VP Growth ABM and update the campaign plan document."_s,
            .targetWorkbench = IDEWorkbenchView::table,
            .isCompleted = false,
        },
        {
            .id = QUuid::createUuid(),
            .category = u"CREATIVE STUDIO"_s,
            .platform = u"Meta + LinkedIn"_s,
            .accountName = u"Orvane Demand Gen"_s,
            .title = u"Generate 3 dark-mode “Orvane vs. Legacy Ad Manager” comparison artboards (1:1, 16:9, 9:16)"_s,
            .impactEstimate = u"+1.4% CTR lift across social feeds"_s,
            .rationale = u"IDE-style dark creative frames with terminal proof points outperform generic SaaS stock "
                         u"graphics by 2.1x CTR."_s,
            .prompt = u"Generate 3 new high-contrast comparison creative artboards on the Creative Canvas for "
                      u"LinkedIn (1:1), Reddit (16:9), and Meta Stories (9:16), and mark them ready for review."_s,
            .targetWorkbench = IDEWorkbenchView::canvas,
            .isCompleted = false,
        },
        {
            .id = QUuid::createUuid(),
            .category = u"SEARCH WASTE AUDIT"_s,
            .platform = u"Google Search"_s,
            .accountName = u"Orvane Growth — US Search"_s,
            .title = u"Add 24 negative keywords & launch Competitor Conquesting exact-match ad group"_s,
            .impactEstimate = u"Saves $3,200/mo in non-converting clicks"_s,
            .rationale = u"Broad queries for 'free graphic design software' and 'ad blocker extension' triggered 412 "
                         u"wasted clicks."_s,
            .prompt = u"Audit our Google Search campaign in the Media Plan Table, add a Competitor Conquesting "
                      u"exact-match row with $250/day budget, and tighten guardrails in the document."_s,
            .targetWorkbench = IDEWorkbenchView::table,
            .isCompleted = false,
        },
        {
            .id = QUuid::createUuid(),
            .category = u"ATTRIBUTION & TRACKING"_s,
            .platform = u"Tallyflow + Pipewell"_s,
            .accountName = u"Orvane B2B Pipeline"_s,
            .title = u"Verify server-side CAPI & UTM parameter contract across all 4 launch channels"_s,
            .impactEstimate = u"98.4% closed-won pipeline match rate"_s,
            .rationale = u"Ensure every ad creative carries utm_source, utm_medium, utm_campaign, and click-ID "
                         u"passthrough before execution."_s,
            .prompt = u"Verify UTM parameters and conversion tracking pixels across all channels in our Campaign "
                      u"Plan Document and prepare the campaign for launch."_s,
            .targetWorkbench = IDEWorkbenchView::document,
            .isCompleted = false,
        },
    };
}

QList<CampaignAssetLibraryItem> defaultAssets(const QUuid &projectID)
{
    using Kind = CampaignAssetLibraryItem::AssetKind;
    const auto item = [&projectID](QString name, Kind kind, QString channel, QString dimensions, QString headline,
                          QString subtitle, QString status, QString updatedAt) {
        return CampaignAssetLibraryItem {
            .id = QUuid::createUuid(),
            .name = std::move(name),
            .kind = kind,
            .channel = std::move(channel),
            .dimensions = std::move(dimensions),
            .headline = std::move(headline),
            .subtitle = std::move(subtitle),
            .status = std::move(status),
            .updatedAt = std::move(updatedAt),
            .projectID = projectID,
        };
    };
    return {
        item(u"LI_Exec_Pipeline_Proof_1x1.png"_s, Kind::adCreative, u"LinkedIn"_s, u"1080×1080 (1:1)"_s,
            u"Your growth. Under your control."_s,
            u"Direct AI agents across 16 ad platforms with human approval gates."_s, u"Approved"_s, u"8m ago"_s),
        item(u"GOOG_RSA_Orvane_vs_Legacy_Ad_Manager"_s, Kind::adCreative, u"Google Search"_s, u"RSA (15H / 4D)"_s,
            u"Orvane — The Legacy Ad Manager Alternative for Paid Media & Growth Teams"_s,
            u"Plan, build, and govern Google, Meta, LinkedIn, and Reddit ads in one IDE."_s, u"Approved"_s,
            u"14m ago"_s),
        item(u"RDT_Operator_Walkthrough_16x9.png"_s, Kind::adCreative, u"Reddit"_s, u"1920×1080 (16:9)"_s,
            u"How we replaced 6 ad-platform tabs with a local Campaign IDE"_s,
            u"Markdown plans, live creative canvas, and before/after diffs."_s, u"Needs Review"_s, u"22m ago"_s),
        item(u"LP_High_Intent_Demo_Gate"_s, Kind::landingPage, u"Web / Tallyflow"_s, u"Responsive /orvane-demo"_s,
            u"Book a Live Operator Walkthrough"_s,
            u"Interactive ROI calculator + instant sandbox workspace provisioning."_s, u"Approved"_s, u"1h ago"_s),
        item(u"AUD_VP_Growth_B2B_SaaS_200_2000"_s, Kind::audience, u"LinkedIn + Meta"_s, u"48,200 matched accounts"_s,
            u"VP Growth, CMO, Head of Paid Acquisition"_s,
            u"North America & UK B2B software companies ($10M–$250M ARR)."_s, u"Ready"_s, u"2h ago"_s),
    };
}

const QList<CampaignPlatformConnection> &defaultConnections()
{
    using Mode = CampaignPlatformConnection::ConnectionMode;
    static const QList<CampaignPlatformConnection> connections = {
        { u"google"_s, u"Google Ads"_s, u"Paid Search & YouTube"_s, u"magnifyingglass.circle.fill"_s, u"492-881-2041"_s,
            u"Orvane Growth — US Search"_s, Mode::localSandbox, u"2m ago"_s },
        { u"linkedin"_s, u"LinkedIn Ads"_s, u"B2B Paid Social"_s, u"person.2.crop.square.stack.fill"_s, u"509281742"_s,
            u"Orvane Enterprise ABM"_s, Mode::localSandbox, u"4m ago"_s },
        { u"meta"_s, u"Meta Ads"_s, u"Paid Social & Retargeting"_s, u"rectangle.stack.badge.person.crop"_s,
            u"act_884120953"_s, u"Orvane Demand Gen"_s, Mode::localSandbox, u"5m ago"_s },
        { u"reddit"_s, u"Reddit Ads"_s, u"Developer & Tech Communities"_s, u"bubble.left.and.bubble.right.fill"_s,
            u"t2_orvane_dev"_s, u"Orvane DevOps Communities"_s, Mode::localSandbox, u"8m ago"_s },
        { u"x"_s, u"X Ads"_s, u"Real-Time Tech & AI Reach"_s, u"bolt.horizontal.circle.fill"_s, u"18ce54a991"_s,
            u"Orvane AI Operators"_s, Mode::localSandbox, u"12m ago"_s },
        { u"microsoft"_s, u"Microsoft Ads"_s, u"Enterprise Search & Bing"_s, u"globe.americas.fill"_s, u"14099281"_s,
            u"Orvane Enterprise Bing"_s, Mode::localSandbox, u"15m ago"_s },
        { u"tiktok"_s, u"TikTok Ads"_s, u"Short-Form Video"_s, u"play.rectangle.fill"_s, u"719283741"_s,
            u"Orvane Creator Video"_s, Mode::disconnected, u"Never"_s },
        { u"tallyflow"_s, u"Tallyflow Analytics"_s, u"Product & Funnel Events"_s, u"chart.bar.doc.horizontal.fill"_s,
            u"tf_proj_88213"_s, u"Orvane Web + App Events"_s, Mode::localSandbox, u"1m ago"_s },
        { u"pipewell"_s, u"Pipewell CRM"_s, u"Pipeline & Closed-Won Truth"_s, u"building.2.crop.circle.fill"_s,
            u"pw-2041937"_s, u"Orvane B2B Pipeline"_s, Mode::localSandbox, u"6m ago"_s },
        { u"mcp"_s, u"Local Universal Ads MCP"_s, u"Local IDE & Agent Execution Layer"_s, u"cpu.fill"_s,
            u"local://~/Documents/Orvane"_s, u"Linux Local Campaign Runtime"_s, Mode::localSandbox, u"Live"_s },
    };
    return connections;
}

QList<CampaignIDEThread> defaultThreads(const QList<CampaignIDEProject> &projects, const QString &shownRoot)
{
    using Role = CampaignTimelineEntry::EntryRole;

    const CampaignTimelineEntry e1 {
        .id = QUuid::createUuid(),
        .role = Role::user,
        .authorName = u"You"_s,
        .text = u"Build our Q2 High-Intent Pipeline Launch plan across LinkedIn, Google Search, Reddit, and X with a "
                u"$45,000/mo budget and generate the initial creative artboards."_s,
        .timestamp = u"12m ago"_s,
        .toolInvocations = {},
        .inlineApproval = std::nullopt,
        .artifactLink = std::nullopt,
    };
    const CampaignTimelineEntry e2{
        .id = QUuid::createUuid(),
        .role = Role::agent,
        .authorName = u"Orvane Native Operator"_s,
        .text = u"I have structured the **Q2 High-Intent Pipeline Launch** plan across LinkedIn ABM (45%), Google "
                u"Exact-Match Search (35%), Reddit Technical Communities (10%), and X Operator Reach (10%), populated "
                u"the **Media Plan Table** with 4 channel rows totaling **$1,500/day ($45,000/mo)**, and generated "
                u"**4 Creative Studio artboards** synced to `"_s
            % shownRoot
            % u"/`.\n\n"
              u"You can switch between **Document**, **Table**, **Canvas**, **Dashboard**, **Explore**, and "
                u"**Local Files** in the workbench on the right, or ask me to adjust budgets, rewrite ad hooks, or "
                u"run a competitor teardown."_s,
        .timestamp = u"11m ago"_s,
        .toolInvocations =
            {
                CampaignToolInvocation::completed(u"write_campaign_document"_s, u"Updated 5 sections in campaign-plan.md"_s,
                              u"{\"project\": \"Q2 High-Intent Pipeline Launch\", \"monthlyBudget\": 45000}"_s,
                              u"Wrote "_s % shownRoot
                                  % u"/q2-high-intent-pipeline-launch/campaign-plan.md (5 sections, "
                                    u"KPI targets verified)"_s,
                              420),
                CampaignToolInvocation::completed(u"upsert_media_plan_table"_s, u"Created 4 channel trafficking rows ($1,500/day)"_s,
                              u"{\"channels\": [\"LinkedIn\", \"Google Search\", \"Reddit\", \"X\"]}"_s,
                              u"4 rows synced to media-plan.csv ($45,000/mo total, $178 blended target CPA)"_s, 310),
                CampaignToolInvocation::completed(u"generate_creative_artboards"_s,
                              u"Generated 4 multi-channel artboards on Creative Canvas"_s,
                              u"{\"formats\": [\"1:1\", \"16:9\", \"9:16\"]}"_s,
                              u"Synced 4 artboards to creatives.json"_s, 680),
            },
        .inlineApproval =
            CampaignInlineApproval{
                .id = QUuid::createUuid(),
                .title = u"Shift 10% budget ($4,500/mo) from Reddit to LinkedIn VP Growth ABM"_s,
                .platform = u"LinkedIn + Reddit"_s,
                .beforeSummary = u"LinkedIn $20,250/mo (45%) • Reddit $4,500/mo (10%)"_s,
                .afterSummary = u"LinkedIn $24,750/mo (55%) • Reddit $2,250/mo (5%)"_s,
                .budgetDelta = u"+18 est. demos/mo at $168 blended CPA"_s,
                .status = CampaignInlineApproval::ApprovalDecision::pending,
            },
        .artifactLink = IDEWorkbenchView::document,
    };
    const CampaignTimelineEntry e3 {
        .id = QUuid::createUuid(),
        .role = Role::agent,
        .authorName = u"Creative Studio Director"_s,
        .text = u"Creative Canvas is loaded with 4 artboards across **LinkedIn (1:1)**, **Google Search (RSA)**, "
                u"**Reddit (16:9)**, and **X (16:9)**. Select any artboard on the canvas or ask me to generate new "
                u"variants, test dark/light contrast, or approve all creatives for launch."_s,
        .timestamp = u"9m ago"_s,
        .toolInvocations = { CampaignToolInvocation::completed(u"inspect_canvas_artboards"_s,
            u"Verified 4 artboards against brand tokens"_s,
            u"{\"checkContrast\": true, \"brandFonts\": [\"Syne\", \"Space Grotesk\", \"IBM Plex Mono\"]}"_s,
            u"2 Approved, 2 Needs Review"_s, 190) },
        .inlineApproval = std::nullopt,
        .artifactLink = IDEWorkbenchView::canvas,
    };

    QList<CampaignIDEThread> threads;
    threads.append({
        .id = fixedUuid("80000000-0000-0000-0000-000000000001"),
        .projectID = projects.isEmpty() ? QUuid::createUuid() : projects.first().id,
        .title = u"Q2 High-Intent Pipeline Launch — Full Funnel Plan"_s,
        .isStarred = true,
        .updatedAt = u"Just now"_s,
        .workbenchView = IDEWorkbenchView::document,
        .dryRunEnabled = false,
        .approvalMode = ThreadApprovalMode::manual,
        .agentTabs = { seedTab("70000000-0000-0000-0000-000000000001", u"Launch Strategy & Plan"_s,
                           u"Orvane Native Operator"_s, u"@orvane"_s, { e1, e2 }),
            seedTab("70000000-0000-0000-0000-000000000002", u"Creative Studio Matrix"_s, u"Creative Studio Director"_s,
                u"@creative"_s, { e3 }) },
        .activeAgentTabID = fixedUuid("70000000-0000-0000-0000-000000000001"),
        .splitAgentTabID = std::nullopt,
        .mediaPlanRows = defaultMediaPlanRows(),
        .competitorDomain = firstCompetitorDomain(),
        .competitorAds = defaultCompetitorAds(firstCompetitorDomain()),
        .rawMarkdownOverride = std::nullopt,
        .utmSource = u"orvane_paid"_s,
        .utmMedium = u"cpc_paid_social"_s,
        .utmCampaign = u"q2_high_intent_pipeline_2026"_s,
        .conversionPixelsVerified = true,
    });

    if (projects.size() >= 2) {
        const CampaignIDEProject &second = projects.at(1);
        const CampaignTimelineEntry e4 {
            .id = QUuid::createUuid(),
            .role = Role::agent,
            .authorName = u"GAQL & Search Engineer"_s,
            .text = u"Loaded competitor keyword clusters and high-intent search rows for **"_s % second.name
                % u"**. Switch to **Table** or **Explore** to inspect competitor ad copy and bid caps."_s,
            .timestamp = u"24m ago"_s,
            .toolInvocations = {},
            .inlineApproval = std::nullopt,
            .artifactLink = IDEWorkbenchView::table,
        };
        threads.append({
            .id = fixedUuid("80000000-0000-0000-0000-000000000002"),
            .projectID = second.id,
            .title = u"Competitor Search Capture — Exact Match & Teardown"_s,
            .isStarred = true,
            .updatedAt = u"24m ago"_s,
            .workbenchView = IDEWorkbenchView::table,
            .dryRunEnabled = false,
            .approvalMode = ThreadApprovalMode::manual,
            .agentTabs = { seedTab("70000000-0000-0000-0000-000000000003", u"Search Conquesting"_s,
                u"GAQL & Search Engineer"_s, u"@gaql"_s, { e4 }) },
            .activeAgentTabID = fixedUuid("70000000-0000-0000-0000-000000000003"),
            .splitAgentTabID = std::nullopt,
            .mediaPlanRows = defaultMediaPlanRows(),
            .competitorDomain = secondCompetitorDomain(),
            .competitorAds = defaultCompetitorAds(secondCompetitorDomain()),
            .rawMarkdownOverride = std::nullopt,
            .utmSource = u"google_search"_s,
            .utmMedium = u"cpc"_s,
            .utmCampaign = u"q2_competitor_conquest"_s,
            .conversionPixelsVerified = true,
        });
    }
    return threads;
}

} // namespace orvane::OrvaneWebParitySeeds
