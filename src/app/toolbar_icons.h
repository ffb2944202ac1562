// The four 16 x 16 toolbar icons, drawn in code: "Open" (a folder), "Properties" (a settings
// sheet), "Forward" (a play arrow) and "Prev" (a film strip).
#pragma once

#include <QIcon>
#include <QString>

namespace kinetta::app {

/// The icon of an image-list key; an unknown key gives an empty icon.
QIcon ToolbarIcon(const QString& key);

}  // namespace kinetta::app
