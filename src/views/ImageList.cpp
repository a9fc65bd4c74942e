#include "ImageList.h"

namespace ImageList {

QIcon icon(const QString& key)
{
    return QIcon(QStringLiteral(":/images/%1.png").arg(key));
}

QIcon applicationIcon()
{
    QIcon icon(QStringLiteral(":/icons/tripledger.svg"));
    for (const int size : { 16, 32, 48, 64, 256 })
        icon.addFile(QStringLiteral(":/icons/tripledger-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace ImageList
