#include "ide/views/kit/OrvaneClickableButtonStyle.h"

#include <QAbstractButton>
#include <QChildEvent>
#include <QGraphicsOpacityEffect>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

// Marks the effect as ours, so drawnOpacity never mistakes another effect for the press style.
constexpr char styleEffectName[] = "orvaneClickableButtonStyle";

QGraphicsOpacityEffect *styleEffect(const QAbstractButton *button)
{
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(button->graphicsEffect());
    return effect && effect->objectName() == QLatin1StringView(styleEffectName) ? effect : nullptr;
}

void letMouseThrough(QObject *child)
{
    if (auto *widget = qobject_cast<QWidget *>(child))
        widget->setAttribute(Qt::WA_TransparentForMouseEvents);
}

// Keeps children added after apply() transparent for the mouse.
class ChildWatcher final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ChildAdded)
            letMouseThrough(static_cast<QChildEvent *>(event)->child());
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void OrvaneClickableButtonStyle::apply(QAbstractButton *button)
{
    Q_ASSERT(button);
    if (styleEffect(button))
        return;
    // The effect stays off while the button is up, so an idle button paints directly.
    auto *effect = new QGraphicsOpacityEffect(button);
    effect->setObjectName(QLatin1StringView(styleEffectName));
    effect->setOpacity(pressedOpacity);
    effect->setEnabled(false);
    button->setGraphicsEffect(effect);

    // pressed and released also fire when a held press leaves and re-enters the button.
    const auto follow = [button, effect] { effect->setEnabled(button->isDown()); };
    QObject::connect(button, &QAbstractButton::pressed, effect, follow);
    QObject::connect(button, &QAbstractButton::released, effect, follow);

    for (QObject *child : button->children())
        letMouseThrough(child);
    button->installEventFilter(new ChildWatcher(button));
}

qreal OrvaneClickableButtonStyle::drawnOpacity(const QAbstractButton *button)
{
    const QGraphicsOpacityEffect *effect = styleEffect(button);
    return effect && effect->isEnabled() ? effect->opacity() : 1.0;
}

QString literalButtonText(const QString &text)
{
    QString literal = text;
    return literal.replace(u'&', u"&&"_s);
}

} // namespace orvane
