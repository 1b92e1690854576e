#pragma once

#include "ide/views/sidebar/SidebarListView.h"

#include <QPointer>

namespace orvane {

class ThemeSource;

// A thread of STARRED or RECENT CHATS: icon, title, workbench and last update, and the star
// button at the trailing edge. The open thread's row is filled and carries a lime bar.
class SidebarThreadRowDelegate final : public SidebarRowDelegate {
    Q_OBJECT
public:
    explicit SidebarThreadRowDelegate(const ThemeSource &theme, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    [[nodiscard]] Part partAt(const QRect &rowRect, const QModelIndex &index, QPoint point) const override;
    [[nodiscard]] QRect partRect(const QRect &rowRect, Part part) const override;
    [[nodiscard]] QString toolTip(const QModelIndex &index, Part part) const override;

    // The star's help text and the star entry of the row's menu.
    [[nodiscard]] static QString starToolTip(bool starred);
    [[nodiscard]] static QString starMenuText(bool starred);

private:
    QPointer<const ThemeSource> m_theme;
};

// A project of LOCAL PROJECTS: folder icon, name, and the budget figure with the status. The
// selected project's row is filled, without a bar.
class SidebarProjectRowDelegate final : public SidebarRowDelegate {
    Q_OBJECT
public:
    explicit SidebarProjectRowDelegate(const ThemeSource &theme, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QPointer<const ThemeSource> m_theme;
};

} // namespace orvane
