#pragma once

#include "ide/views/kit/Panel.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QShortcut;

namespace orvane {

class CampaignIDEWorkspaceModel;
class ThemeSource;
class ClickableButton;
class SymbolView;

// The status toast: the model's one-line notice as a full-width row under the top bar, with a
// check mark (a warning sign for a notice of something that went wrong) and a close button.
// Present exactly while the model holds a notice (an empty text included); the model clears it
// once its time is up (3 seconds; a warning stays long enough to be read), and a click on the row
// (its text included) or Escape dismisses it before. Its text (a path it names) can be selected by
// dragging and copied, and a warning stays while the pointer rests on it or its text has the
// keyboard (until a press anywhere else). The row takes part in the layout, so the regions below
// move down while it shows.
class WorkspaceToastBanner final : public Panel {
    Q_OBJECT
public:
    WorkspaceToastBanner(CampaignIDEWorkspaceModel &model, const ThemeSource &theme, QWidget *parent = nullptr);

    [[nodiscard]] QString message() const;
    // The symbol shown before the text.
    [[nodiscard]] QString symbol() const;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sync();
    void dismiss();
    void updateHold();

    QPointer<CampaignIDEWorkspaceModel> m_model;
    QPointer<const ThemeSource> m_theme;
    SymbolView *m_icon;
    QLabel *m_message;
    ClickableButton *m_close;
    QShortcut *m_escape;
    QPoint m_pressedAt; // where the last press on the text was, to tell a click from a drag
};

} // namespace orvane
