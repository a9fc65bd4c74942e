#pragma once

#include <QIcon>
#include <QString>

// The program's keyed images, drawn on a 16 x 16 grid and sharp at any size: "GR", "HI", "CA", "MI", "CO", "PM",
// "PW" for the tabs and the lists, "TR" and "DA" for the history tree.
namespace ImageList {

QIcon icon(const QString& key);

// The application's own icon, in all its sizes.
QIcon applicationIcon();

} // namespace ImageList
