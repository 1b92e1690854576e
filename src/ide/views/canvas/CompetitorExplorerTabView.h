#pragma once

#include "ide/views/kit/Panel.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class QLabel;

namespace orvane {

class CardGridView;
class ClickableButton;
class CompetitorAdListModel;
class WrappingLabel;

// The competitor-ad explorer of the active thread: a headline naming the thread's competitor domain,
// four domain chips that load another domain's ads, and a grid of the thread's competitor ads, each
// with a button that clones its hook onto the creative canvas.
class CompetitorExplorerTabView final : public Panel {
    Q_OBJECT
public:
    static constexpr int cardMinimumWidth = 300;
    static constexpr int gridSpacing = 14;
    static constexpr int padding = 18;
    // Between the header and the grid, inside the one scroll view that holds both.
    static constexpr int headerGap = 16;
    // The fixed domains of the chips, in chip order.
    static const QStringList competitorDomains;

    CompetitorExplorerTabView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] static QString headlineFor(const QString &domain);

    // Nothing: a narrow workbench column clips the view rather than widening the window.
    [[nodiscard]] QSize minimumSizeHint() const override { return { 0, 0 }; }

protected:
    // The view's own ground, so dividers and gaps show over the theme's canvas in any parent.

private:
    void syncHeader();

    WorkspaceViewContext m_context;
    CompetitorAdListModel *m_ads;
    WrappingLabel *m_headline = nullptr;
    QList<ClickableButton *> m_chips;
    QList<QLabel *> m_chipTexts;
    CardGridView *m_grid = nullptr;
};

} // namespace orvane
