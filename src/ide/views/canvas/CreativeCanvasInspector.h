#pragma once

#include "ide/records/CreativeCanvasArtboard.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QList>
#include <QUuid>
#include <QWidget>

#include <optional>

class QBoxLayout;

namespace orvane {

class ClickableButton;
class ElidedLabel;
class WrappingLabel;
class ThemedTextEditor;

// The canvas inspector of one artboard: its platform and format, its size, an editor of its
// headline that writes every change through to the model, and the two review decisions. It shows
// what showArtboard() gives it and updates in place; the editor keeps its text and cursor while
// the user types.
class CreativeCanvasInspector final : public QWidget {
    Q_OBJECT
public:
    static constexpr int inspectorWidth = 280;

    CreativeCanvasInspector(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    void showArtboard(const CreativeCanvasArtboard &artboard);
    [[nodiscard]] const std::optional<QUuid> &artboardID() const { return m_artboardID; }

    // "1200 × 628 px": the numbers without grouping.
    [[nodiscard]] static QString sizeText(int width, int height);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    static constexpr int fullSidePadding = 10;
    static constexpr int minimumSidePadding = 4;
    void fitDecisions();

    WorkspaceViewContext m_context;
    QBoxLayout *m_decisions = nullptr;
    QList<ClickableButton *> m_decisionButtons;
    std::optional<QUuid> m_artboardID;
    WrappingLabel *m_title;
    ElidedLabel *m_size;
    ThemedTextEditor *m_headline;
    WrappingLabel *m_headlineCutNote;
};

} // namespace orvane
