#pragma once

#include "ide/records/IDEPrimaryDestination.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>

#include <optional>

namespace orvane {

class ThemeSource;

// A navigation row of the sidebar: a symbol, the title and an optional count badge. The row of the
// destination on screen is active: filled, with a lime symbol and badge text and a 2-pixel lime
// bar along its leading edge.
class SidebarNavRow final : public QAbstractButton {
    Q_OBJECT
public:
    SidebarNavRow(const ThemeSource &theme, const QString &title, const QString &symbol,
        const IDEPrimaryDestination &destination, QWidget *parent = nullptr);

    [[nodiscard]] const IDEPrimaryDestination &destination() const { return m_destination; }
    [[nodiscard]] const QString &symbol() const { return m_symbol; }

    void setBadge(const std::optional<QString> &badge);
    [[nodiscard]] const std::optional<QString> &badge() const { return m_badge; }
    void setActive(bool active);
    [[nodiscard]] bool isActive() const { return m_active; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    [[nodiscard]] QSize badgeSize() const;

    QPointer<const ThemeSource> m_theme;
    QString m_symbol;
    IDEPrimaryDestination m_destination;
    std::optional<QString> m_badge;
    bool m_active = false;
};

// A section header of the sidebar ("RECENT CHATS"): the text verbatim, monospaced, bold, tracked,
// in textMuted.
class SidebarSectionHeader final : public QLabel {
    Q_OBJECT
public:
    SidebarSectionHeader(const ThemeSource &theme, const QString &text, QWidget *parent = nullptr);

private:
    void applyColor();

    QPointer<const ThemeSource> m_theme;
};

} // namespace orvane
