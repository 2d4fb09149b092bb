// Reading the picture the user chose, in any format of pictureFormats(), stretched to the
// screen.
#pragma once

#include "model/pic_buffer.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <optional>

class QScreen;

namespace deskleaf {

// Reads the picture at path stretched to size, ignoring its proportions (an invalid
// size keeps the picture's own). Throws PictureError for a size whose background could
// not be opened again, and for a missing, empty, unreadable, damaged or absurdly large file.
QImage loadStretchedPicture(const QString& path, QSize size);
// Reads the picture at path, decoded at the smallest scale that still covers size in both
// directions (JPEG decodes at a half, a quarter or an eighth for less) or at its own size,
// as 32-bit pixels. Throws PictureError for a missing, empty, unreadable, damaged or
// absurdly large file.
QImage loadPicture(const QString& path, QSize size);

// The formats pictures are read in, as Qt names them ("jpeg", "tif"): JPEG, PNG, BMP, GIF,
// WebP, TIFF and Qt's own PBM/PGM/PPM, XBM and XPM, whose decoders allocate what the
// header says, so that the decode budget holds; never MNG or ICNS, whose readers allocate
// what the file asks. Used by the import and by the picture dialog.
QList<QByteArray> pictureFormats();

// Why a background of this size could not be opened again (the limit in the message), or
// nothing when it can.
std::optional<QString> backgroundSizeRefusal(QSize size);

struct ImportedPicture {
    QString widthText; // stored as the picture width
    QSize size;
};

// The size of screen in device pixels, which the picture is stretched to; 1920x1080
// when there is no screen.
QSize screenSizeInPixels(const QScreen* screen);

// "当前屏幕分辨率是：1024X768"
QString resolutionCaption(const ImportedPicture& picture);

} // namespace deskleaf
