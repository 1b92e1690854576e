#pragma once

#include "ide/records/CampaignIDEProject.h"
#include "ide/records/LocalWorkspaceFile.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QWidget>

#include <optional>

class QLabel;
class QStackedWidget;

namespace orvane {

class CappedLineEdit;
class CappedTextEdit;
class ClickableButton;
class ElidedLabel;
class SummaryStatTile;
class SymbolView;
class ThemedLabel;
class WrappingLabel;
class WorkbenchThreadBinding;

// The campaign plan document of the active thread: a structured editor of the plan's name, budget,
// objective and audience with the allocation tiles and the tracking preview, or a raw markdown
// editor over the project's "campaign-plan.md" (by name, whatever file Local Files has selected).
// Each edit calls one model operation; the view
// follows the model in place and leaves a field alone while the user types in it.
class CampaignPlanDocumentView final : public QWidget {
    Q_OBJECT
public:
    CampaignPlanDocumentView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] bool rawMarkdownMode() const { return m_rawMarkdownMode; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildRawEditor();
    QWidget *buildStructuredEditor();
    QWidget *buildStrategyCard();
    QWidget *buildAllocationCard();
    QWidget *buildTrackingCard();

    // The selected project, else the first one, else none.
    [[nodiscard]] std::optional<CampaignIDEProject> documentProject() const;
    void toggleMode();
    void refresh();
    void refreshHeader();
    void refreshRawEditor();
    // What the raw editor holds: the plan file, or the default plan while the file is empty or missing.
    [[nodiscard]] QString rawContent(const std::optional<LocalWorkspaceFile> &file) const;
    void refreshStructured();
    void savePlanFile();
    void commitName();
    void commitBudget();
    void openMediaPlanTable();

    WorkspaceViewContext m_context;
    WorkbenchThreadBinding *m_binding;
    bool m_rawMarkdownMode = false;
    // Whose text the editors show: the fields are shared by every project, and nothing done in
    // one project's text may be undone into another's.
    std::optional<QUuid> m_fieldsProjectID;
    std::optional<QString> m_rawFileID;

    ElidedLabel *m_kicker = nullptr;
    WrappingLabel *m_title = nullptr;
    ClickableButton *m_modeButton = nullptr;
    SymbolView *m_modeSymbol = nullptr;
    QLabel *m_modeText = nullptr;
    QStackedWidget *m_modes = nullptr;

    WrappingLabel *m_rawCaption = nullptr;
    WrappingLabel *m_rawMissing = nullptr;
    WrappingLabel *m_rawCutNote = nullptr;
    CappedTextEdit *m_rawEditor = nullptr;
    ClickableButton *m_saveButton = nullptr;

    CappedLineEdit *m_nameField = nullptr;
    CappedLineEdit *m_budgetField = nullptr;
    WrappingLabel *m_fieldsCutNote = nullptr;
    CappedTextEdit *m_objectiveEditor = nullptr;
    WrappingLabel *m_objectiveCutNote = nullptr;
    CappedTextEdit *m_audienceEditor = nullptr;
    WrappingLabel *m_audienceCutNote = nullptr;
    ClickableButton *m_tableLink = nullptr;
    QLabel *m_tableLinkText = nullptr;
    SummaryStatTile *m_spendTile = nullptr;
    SummaryStatTile *m_cpaTile = nullptr;
    SummaryStatTile *m_creativeTile = nullptr;
    WrappingLabel *m_utmPreview = nullptr;
};

} // namespace orvane
