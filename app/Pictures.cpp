#include "app/Pictures.h"

#include <QResource>
#include <QString>

namespace app {

std::string pictureBytes(std::string_view name) {
    const QResource resource(QStringLiteral(":/catalog/pictures/") +
                             QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (!resource.isValid())
        return {};
    const QByteArray bytes = resource.uncompressedData();
    return bytes.toStdString();
}

} // namespace app
