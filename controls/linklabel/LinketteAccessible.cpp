#include "LinketteAccessible.h"

#include "Linkette.h"

namespace linkette {

namespace {

QAccessibleInterface* linketteFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(Linkette::staticMetaObject.className()) && object->isWidgetType())
        return new LinketteAccessible(static_cast<Linkette*>(object));
    return nullptr;
}

} // namespace

LinketteAccessible::LinketteAccessible(Linkette* link) : QAccessibleWidget(link, QAccessible::Link) {}

QStringList LinketteAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void LinketteAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction() && widget()->isEnabled())
        static_cast<Linkette*>(widget())->activate();
    else
        QAccessibleWidget::doAction(actionName);
}

void LinketteAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(linketteFactory);
        return true;
    }();
    (void)installed;
}

} // namespace linkette
