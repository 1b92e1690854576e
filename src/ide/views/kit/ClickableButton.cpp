#include "ide/views/kit/ClickableButton.h"

#include "ide/views/kit/AccessibleFactory.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeSource.h"

#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace orvane {
namespace {

using namespace Qt::StringLiterals;

// The theme colour role of a text part, kept on the label so a theme change can restyle it.
constexpr char textRoleProperty[] = "orvaneThemeColor";

// What assistive technology reads for the button: a pressable button named by its own accessible
// name, else by its visible texts, else by its help text, so an icon-only button is named by its
// tooltip without a line of its own.
class ClickableButtonAccessible final : public QAccessibleWidget {
public:
    explicit ClickableButtonAccessible(ClickableButton *button) : QAccessibleWidget(button, QAccessible::Button) { }

    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        const QWidget *button = widget();
        if (!button->accessibleName().isEmpty())
            return button->accessibleName();
        QStringList parts;
        collectTexts(button, parts);
        if (!parts.isEmpty())
            return parts.join(u' ');
        return button->toolTip();
    }

    // The texts of the label parts in order, going into parts that are containers.
    static void collectTexts(const QWidget *parent, QStringList &parts)
    {
        for (const QWidget *child : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (child->isHidden())
                continue;
            const auto *label = qobject_cast<const QLabel *>(child);
            const QString text = (label ? label->text() : child->accessibleName()).trimmed();
            if (!text.isEmpty())
                parts.append(text);
            else if (!label)
                collectTexts(child, parts);
        }
    }

    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const auto *button = static_cast<const QAbstractButton *>(widget());
        state.checkable = button->isCheckable();
        state.checked = button->isChecked();
        state.pressed = button->isDown();
        return state;
    }

    [[nodiscard]] QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name == pressAction() && widget()->isEnabled())
            static_cast<QAbstractButton *>(widget())->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

} // namespace

ClickableButton::ClickableButton(const ThemeSource &themeSource, QWidget *parent)
    : ClickableButton(themeSource, Look {}, parent)
{
}

ClickableButton::ClickableButton(const ThemeSource &themeSource, const Look &look, QWidget *parent)
    : QAbstractButton(parent), m_themeSource(&themeSource), m_look(look), m_row(new QHBoxLayout(this))
{
    installAccessibleFactoryOnce<accessibleFor<ClickableButton, ClickableButtonAccessible>>();
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_row->setSizeConstraint(QLayout::SetDefaultConstraint);
    setLook(look);
    OrvaneClickableButtonStyle::apply(this);
    connect(&themeSource, &ThemeSource::themeChanged, this, [this] {
        applyTextColors();
        update();
    });
}

void ClickableButton::setLook(const Look &look)
{
    m_look = look;
    m_row->setContentsMargins(look.padding);
    m_row->setSpacing(look.spacing);
    updateGeometry();
    update();
}

SymbolView *ClickableButton::addSymbol(const QString &symbol, ThemeColor color, int size, ui::SymbolWeight weight)
{
    Q_ASSERT(m_themeSource);
    auto *view = new SymbolView(*m_themeSource, symbol, color, size, weight, this);
    m_row->addWidget(view, 0, Qt::AlignVCenter);
    return view;
}

QLabel *ClickableButton::addText(const QString &text, const QFont &font, ThemeColor color)
{
    QLabel *label = addText(text, font, QColor());
    label->setProperty(textRoleProperty, int(color));
    applyTextColors();
    return label;
}

QLabel *ClickableButton::addText(const QString &text, const QFont &font, const QColor &fixedColor)
{
    auto *label = new QLabel(this);
    // Inside a button a child label would inherit the button's ButtonText role; the colours set
    // here are WindowText.
    label->setForegroundRole(QPalette::WindowText);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    if (fixedColor.isValid()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, fixedColor);
        label->setPalette(palette);
    }
    m_row->addWidget(label, 0, Qt::AlignVCenter);
    return label;
}

void ClickableButton::addStretch()
{
    m_row->addStretch(1);
}

void ClickableButton::addWidget(QWidget *widget)
{
    m_row->addWidget(widget, 0, Qt::AlignVCenter);
}

void ClickableButton::applyTextColors()
{
    if (!m_themeSource)
        return;
    for (QLabel *label : findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        const QVariant role = label->property(textRoleProperty);
        if (!role.isValid())
            continue;
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, m_themeSource->color(ThemeColor(role.toInt())));
        label->setPalette(palette);
    }
}

QSize ClickableButton::sizeHint() const
{
    return m_row->sizeHint();
}

QSize ClickableButton::minimumSizeHint() const
{
    return m_row->minimumSize();
}

void ClickableButton::paintEvent(QPaintEvent *)
{
    if (!m_themeSource)
        return;
    QPainter painter(this);
    const OrvaneWebTheme theme = m_themeSource->theme();
    // The keyboard's ring lies around the button, drawn by the window's FocusRingController.
    paintPanel(painter, rect(), theme, { m_look.fill, m_look.fillOpacity, m_look.stroke, m_look.strokeOpacity });
}

namespace {

// Relative luminance and contrast ratio as accessibility guidelines define them.
qreal luminance(const QColor &color)
{
    const auto channel = [](float c) { return c <= 0.04045F ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = color.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

} // namespace

qreal contrastRatio(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor focusRingColor(const OrvaneWebTheme &theme, const std::optional<QColor> &fill)
{
    const QColor accent = theme.accentCyan();
    if (!fill || contrastRatio(accent, *fill) >= 3.0)
        return accent;
    // The accent is lost on this fill (bright cyan on lime): black or white, whichever stands out.
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(black, *fill) >= contrastRatio(white, *fill) ? black : white;
}

void paintButtonFocusRing(
    QPainter &painter, const QRect &rect, const OrvaneWebTheme &theme, const std::optional<QColor> &fill)
{
    paintFocusRingFrame(painter, rect, focusRingColor(theme, fill));
}

void paintFocusRingFrame(QPainter &painter, const QRect &rect, const QColor &color)
{
    // Two solid pixels one pixel inside the edge: a dotted hairline disappears on a bright fill.
    constexpr int width = 2;
    const QRect ring = rect.adjusted(1, 1, -1, -1);
    if (ring.width() <= 2 * width || ring.height() <= 2 * width)
        return;
    painter.save();
    painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), width), color);
    painter.fillRect(QRect(ring.left(), ring.bottom() - width + 1, ring.width(), width), color);
    painter.fillRect(QRect(ring.left(), ring.top() + width, width, ring.height() - 2 * width), color);
    painter.fillRect(QRect(ring.right() - width + 1, ring.top() + width, width, ring.height() - 2 * width), color);
    painter.restore();
}

void ClickableButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click comes as this event; taken here, its release clicks nothing.
    if (m_doubleClickPressesOnce) {
        event->accept();
        return;
    }
    QAbstractButton::mouseDoubleClickEvent(event);
}

// The whole rectangle, transparent parts of the label included.
bool ClickableButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

} // namespace orvane
