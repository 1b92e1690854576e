#pragma once

#include "ide/records/CampaignIDESection.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QHash>
#include <QWidget>

class QLabel;

namespace orvane {

class ArtboardGridModel;
class CardGridView;
class ClickableButton;
class CreativeCanvasInspector;
class ThemeSplitter;

// The creative canvas of a thread: the selected project's artboards as a grid of preview cards
// under a tool strip and two bulk actions, with the inspector of the selected artboard beside the
// grid while there is one. The artboards, the selection and the tool are the model's, so they
// follow the selected project whichever thread is open and survive switching views.
class CreativeCanvasTabView final : public Panel {
    Q_OBJECT
public:
    static constexpr int gridMinimumWidth = 380;
    static constexpr int cardMinimumWidth = 270;
    static constexpr int gridSpacing = 14;
    static constexpr int gridPadding = 16;
    static const QString generatePrompt;

    CreativeCanvasTabView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    // "Select" for select: the tool's raw value with its first letter in upper case.
    [[nodiscard]] static QString toolTipFor(CreativeCanvasTool tool);
    // The object name of a tool's button ("canvasToolSelectButton").
    [[nodiscard]] static QString toolButtonName(CreativeCanvasTool tool);

    // Nothing: a narrow workbench column clips the view rather than widening the window.
    [[nodiscard]] QSize minimumSizeHint() const override { return { 0, 0 }; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // The view's own ground, so dividers and gaps show over the theme's canvas in any parent.

private:
    QWidget *buildToolBar();
    void syncTools();
    void syncCount();
    void syncInspector();
    void generateArtboards();
    // The selected artboard's card comes into view once the grid is shown and laid out (a clone
    // from the explorer lands at the end of a long grid).
    void revealSelectionSoon();
    void revealSelection();

    WorkspaceViewContext m_context;
    ArtboardGridModel *m_artboards;
    QHash<CreativeCanvasTool, ClickableButton *> m_toolButtons;
    QLabel *m_approveAllText = nullptr;
    CardGridView *m_grid = nullptr;
    CreativeCanvasInspector *m_inspector = nullptr;
    ThemeSplitter *m_splitter = nullptr;
    bool m_revealPending = false;
};

} // namespace orvane
