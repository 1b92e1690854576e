#pragma once

#include "ide/views/kit/Panel.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace orvane {

class CampaignIDEWorkspaceModel;
class ThemeSource;
class ClickableButton;
class SymbolView;

// The status toast: the model's one-line notice as a full-width row under the top bar, with a
// check mark (a warning sign for a notice of something that went wrong) and a close button.
// Present exactly while the model holds a notice (an empty text included); the model clears it 3
// seconds after it was flashed. The row takes part in the layout, so the regions below move down
// while it shows.
class WorkspaceToastBanner final : public Panel {
    Q_OBJECT
public:
    WorkspaceToastBanner(CampaignIDEWorkspaceModel &model, const ThemeSource &theme, QWidget *parent = nullptr);

    [[nodiscard]] QString message() const;
    // The symbol shown before the text.
    [[nodiscard]] QString symbol() const;

private:
    void sync();

    QPointer<CampaignIDEWorkspaceModel> m_model;
    QPointer<const ThemeSource> m_theme;
    SymbolView *m_icon;
    QLabel *m_message;
    ClickableButton *m_close;
};

} // namespace orvane
