#include "ide/views/thread/ThreadPaneParts.h"

#include "ide/views/kit/ThemeSource.h"

#include <QLabel>
#include <QPainter>
#include <QSplitterHandle>

namespace orvane {

StateDot::StateDot(const ThemeSource &theme, ThemeColor color, int diameter, QWidget *parent)
    : QWidget(parent), m_theme(&theme), m_color(color)
{
    setFixedSize(diameter, diameter);
    connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void StateDot::setColor(ThemeColor color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

QColor StateDot::drawnColor() const
{
    return m_theme ? m_theme->color(m_color) : QColor();
}

void StateDot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(drawnColor());
    painter.drawEllipse(QRectF(rect()));
}

namespace {

class RuleHandle final : public QSplitterHandle {
public:
    RuleHandle(const ThemeSource &theme, Qt::Orientation orientation, QSplitter *parent)
        : QSplitterHandle(orientation, parent), m_theme(&theme)
    {
        connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_theme)
            QPainter(this).fillRect(rect(), m_theme->color(ThemeColor::borderSubtle));
    }

private:
    QPointer<const ThemeSource> m_theme;
};

} // namespace

ThemeRuleSplitter::ThemeRuleSplitter(const ThemeSource &theme, Qt::Orientation orientation, QWidget *parent)
    : QSplitter(orientation, parent), m_theme(&theme)
{
    setHandleWidth(1);
    setChildrenCollapsible(false);
}

QSplitterHandle *ThemeRuleSplitter::createHandle()
{
    return new RuleHandle(*m_theme, orientation(), this);
}

void setLabelColor(QLabel *label, const QColor &color)
{
    // A label inside a button draws with ButtonText (it takes the button's background role), any
    // other label with WindowText: set both.
    // Always set, even when the inherited colour matches now: only a colour set on the label itself
    // survives the window's palette reaching it later.
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    label->setPalette(palette);
}

} // namespace orvane
