#pragma once

#include <QIcon>
#include <QPixmap>

// The viewer's pictures, drawn here so that they need no image files: a sheet standing
// upright or lying on its side (32 x 32), and the 16 x 16 symbols of the picture buttons.
QPixmap PortraitPicture();
QPixmap LandscapePicture();
QIcon PrintIcon();
QIcon PreviousPageIcon();
QIcon NextPageIcon();
QIcon ExitIcon();
