#pragma once

#include <QtCore/QString>
#include <QtGui/QIcon>
#include <QtGui/QPixmap>

// The program's own artwork lives in the resource file varlo.qrc under ":/images/".
// varlo-ui is a static library: the linker drops the resource unless something registers it.
// The functions below do that themselves; call this once at start-up when the resource paths
// are used directly (QIcon(":/images/icon.svg")).
void initVarloResources();

// The toolbar image of that name, the key of its button.
QIcon toolbarImage(const QString &name);

// The maker's logo, side x side device-independent pixels, sharp on the primary screen.
QPixmap logoPixmap(int side);

// The window icon, drawn from the logo.
QIcon varloIcon();
