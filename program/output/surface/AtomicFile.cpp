#include "Writers.h"

#include <QSaveFile>

namespace folionix {

bool writeFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!write(file)) {
        if (error && error->isEmpty())
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace folionix
