#include "ide/model/ThreadList.h"

#include "ide/model/ThreadStore.h"
#include "ide/records/OrvaneWebParitySeeds.h"

#include <QMetaObject>
#include <QStringBuilder>

#include <algorithm>

namespace orvane {

using namespace Qt::StringLiterals;

namespace {

const QString kJustNow = u"Just now"_s;

// The split pane's companion when a thread has a single tab: the catalog's creative director.
const OrvaneAgentPersona &splitCompanionPersona()
{
    return OrvaneWebParitySeeds::personas().at(2);
}

template <typename Item> Item *findByID(QList<Item> &items, const QUuid &id)
{
    const auto found = std::find_if(items.begin(), items.end(), [&id](const Item &item) { return item.id == id; });
    return found == items.end() ? nullptr : &*found;
}

} // namespace

ThreadList::ThreadList(
    std::unique_ptr<ThreadStore> store, const std::function<QList<CampaignIDEThread>()> &fallback, QObject *parent)
    : QObject(parent), m_store(std::move(store))
{
    if (auto stored = m_store->load())
        m_threads = *std::move(stored);
    else
        m_threads = fallback();
}

ThreadList::~ThreadList() = default;

// --- Look-ups -------------------------------------------------------------------------------------

const CampaignIDEThread *ThreadList::thread(const QUuid &threadID) const
{
    const auto found = std::find_if(m_threads.cbegin(), m_threads.cend(),
        [&threadID](const CampaignIDEThread &candidate) { return candidate.id == threadID; });
    return found == m_threads.cend() ? nullptr : &*found;
}

CampaignIDEThread *ThreadList::findThread(const QUuid &threadID)
{
    // Through the const look-up, so that a list shared with a snapshot is not detached for nothing.
    return thread(threadID) ? findByID(m_threads, threadID) : nullptr;
}

const CampaignAgentTab *ThreadList::tab(const QUuid &threadID, const QUuid &tabID) const
{
    const CampaignIDEThread *found = thread(threadID);
    if (!found)
        return nullptr;
    const auto tab = std::find_if(found->agentTabs.cbegin(), found->agentTabs.cend(),
        [&tabID](const CampaignAgentTab &candidate) { return candidate.id == tabID; });
    return tab == found->agentTabs.cend() ? nullptr : &*tab;
}

bool ThreadList::hasThreadBody(const QUuid &threadID) const
{
    return m_store->hasBody(threadID);
}

CampaignThreadSummary ThreadList::threadSummary(const CampaignIDEThread &thread) const
{
    if (!m_store->hasBody(thread.id)) {
        if (auto stored = m_store->storedSummary(thread.id)) {
            stored->takeHead(thread);
            return *std::move(stored);
        }
    }
    return CampaignThreadSummary::of(thread);
}

// --- Bodies ---------------------------------------------------------------------------------------

bool ThreadList::loadBody(const QUuid &threadID)
{
    if (m_store->hasBody(threadID))
        return false;
    adoptBody(threadID, m_store->readStoredBody(threadID));
    return true;
}

void ThreadList::adoptBody(const QUuid &threadID, const std::optional<CampaignIDEThread> &stored)
{
    // Only stored bodies are read, so none means it is missing or damaged. The thread stays, with a
    // tab to go on in; what was stored is set aside before that is written in its place.
    const bool lost = !stored;
    QString title;
    for (CampaignIDEThread &thread : m_threads) {
        if (thread.id != threadID)
            continue;
        thread = m_store->adoptBody(thread, stored);
        if (lost) {
            title = thread.title;
            const CampaignAgentTab tab = restartTab();
            thread.agentTabs = { tab };
            thread.activeAgentTabID = tab.id;
            thread.splitAgentTabID.reset();
        }
    }
    if (lost && !title.isNull()) {
        m_restarted.insert(threadID);
        m_store->keepLostBody(threadID, title);
        save();
    } else if (m_store->takeSettledAtRead(threadID)) {
        save(); // a turn the last process left unfinished, settled: stored as it is shown
    }
}

void ThreadList::requestBody(const QUuid &threadID, bool inBackground)
{
    if (m_store->hasBody(threadID))
        return;
    if (!inBackground && !m_store->isLarge(threadID)) {
        loadBody(threadID);
        Q_EMIT threadChanged(threadID);
        return;
    }
    readBodyInBackground(threadID, [this, id = threadID](const std::optional<CampaignIDEThread> &stored) {
        if (m_store->hasBody(id))
            return; // read meanwhile for a change, or removed
        adoptBody(id, stored);
        Q_EMIT threadChanged(id);
    });
}

void ThreadList::readBodyInBackground(const QUuid &threadID, BodyDone done)
{
    QList<BodyDone> &waiting = m_backgroundReads[threadID];
    waiting.append(std::move(done));
    if (waiting.size() > 1)
        return; // the read under way answers this one too
    const auto answer = [this](const QUuid &id, const std::optional<CampaignIDEThread> &stored) {
        const QList<BodyDone> callbacks = m_backgroundReads.take(id);
        for (const BodyDone &callback : callbacks)
            callback(stored);
    };
    if (m_store->readBodyInBackground(threadID, this, answer) || !m_store->hasBody(threadID))
        return; // the read under way answers every waiter
    // Nothing to read (the body is in memory): the waiters still hear back, as from a read.
    QMetaObject::invokeMethod(
        this, [answer, id = threadID] { answer(id, std::nullopt); }, Qt::QueuedConnection);
}

const CampaignIDEThread *ThreadList::wholeThread(const QUuid &threadID)
{
    if (loadBody(threadID))
        Q_EMIT threadChanged(threadID);
    return thread(threadID);
}

void ThreadList::readWholeThread(const QUuid &threadID, ThreadDone done)
{
    if (m_store->hasBody(threadID)) {
        const CampaignIDEThread *found = thread(threadID);
        done(found ? std::optional<CampaignIDEThread>(*found) : std::nullopt);
        return;
    }
    readBodyInBackground(
        threadID, [this, id = threadID, done = std::move(done)](const std::optional<CampaignIDEThread> &stored) {
            // None when the thread was removed meanwhile; the thread in memory when it was read
            // meanwhile (perhaps changed since).
            const CampaignIDEThread *head = thread(id);
            std::optional<CampaignIDEThread> whole;
            if (head && !m_store->hasBody(id) && !stored) {
                // Missing or damaged: the thread starts again here, as when it is opened.
                adoptBody(id, stored);
                Q_EMIT threadChanged(id);
                head = thread(id);
            }
            if (head && m_store->hasBody(id))
                whole = *head;
            else if (head && stored)
                whole = ThreadStore::bodyWithHead(*stored, *head);
            done(std::move(whole));
        });
}

// --- Mutation -------------------------------------------------------------------------------------

bool ThreadList::mutateThread(
    const QUuid &threadID, const std::function<void(CampaignIDEThread &)> &mutation, Save save)
{
    loadBody(threadID);
    CampaignIDEThread *found = findThread(threadID);
    if (!found)
        return false;
    mutation(*found);
    const QUuid changed = found->id; // the caller's id may live in the list
    Q_EMIT threadChanged(changed);
    if (save == Save::yes)
        this->save();
    return true;
}

bool ThreadList::mutateHead(const QUuid &threadID, const std::function<void(CampaignIDEThread &)> &mutation)
{
    CampaignIDEThread *found = findThread(threadID);
    if (!found)
        return false;
    mutation(*found);
    const QUuid changed = found->id;
    Q_EMIT threadChanged(changed);
    return true;
}

bool ThreadList::mutateTab(
    const QUuid &threadID, const QUuid &tabID, const std::function<void(CampaignAgentTab &)> &mutation, Save save)
{
    loadBody(threadID);
    if (!tab(threadID, tabID))
        return false;
    const QUuid thread = threadID;
    const QUuid changedTab = tabID;
    return mutateThread(
        thread,
        [&](CampaignIDEThread &t) {
            mutation(*findByID(t.agentTabs, changedTab));
            // The finer signal goes out before threadChanged.
            Q_EMIT agentTabChanged(thread, changedTab);
        },
        save);
}

bool ThreadList::updateTimelineEntry(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID,
    const std::function<void(CampaignTimelineEntry &)> &mutation)
{
    loadBody(threadID);
    const CampaignAgentTab *stored = tab(threadID, tabID);
    if (!stored
        || !std::any_of(stored->entries.cbegin(), stored->entries.cend(),
            [&entryID](const CampaignTimelineEntry &entry) { return entry.id == entryID; }))
        return false;
    const QUuid thread = threadID;
    const QUuid changedTab = tabID;
    const QUuid entry = entryID;
    return mutateThread(
        thread,
        [&](CampaignIDEThread &t) {
            mutation(*findByID(findByID(t.agentTabs, changedTab)->entries, entry));
            Q_EMIT timelineEntryChanged(thread, changedTab, entry);
        },
        Save::no);
}

void ThreadList::insertThread(qsizetype row, const CampaignIDEThread &thread, Save save)
{
    row = std::clamp<qsizetype>(row, 0, m_threads.size());
    m_threads.insert(row, thread);
    m_store->addNew(thread.id);
    Q_EMIT threadInserted(row);
    if (save == Save::yes)
        this->save();
}

qsizetype ThreadList::removeThreads(const std::function<bool(const CampaignIDEThread &)> &predicate, Save save)
{
    const qsizetype removed = removeMatching(m_threads, predicate,
        [this](qsizetype row, const CampaignIDEThread &thread) { Q_EMIT threadRemoved(row, thread.id); });
    if (removed > 0 && save == Save::yes)
        this->save();
    return removed;
}

void ThreadList::setThreads(const QList<CampaignIDEThread> &threads, Save save)
{
    m_threads = threads;
    Q_EMIT threadsChanged();
    if (save == Save::yes)
        this->save();
}

void ThreadList::save()
{
    m_draftsUnsaved = false;
    m_store->save(m_threads);
}

void ThreadList::saveBeforeEnd()
{
    // Found first: a change may detach the list from a snapshot the writer holds.
    QList<QUuid> unfinished;
    for (const CampaignIDEThread &thread : std::as_const(m_threads)) {
        if (m_store->hasBody(thread.id) && ThreadStore::hasUnfinishedTurns(thread))
            unfinished.append(thread.id);
    }
    for (const QUuid &id : std::as_const(unfinished))
        mutateThread(
            id, [](CampaignIDEThread &t) { ThreadStore::settleUnfinishedTurns(t); }, Save::no);
    if (!unfinished.isEmpty() || m_draftsUnsaved)
        save();
}

bool ThreadList::hasFailedWrites() const
{
    return m_store->hasFailedWrites();
}

// --- Edits of one thread --------------------------------------------------------------------------

void ThreadList::selectAgentTab(const QUuid &tabID, const QUuid &threadID)
{
    mutateThread(threadID, [&tabID](CampaignIDEThread &thread) { thread.activeAgentTabID = tabID; });
}

void ThreadList::closeAgentTab(const QUuid &tabID, const QUuid &threadID)
{
    loadBody(threadID);
    const CampaignIDEThread *thread = this->thread(threadID);
    if (!thread || thread->agentTabs.size() < 2)
        return;
    // Tabs restored from a damaged store may share an id; never let a close take the last tab.
    const bool keepsATab = std::any_of(thread->agentTabs.cbegin(), thread->agentTabs.cend(),
        [&tabID](const CampaignAgentTab &tab) { return tab.id != tabID; });
    if (!keepsATab)
        return;
    mutateThread(threadID, [&tabID](CampaignIDEThread &t) {
        t.agentTabs.removeIf([&tabID](const CampaignAgentTab &tab) { return tab.id == tabID; });
        if (t.activeAgentTabID == tabID && !t.agentTabs.isEmpty())
            t.activeAgentTabID = t.agentTabs.first().id;
        if (t.splitAgentTabID == tabID)
            t.splitAgentTabID.reset();
    });
}

void ThreadList::addAgentTab(const std::optional<OrvaneAgentPersona> &persona, const QUuid &threadID)
{
    loadBody(threadID);
    const CampaignIDEThread *thread = this->thread(threadID);
    if (!thread)
        return;
    const QList<OrvaneAgentPersona> &catalog = OrvaneWebParitySeeds::personas();
    const CampaignAgentTab tab = personaTab(persona ? *persona : catalog.at(thread->agentTabs.size() % catalog.size()));
    mutateThread(threadID, [&tab](CampaignIDEThread &t) {
        t.agentTabs.append(tab);
        t.activeAgentTabID = tab.id;
    });
}

void ThreadList::toggleSplitAgentPane(const QUuid &threadID)
{
    loadBody(threadID);
    const CampaignIDEThread *thread = this->thread(threadID);
    if (!thread)
        return;
    if (thread->splitAgentTabID) {
        mutateThread(threadID, [](CampaignIDEThread &t) { t.splitAgentTabID.reset(); });
        return;
    }
    if (thread->agentTabs.size() < 2)
        addAgentTab(splitCompanionPersona(), threadID);
    mutateThread(threadID, [](CampaignIDEThread &t) {
        t.splitAgentTabID.reset();
        for (const CampaignAgentTab &tab : std::as_const(t.agentTabs)) {
            if (tab.id != t.activeAgentTabID) {
                t.splitAgentTabID = tab.id;
                break;
            }
        }
    });
}

void ThreadList::showAgentTabInSplit(const QUuid &tabID, const QUuid &threadID)
{
    mutateThread(threadID, [&tabID](CampaignIDEThread &thread) { thread.splitAgentTabID = tabID; });
}

void ThreadList::toggleThreadDryRun(const QUuid &threadID)
{
    mutateThread(threadID, [](CampaignIDEThread &thread) { thread.dryRunEnabled = !thread.dryRunEnabled; });
}

void ThreadList::setThreadApprovalMode(ThreadApprovalMode mode, const QUuid &threadID)
{
    mutateThread(threadID, [mode](CampaignIDEThread &thread) { thread.approvalMode = mode; });
}

void ThreadList::setThreadDraft(const QString &text, const QUuid &threadID, const QUuid &tabID)
{
    // Drafts change on every keystroke: they reach storage with the thread's next save.
    if (mutateTab(
            threadID, tabID, [&text](CampaignAgentTab &tab) { tab.draftPrompt = text; }, Save::no))
        m_draftsUnsaved = true;
}

void ThreadList::toggleStarThread(const QUuid &threadID)
{
    mutateThread(threadID, [](CampaignIDEThread &thread) { thread.isStarred = !thread.isStarred; });
}

void ThreadList::renameThread(const QUuid &threadID, const QString &newTitle)
{
    const QString title = newTitle.trimmed();
    if (title.isEmpty())
        return;
    mutateThread(threadID, [&title](CampaignIDEThread &thread) {
        thread.title = title;
        thread.updatedAt = kJustNow;
    });
}

// --- New threads and tabs -------------------------------------------------------------------------

CampaignIDEThread ThreadList::newThread(const ThreadStart &start)
{
    const CampaignTimelineEntry welcome {
        .id = QUuid::createUuid(),
        .role = CampaignTimelineEntry::EntryRole::agent,
        .authorName = start.personaName,
        .text = start.welcome,
        .timestamp = kJustNow,
        .toolInvocations = {},
        .inlineApproval = std::nullopt,
        .artifactLink = start.welcomeLink,
    };
    const CampaignAgentTab tab {
        .id = QUuid::createUuid(),
        .title = start.tabTitle,
        .personaName = start.personaName,
        .personaHandle = start.personaHandle,
        .entries = { welcome },
        .draftPrompt = {},
        .isStreaming = false,
        .statusText = std::nullopt,
    };
    return {
        .id = QUuid::createUuid(),
        .projectID = start.projectID,
        .title = start.title,
        .isStarred = false,
        .updatedAt = kJustNow,
        .workbenchView = start.workbench,
        .dryRunEnabled = false,
        .approvalMode = ThreadApprovalMode::manual,
        .agentTabs = { tab },
        .activeAgentTabID = tab.id,
        .splitAgentTabID = std::nullopt,
        .mediaPlanRows = OrvaneWebParitySeeds::defaultMediaPlanRows(),
        .competitorDomain = start.competitorDomain,
        .competitorAds = OrvaneWebParitySeeds::defaultCompetitorAds(start.competitorDomain),
        .rawMarkdownOverride = std::nullopt,
        .utmSource = u"orvane_paid"_s,
        .utmMedium = u"cpc_paid_social"_s,
        .utmCampaign = start.utmCampaign,
        .conversionPixelsVerified = true,
    };
}

CampaignAgentTab ThreadList::restartTab()
{
    const OrvaneAgentPersona &persona = OrvaneWebParitySeeds::personas().first();
    CampaignAgentTab tab = personaTab(persona);
    tab.entries.first().text = u"This thread's earlier conversation could not be read, so it starts again here. "
                               u"Its campaign project and files are as they were."_s;
    return tab;
}

CampaignAgentTab ThreadList::personaTab(const OrvaneAgentPersona &persona)
{
    const CampaignTimelineEntry spawned {
        .id = QUuid::createUuid(),
        .role = CampaignTimelineEntry::EntryRole::agent,
        .authorName = persona.name,
        .text = u"Spawned **"_s % persona.name % u"** ("_s % persona.handle
            % u") tab on this campaign document. We share the same live Document, Media Plan Table, Creative Canvas, "
              u"and Local Files."_s,
        .timestamp = kJustNow,
        .toolInvocations = {},
        .inlineApproval = std::nullopt,
        .artifactLink = persona.defaultWorkbench,
    };
    return {
        .id = QUuid::createUuid(),
        .title = persona.name,
        .personaName = persona.name,
        .personaHandle = persona.handle,
        .entries = { spawned },
        .draftPrompt = {},
        .isStreaming = false,
        .statusText = std::nullopt,
    };
}

} // namespace orvane
