#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QLabel>
#include <QPointer>

class QScrollArea;
class QVBoxLayout;

namespace orvane {
class ClickableButton;
class ThemeSource;
} // namespace orvane

namespace orvane::operations {

// A plain-text label in one theme colour, recoloured in place when the theme flips.
class SurfaceLabel final : public QLabel {
    Q_OBJECT
public:
    SurfaceLabel(
        const ThemeSource &theme, const QString &text, const QFont &font, ThemeColor color, QWidget *parent = nullptr);

private:
    void applyColor();

    QPointer<const ThemeSource> m_theme;
    ThemeColor m_color;
};

// The frame every operations surface shares: a page that scrolls vertically, its sections in one
// column aligned to the leading edge, padded 20 on every side, on the canvas background. The
// destination never changes what a surface shows, so showDestination does nothing.
class OperationsSurfaceView : public DestinationView {
    Q_OBJECT
public:
    OperationsSurfaceView(const WorkspaceViewContext &context, int sectionSpacing, QWidget *parent = nullptr);

    void showDestination(const IDEPrimaryDestination &) override { }

    [[nodiscard]] QScrollArea *scrollArea() const { return m_scrollArea; }

protected:
    [[nodiscard]] QVBoxLayout *page() const { return m_page; }
    [[nodiscard]] const ThemeSource &theme() const { return *m_context.theme; }
    [[nodiscard]] CampaignIDEWorkspaceModel &model() const { return *m_context.model; }
    [[nodiscard]] const WorkspaceViewContext &context() const { return m_context; }
    // The kicker over the headline, 3 apart, as one block.
    [[nodiscard]] QWidget *titleBlock(const QString &kicker, const QString &headline, int headlineSize = 20);
    // A bold 11-point black label on the lime fill, padded 12 by 7.
    [[nodiscard]] ClickableButton *limeButton(const QString &text, const QString &objectName);

private:
    WorkspaceViewContext m_context;
    QScrollArea *m_scrollArea;
    QVBoxLayout *m_page;
};

} // namespace orvane::operations
