#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"
#include "platform/ui/Symbols.h"

#include <QPointer>
#include <QWidget>

namespace orvane {

class ThemeSource;

// One symbol, size by size pixels, tinted with a theme colour (or a fixed colour) when painted.
class SymbolView final : public QWidget {
    Q_OBJECT
public:
    SymbolView(const ThemeSource &themeSource, const QString &symbol, ThemeColor color, int size,
        ui::SymbolWeight weight = ui::SymbolWeight::regular, QWidget *parent = nullptr);

    void setSymbol(const QString &symbol);
    void setColor(ThemeColor color);
    // A colour the theme does not name (the black on lime fills).
    void setFixedColor(const QColor &color);

    [[nodiscard]] const QString &symbol() const { return m_symbol; }
    [[nodiscard]] QColor drawnColor() const;
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<const ThemeSource> m_themeSource;
    QString m_symbol;
    ThemeColor m_role;
    QColor m_fixedColor;
    int m_size;
    ui::SymbolWeight m_weight;
};

} // namespace orvane
