#include "ide/views/kit/Card.h"

#include <QVBoxLayout>

namespace orvane {

Card::Card(const ThemeSource &themeSource, QWidget *parent) : Card(themeSource, Look {}, parent)
{
}

Card::Card(const ThemeSource &themeSource, const Look &look, QWidget *parent)
    : Panel(themeSource, PanelLook {}, parent), m_content(new QVBoxLayout(this))
{
    setLook(look);
}

void Card::setLook(const Look &look)
{
    Panel::setLook({ .fill = look.fill, .stroke = look.stroked ? std::optional(look.stroke) : std::nullopt });
    m_content->setContentsMargins(look.padding);
    m_content->setSpacing(look.spacing);
}

} // namespace orvane
