#pragma once

class QScrollArea;
class QWidget;

namespace orvane {

// Puts `content` in `area` so that both show what lies beneath them (the column's own fill).
// QScrollArea::setWidget turns the content's automatic fill back on, so it is turned off after.
void setSeeThroughContent(QScrollArea *area, QWidget *content);

} // namespace orvane
