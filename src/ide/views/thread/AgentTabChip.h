#pragma once

#include "ide/records/CampaignAgentTab.h"
#include "ide/views/kit/Panel.h"

#include <QPointer>
#include <QUuid>
#include <QWidget>

class QLabel;

namespace orvane {

class ClickableButton;
class StateDot;
class ThemeSource;

// One agent tab in an agent pane's tab strip: a select button (dot, handle, title) and, when the
// thread has more than one tab, a close button. The pane updates it in place.
class AgentTabChip final : public Panel {
    Q_OBJECT
public:
    explicit AgentTabChip(const ThemeSource &theme, QWidget *parent = nullptr);

    void showTab(const CampaignAgentTab &tab, bool selected, bool closable);
    [[nodiscard]] const QUuid &tabID() const { return m_tabID; }
    [[nodiscard]] bool isSelected() const { return m_selected; }
    [[nodiscard]] ClickableButton *selectButton() const { return m_select; }
    [[nodiscard]] ClickableButton *closeButton() const { return m_close; }

    // Chips keep their full width; the strip scrolls sideways instead of squeezing them.
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void selectRequested(const QUuid &tabID);
    void closeRequested(const QUuid &tabID);

private:
    void applyColors();

    QPointer<const ThemeSource> m_theme;
    QUuid m_tabID;
    bool m_selected = false;
    ClickableButton *m_select;
    ClickableButton *m_close;
    StateDot *m_dot;
    QLabel *m_handle;
    QLabel *m_title;
};

} // namespace orvane
