#pragma once

#include "ide/records/CampaignAgentTab.h"
#include "ide/views/kit/Panel.h"

#include <QUuid>
#include <QWidget>

namespace orvane {

class ClickableButton;
class ElidedLabel;
class StateDot;
class ThemeSource;

// One agent tab in an agent pane's tab strip: a select button (dot, handle, title) and, when the
// thread has more than one tab, a close button. The pane updates it in place. A chip is as wide as
// its texts ask, up to the width it is given to fit (the strip's viewport): past that its title,
// then its handle, end in an ellipsis.
class AgentTabChip final : public Panel {
    Q_OBJECT
public:
    explicit AgentTabChip(const ThemeSource &theme, QWidget *parent = nullptr);

    void showTab(const CampaignAgentTab &tab, bool selected, bool closable);
    [[nodiscard]] const QUuid &tabID() const { return m_tabID; }
    [[nodiscard]] bool isSelected() const { return m_selected; }
    [[nodiscard]] ClickableButton *selectButton() const { return m_select; }
    [[nodiscard]] ClickableButton *closeButton() const { return m_close; }

    // The widest the chip may be (0: as wide as its texts ask).
    void setWidthLimit(int width);

    // Chips keep the width they ask (whole texts, or their width limit); the strip scrolls sideways
    // instead of squeezing them.
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void selectRequested(const QUuid &tabID);
    void closeRequested(const QUuid &tabID);

private:
    void applyColors();
    void fitTexts();

    QUuid m_tabID;
    bool m_selected = false;
    ClickableButton *m_select;
    ClickableButton *m_close;
    StateDot *m_dot;
    ElidedLabel *m_handle;
    ElidedLabel *m_title;
    int m_widthLimit = 0;
};

} // namespace orvane
