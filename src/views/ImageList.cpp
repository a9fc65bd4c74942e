#include "ImageList.h"

namespace ImageList {

QIcon icon(const QString& key)
{
    return QIcon(QStringLiteral(":/images/src/%1.svg").arg(key)); // drawn by Qt's SVG icon engine at any size
}

QIcon applicationIcon()
{
    QIcon icon(QStringLiteral(":/icons/tripledger.svg"));
    for (const int size : { 16, 32, 48, 64, 256 })
        icon.addFile(QStringLiteral(":/icons/tripledger-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace ImageList
