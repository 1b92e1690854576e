#pragma once

#include "ide/model/StoredValue.h"
#include "ide/records/CampaignIDEThread.h"
#include "ide/records/CampaignThreadSummary.h"
#include "ide/records/IDEWorkbenchView.h"
#include "ide/records/OrvaneAgentPersona.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

namespace orvane {

class ThreadStore;

// The threads in list order, their bodies (read from the thread store when shown or changed) and
// the edits of one thread that need nothing else: tabs, split pane, settings, draft, star, title.
// Lives on the main thread. Changes are published with the finest signal that describes them;
// saving schedules the store's writes, which run on the disk writer.
class ThreadList final : public QObject {
    Q_OBJECT

public:
    // Takes the stored threads' heads from the store; `fallback` gives the list when it holds none.
    ThreadList(std::unique_ptr<ThreadStore> store, const std::function<QList<CampaignIDEThread>()> &fallback,
        QObject *parent = nullptr);
    // Waits for the store's reads that are running.
    ~ThreadList() override;
    ThreadList(const ThreadList &) = delete;
    ThreadList &operator=(const ThreadList &) = delete;

    // Every thread in list order. A thread's body (tabs, timelines, tables) is read from disk when
    // the thread is shown or changed; until then it holds its head fields only (hasThreadBody()).
    [[nodiscard]] const QList<CampaignIDEThread> &threads() const { return m_threads; }
    // The first thread with the id; null when there is none. Valid until the thread list changes.
    [[nodiscard]] const CampaignIDEThread *thread(const QUuid &threadID) const;
    // The first tab with the id of that thread; null when either is missing.
    [[nodiscard]] const CampaignAgentTab *tab(const QUuid &threadID, const QUuid &tabID) const;
    [[nodiscard]] bool hasThreadBody(const QUuid &threadID) const;
    // Counts and preview of a thread, from its body when in memory, else from the store's index.
    [[nodiscard]] CampaignThreadSummary threadSummary(const CampaignIDEThread &thread) const;

    // Reads a thread's body now when it is not in memory; true when it was read.
    bool loadBody(const QUuid &threadID);
    // Brings a body into memory: now when small, else (or when asked) on a reader thread, and
    // threadChanged follows.
    void requestBody(const QUuid &threadID, bool inBackground = false);
    // The thread with its body, read now (whatever its size) when it is not in memory yet, with
    // threadChanged after the read. Operations that take a thread id look it up here: a thread
    // whose body is still on disk holds only its head. Null when no thread has the id.
    const CampaignIDEThread *wholeThread(const QUuid &threadID);
    // The whole thread for a one-off use without keeping its body in memory: the thread at hand
    // when its body is read, else the stored body read on a reader thread and joined with the
    // list's head. `done` runs on this object's thread, at once when nothing has to be read; it
    // gets none when the thread is gone (never a head-only copy). A body missing or damaged on
    // disk is replaced as when the thread is opened (a first tab, stored), and that thread comes.
    using ThreadDone = std::function<void(std::optional<CampaignIDEThread>)>;
    void readWholeThread(const QUuid &threadID, ThreadDone done);

    // Applies the change to the thread with this id (its body read first), emits threadChanged(id)
    // and saves unless told not to. False, with nothing changed or saved, when no thread has the id.
    bool mutateThread(
        const QUuid &threadID, const std::function<void(CampaignIDEThread &)> &mutation, Save save = Save::yes);
    // Changes head fields only (what the index keeps), without reading the body; saves nothing.
    bool mutateHead(const QUuid &threadID, const std::function<void(CampaignIDEThread &)> &mutation);
    // Runs the change on the first tab with that id of the thread, then emits agentTabChanged and
    // threadChanged. False, changing nothing, when either is missing.
    bool mutateTab(const QUuid &threadID, const QUuid &tabID, const std::function<void(CampaignAgentTab &)> &mutation,
        Save save = Save::yes);
    // Changes one timeline entry in place and emits timelineEntryChanged; saves nothing. False when
    // not found.
    bool updateTimelineEntry(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID,
        const std::function<void(CampaignTimelineEntry &)> &mutation);
    // Inserts a thread at a row (clamped into range) and emits threadInserted(row).
    void insertThread(qsizetype row, const CampaignIDEThread &thread, Save save = Save::yes);
    // Removes every match, emitting threadRemoved for each, and saves once when anything went.
    qsizetype removeThreads(const std::function<bool(const CampaignIDEThread &)> &predicate, Save save = Save::yes);
    // Replaces the whole list and emits threadsChanged().
    void setThreads(const QList<CampaignIDEThread> &threads, Save save = Save::yes);
    // Schedules writes of the threads that changed since they were stored, and of the index when it
    // changed, with the writes that failed since; nothing when nothing did.
    void save();
    // For a model about to go (its end, a quit, a signal): turns still running in the bodies held
    // are settled as a later start would settle them (ThreadStore::settleUnfinishedTurns()), and the
    // threads are saved when that changed any or a draft changed since the last save.
    void saveBeforeEnd();
    // Whether a write failed since the last save (the next one tries it again).
    [[nodiscard]] bool hasFailedWrites() const;

    // Whether the thread's stored body was missing or damaged, so that it started again with a new
    // first tab this run: files written from its last good body hold what it had.
    [[nodiscard]] bool isRestarted(const QUuid &threadID) const { return m_restarted.contains(threadID); }

    // Edits of one thread; an unknown thread id changes nothing.
    void selectAgentTab(const QUuid &tabID, const QUuid &threadID);
    // Never closes a thread's last tab; closing the active tab activates the first remaining one.
    void closeAgentTab(const QUuid &tabID, const QUuid &threadID);
    // Appends a tab for the persona (none: the catalog persona at the tab count) and activates it.
    void addAgentTab(const std::optional<OrvaneAgentPersona> &persona, const QUuid &threadID);
    // Closes an open split; otherwise splits the active tab with another (adding one when alone).
    void toggleSplitAgentPane(const QUuid &threadID);
    // Shows the tab in the split pane, whatever the active tab.
    void showAgentTabInSplit(const QUuid &tabID, const QUuid &threadID);
    void toggleThreadDryRun(const QUuid &threadID);
    void setThreadApprovalMode(ThreadApprovalMode mode, const QUuid &threadID);
    // The composer's draft; it reaches storage with the thread's next save, or saveBeforeEnd().
    void setThreadDraft(const QString &text, const QUuid &threadID, const QUuid &tabID);
    void toggleStarThread(const QUuid &threadID);
    // A title that is blank once trimmed is ignored.
    void renameThread(const QUuid &threadID, const QString &newTitle);

    // What sets one new thread apart from another.
    struct ThreadStart {
        QUuid projectID;
        QString title;
        IDEWorkbenchView workbench;
        QString tabTitle;
        QString personaName;
        QString personaHandle;
        QString welcome; // the text of the agent's first entry
        std::optional<IDEWorkbenchView> welcomeLink;
        QString competitorDomain;
        QString utmCampaign;
    };
    // A new thread, made "Just now": one agent tab holding the welcome entry, the seed media plan,
    // the competitor's seed ads, manual approval and no dry run.
    [[nodiscard]] static CampaignIDEThread newThread(const ThreadStart &start);
    // The tab a persona gets when added to a thread.
    [[nodiscard]] static CampaignAgentTab personaTab(const OrvaneAgentPersona &persona);
    // The first tab of a thread whose stored body could not be read.
    [[nodiscard]] static CampaignAgentTab restartTab();

Q_SIGNALS:
    // threadsChanged() is a reset of the whole list; the others describe one element.
    void threadsChanged();
    // Any change of one thread's content. Emitted after the finer signals below.
    void threadChanged(const QUuid &threadID);
    void threadInserted(qsizetype row);
    void threadRemoved(qsizetype row, const QUuid &threadID);
    void agentTabChanged(const QUuid &threadID, const QUuid &tabID);
    void timelineEntryAppended(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID);
    void timelineEntryChanged(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID);

private:
    using BodyDone = std::function<void(const std::optional<CampaignIDEThread> &)>;
    void adoptBody(const QUuid &threadID, const std::optional<CampaignIDEThread> &stored);
    // One read per thread on the reader: a second request waits for the first one's result.
    void readBodyInBackground(const QUuid &threadID, BodyDone done);
    [[nodiscard]] CampaignIDEThread *findThread(const QUuid &threadID);

    std::unique_ptr<ThreadStore> m_store;
    QList<CampaignIDEThread> m_threads;
    QHash<QUuid, QList<BodyDone>> m_backgroundReads; // waiting for the reader, per thread
    QSet<QUuid> m_restarted; // bodies lost on disk, started again this run
    bool m_draftsUnsaved = false; // a draft changed since the last save
};

} // namespace orvane
