#pragma once
// Bitmap resources by numeric id: the pictures of data/bitmaps/<id>_<subject>.xpm,
// compiled into the program. An unknown id does not load.
#include <QImage>

bool LoadBitmapResource(int nId, QImage* pImage);
