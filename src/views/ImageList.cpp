#include "ImageList.h"

#include <QHash>

namespace ImageList {

QIcon icon(const QString& key)
{
    static QHash<QString, QIcon> cache;
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.insert(key, QIcon(QStringLiteral(":/images/%1.png").arg(key)));
    return *found;
}

QIcon applicationIcon()
{
    QIcon icon(QStringLiteral(":/icons/tripledger.svg"));
    for (const int size : { 16, 32, 48, 64, 256 })
        icon.addFile(QStringLiteral(":/icons/tripledger-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace ImageList
