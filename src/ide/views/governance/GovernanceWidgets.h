#pragma once

#include "ide/views/kit/ThemedLabel.h"

#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QLabel>
#include <QPointer>

class QBoxLayout;
class QScrollArea;
class QVBoxLayout;

namespace orvane {
class ClickableButton;
class ThemeSource;
} // namespace orvane

namespace orvane::governance {

// The frame the connections, reports and settings surfaces share: a vertical scroll view (its bar
// shown whenever the content is taller than the view) around one column aligned to the leading
// edge, padded 20 on every side with 16 between its elements.
class GovernanceSurface : public DestinationView {
    Q_OBJECT
public:
    GovernanceSurface(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    void showDestination(const IDEPrimaryDestination &) override { }

    [[nodiscard]] QScrollArea *scrollArea() const { return m_scroll; }

protected:
    // The column inside the scroll view; elements added to it keep their own width.
    [[nodiscard]] QVBoxLayout *column() const { return m_column; }
    // A header row: kicker over headline (3 apart) on the left, the trailing widget (if any) on the
    // right, vertically centred. Returns the row's layout.
    QBoxLayout *addHeaderRow(const QString &kicker, const QString &headline, QWidget *trailing);

    WorkspaceViewContext m_context;

private:
    QScrollArea *m_scroll;
    QVBoxLayout *m_column;
};

// Black text on the lime fill, square corners: the primary button of these surfaces.
[[nodiscard]] ClickableButton *makePrimaryButton(
    const ThemeSource &theme, const QString &text, qreal fontSize, QMargins padding, QWidget *parent = nullptr);

// A tooltip that shows the text as it is: the desktop would otherwise take text that looks like
// markup for rich text.
[[nodiscard]] QString plainToolTip(const QString &text);

// Black, the one text colour of the lime fill in both themes.
[[nodiscard]] QColor textOnLimeFill();

} // namespace orvane::governance
