#pragma once

#include <QMetaObject>

#include <functional>

class QScrollArea;
class QWidget;

namespace orvane {

// Lets a vertical mouse wheel scroll a strip that only scrolls sideways (a row of chips): a wheel
// turned over the strip moves it left or right while it has more to show. A horizontal wheel or a
// trackpad's sideways swipe keeps its own direction.
void scrollSidewaysWithWheel(QScrollArea *area);

// Scrolls `area` sideways just enough to show the whole of `child`, a widget inside its content;
// once the content is laid out (call it after a change of the strip's content or size).
void keepInSidewaysView(QScrollArea *area, QWidget *child);

// Calls `back` each time the keyboard's focus leaves `area` for another widget. Tab scrolls a
// strip to each control it passes; `back` puts the strip as it should rest once the focus has gone
// on. The watch ends with `area`.
QMetaObject::Connection whenFocusLeaves(QScrollArea *area, std::function<void()> back);

} // namespace orvane
