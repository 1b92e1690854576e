#include "ide/views/kit/SidewaysScroll.h"

#include <QApplication>
#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace orvane {
namespace {

class SidewaysWheel final : public QObject {
public:
    explicit SidewaysWheel(QScrollArea *area) : QObject(area), m_area(area) { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel)
            return QObject::eventFilter(watched, event);
        auto *wheel = static_cast<QWheelEvent *>(event);
        QScrollBar *bar = m_area->horizontalScrollBar();
        const QPoint angle = wheel->angleDelta();
        // Sideways input, or a strip with nothing more to show, is left to the toolkit.
        if (angle.x() != 0 || angle.y() == 0 || bar->maximum() <= 0)
            return false;
        const QPoint pixels = wheel->pixelDelta();
        const int step = pixels.y() != 0
            ? pixels.y()
            : angle.y() * QApplication::wheelScrollLines() * bar->singleStep() / QWheelEvent::DefaultDeltasPerStep;
        // Turning the wheel down moves on to what lies to the right.
        bar->setValue(bar->value() - step);
        wheel->accept();
        return true;
    }

private:
    QScrollArea *m_area;
};

} // namespace

void scrollSidewaysWithWheel(QScrollArea *area)
{
    // Wheel events that the strip's controls leave unused reach the viewport on their way up.
    area->viewport()->installEventFilter(new SidewaysWheel(area));
}

void keepInSidewaysView(QScrollArea *area, QWidget *child)
{
    QWidget *content = area->widget();
    if (!content || !child || !content->isAncestorOf(child))
        return;
    if (QLayout *layout = content->layout())
        layout->activate();
    QScrollBar *bar = area->horizontalScrollBar();
    const int left = child->mapTo(content, QPoint()).x();
    const int right = left + child->width();
    const int shown = area->viewport()->width();
    int value = bar->value();
    if (right > value + shown)
        value = right - shown;
    if (left < value)
        value = left;
    bar->setValue(value);
}

QMetaObject::Connection whenFocusLeaves(QScrollArea *area, std::function<void()> back)
{
    return QObject::connect(
        qApp, &QApplication::focusChanged, area, [area, back = std::move(back)](QWidget *old, QWidget *now) {
            // Not when the focus only leaves the window (it comes back to where it was).
            if (old && now && area->isAncestorOf(old) && !area->isAncestorOf(now))
                back();
        });
}

} // namespace orvane
