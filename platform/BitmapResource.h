#pragma once
// Bitmap resources by numeric id: the pictures of data/bitmaps/<id>_<subject>.xpm,
// compiled into the program. An unknown id does not load.
#include <QImage>
#include <QString>

// False, leaving *pImage as it was, when no picture has this id or it cannot be read.
bool LoadBitmapResource(int nId, QImage* pImage);
// The resource path of the picture with this id; empty when there is none.
QString BitmapResourcePath(int nId);
