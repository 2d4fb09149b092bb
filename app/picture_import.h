// The composing half of the picture import: any picture Qt reads, stretched to the
// screen, becomes the background kel.bmp and, with the calendar printed on it, zm.bmp.
#pragma once

#include "month_grid.h"
#include "pic_buffer.h"
#include "profile_file.h"

#include <QDate>
#include <QImage>
#include <QSize>
#include <QString>

class QScreen;

namespace deskleaf {

// Reads the picture at path stretched to size, ignoring its proportions (an invalid
// size keeps the picture's own). Throws
// PictureError for a missing, empty, unreadable, corrupt or absurdly large file.
QImage loadStretchedPicture(const QString& path, QSize size);

struct ImportedPicture {
    QString widthText; // stored as the picture width
    QSize size;
};

// Stretches the picture to screen, writes kel.bmp, the picture width and zm.bmp in
// folder, and makes the stretched picture surface's background. On any failure
// nothing in folder and nothing of surface has changed.
ImportedPicture composeBackgroundPicture(const QString& picturePath, QSize screen,
                                         const QString& folder, picBuffer& surface, MonthGrid& grid,
                                         QDate today);

// The size of screen in device pixels, which the picture is stretched to; 1920x1080
// when there is no screen.
QSize screenSizeInPixels(const QScreen* screen);

// "当前屏幕分辨率是：1024X768"
QString resolutionCaption(const ImportedPicture& picture);

} // namespace deskleaf
