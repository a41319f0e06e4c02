// Line layout of text drawn into a rectangle: line breaks at "\n", word
// breaking at spaces, horizontal and vertical placement.  Every canvas uses
// it, so the lines of a picture are the same on the screen, in a recording
// and in a saved vector picture.
#pragma once

#include "CanvasTypes.h"
#include "FontDesc.h"

#include <QString>

#include <vector>

struct TextLine {
    QString m_strText;
    CanvasPoint m_ptTopLeft; // top-left of the line's cell
    int m_nWidth = 0;        // pixels
};

namespace TextLayout {

// Lines of text in rect for the DrawTextFormat flags.  Lines are one cell
// (ascent + descent) apart.  Word breaking ends a line before the word that
// would cross the right edge and drops the space there; a word wider than the
// rectangle keeps a line of its own.  Vertical centring and bottom alignment
// apply to single-line text only.
std::vector<TextLine> Lay(const FontDesc& font, const QString& text, const CanvasRect& rect, unsigned format);

} // namespace TextLayout
