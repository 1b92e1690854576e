#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"
#include <QStringList>

#include <QUuid>
#include <QWidget>

namespace orvane {

// The four fixed prompts under an agent timeline; a chip sends its text to the tab as an agent turn.
class QuickPromptRow final : public QWidget {
    Q_OBJECT
public:
    QuickPromptRow(
        const WorkspaceViewContext &context, const QUuid &threadID, const QUuid &tabID, QWidget *parent = nullptr);

    void setTab(const QUuid &threadID, const QUuid &tabID);

    [[nodiscard]] static QStringList quickPrompts();
    // The chips scroll inside this much room on either side of the row.
    static constexpr int stripInset = 6;

private:
    WorkspaceViewContext m_context;
    QUuid m_threadID;
    QUuid m_tabID;
};

} // namespace orvane
