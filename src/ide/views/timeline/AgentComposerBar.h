#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QUuid>
#include <QWidget>

class QMenu;

namespace orvane {

class CappedLineEdit;
class ClickableButton;
class ElidedLabel;
class WrappingLabel;
struct CampaignAgentTab;

// The input area of an agent pane: persona mentions, slash commands, the local sync path, the draft
// field and Send. The draft lives in the tab inside the model; the field is never re-created, it
// only takes the model's draft when that differs from what it shows.
class AgentComposerBar final : public QWidget {
    Q_OBJECT
public:
    AgentComposerBar(
        const WorkspaceViewContext &context, const QUuid &threadID, const QUuid &tabID, QWidget *parent = nullptr);

    // Binds the composer to another tab in place; the field shows that tab's draft.
    void setTab(const QUuid &threadID, const QUuid &tabID);
    [[nodiscard]] QUuid threadID() const { return m_threadID; }
    [[nodiscard]] QUuid tabID() const { return m_tabID; }

    // The prompt of each slash command, in menu order.
    [[nodiscard]] static QList<QPair<QString, QString>> slashCommands();
    [[nodiscard]] static QString competitorDomain();

private:
    void send();
    void mentionPersona(const QString &handle);
    void syncFromModel();
    void updateSyncPath();
    void applyTheme();
    [[nodiscard]] const CampaignAgentTab *findTab() const;

    WorkspaceViewContext m_context;
    QUuid m_threadID;
    QUuid m_tabID;
    ClickableButton *m_mentionMenuButton = nullptr;
    ClickableButton *m_slashMenuButton = nullptr;
    QMenu *m_mentionMenu = nullptr;
    QMenu *m_slashMenu = nullptr;
    ElidedLabel *m_syncPathLabel = nullptr;
    CappedLineEdit *m_draftField = nullptr;
    WrappingLabel *m_draftCutNote = nullptr;
    ClickableButton *m_sendButton = nullptr;
};

} // namespace orvane
