#include "ide/views/canvas/ThemeSplitter.h"

#include "ide/views/kit/ThemeSource.h"

#include <QPainter>
#include <QSplitterHandle>

namespace orvane {
namespace {

class ThemeSplitterHandle final : public QSplitterHandle {
public:
    ThemeSplitterHandle(const ThemeSource &theme, Qt::Orientation orientation, QSplitter *parent)
        : QSplitterHandle(orientation, parent), m_theme(&theme)
    {
        connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!m_theme)
            return;
        QPainter painter(this);
        painter.fillRect(rect(), m_theme->theme().panelBackground());
        painter.fillRect(rect(), m_theme->color(ThemeColor::borderSubtle));
    }

private:
    QPointer<const ThemeSource> m_theme;
};

} // namespace

ThemeSplitter::ThemeSplitter(const ThemeSource &theme, Qt::Orientation orientation, QWidget *parent)
    : QSplitter(orientation, parent), m_theme(&theme)
{
    setHandleWidth(1);
    setChildrenCollapsible(false);
}

QSplitterHandle *ThemeSplitter::createHandle()
{
    return new ThemeSplitterHandle(*m_theme, orientation(), this);
}

} // namespace orvane
