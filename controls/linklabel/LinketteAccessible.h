#pragma once

#include <QAccessibleWidget>

namespace linkette {

class Linkette;

// Presents the control to assistive technology as a link whose press action opens it.
class LinketteAccessible : public QAccessibleWidget
{
public:
    explicit LinketteAccessible(Linkette* link);

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Installs the factory once; later calls do nothing.
    static void install();
};

} // namespace linkette
