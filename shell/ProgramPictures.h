// The pictures of the start dialogs and the about box, drawn by the program:
// one per bitmap number (program picture, the six profiles, the school choice).
#pragma once

#include <QPixmap>

QPixmap ProgramPicture(int nBitmap, QSize size);
