#pragma once

#include "ide/views/kit/Panel.h"

#include <QPointer>
#include <QWidget>

class QScrollArea;
class QVBoxLayout;

namespace orvane {

class ThemeSource;
class WorkspaceWindowController;

// The sidebar's frame: the search field and the new-thread row at the top, a scrolling list in the
// middle and a footer, fixed at the bottom. The list and the footer are views of their own, put in
// with setNavigationContent() and setFooter().
class WorkspaceSidebar final : public Panel {
    Q_OBJECT
public:
    static constexpr int width = 248;

    WorkspaceSidebar(const ThemeSource &theme, WorkspaceWindowController &controller, QWidget *parent = nullptr);

    // The sidebar takes ownership; a null content leaves the area empty.
    void setNavigationContent(QWidget *content);
    void setFooter(QWidget *footer);

    [[nodiscard]] QScrollArea *scrollArea() const { return m_scroll; }

private:
    QPointer<const ThemeSource> m_theme;
    QScrollArea *m_scroll;
    QWidget *m_footerDivider;
    QVBoxLayout *m_footerSlot;
};

} // namespace orvane
