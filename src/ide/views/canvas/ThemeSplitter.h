#pragma once

#include <QPointer>
#include <QSplitter>

namespace orvane {

class ThemeSource;

// A splitter whose 1-pixel divider is drawn in borderSubtle and follows the theme.
class ThemeSplitter final : public QSplitter {
    Q_OBJECT
public:
    ThemeSplitter(const ThemeSource &theme, Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    [[nodiscard]] QSplitterHandle *createHandle() override;

private:
    QPointer<const ThemeSource> m_theme;
};

} // namespace orvane
