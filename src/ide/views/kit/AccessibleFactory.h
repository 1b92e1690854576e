#pragma once

#include <QAccessible>
#include <QObject>
#include <QString>

namespace orvane {

// The accessibility interface of a widget of exactly the class View, made by Accessible's
// constructor from it; none for any other object.
template <typename View, typename Accessible>
QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(View::staticMetaObject.className()) && object->isWidgetType())
        return new Accessible(static_cast<View *>(object));
    return nullptr;
}

// Installs `factory` once for the process, however often this is called.
template <QAccessible::InterfaceFactory factory> void installAccessibleFactoryOnce()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace orvane
