#include "ide/views/kit/SeeThroughScroll.h"

#include <QScrollArea>

namespace orvane {

void setSeeThroughContent(QScrollArea *area, QWidget *content)
{
    area->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    area->setWidget(content);
    content->setAutoFillBackground(false);
}

} // namespace orvane
