// Description of a drawing font in the terms the windows' drawing rules use:
// face name, height with the classic sign rule, width, weight, escapement.
#pragma once

#include <QString>

struct FontDesc {
    QString m_strFace = QStringLiteral("Arial");
    // Pixels.  Negative: character height (em size without internal leading);
    // positive: cell height (ascent + descent); 0: default cell height of 16.
    int m_nHeight = 16;
    // Average character width in pixels; 0 keeps the face's natural aspect.
    int m_nWidth = 0;
    // 100 .. 900 (400 normal, 700 bold); 0 means normal.
    int m_nWeight = 400;
    // Angle of the base line in tenths of a degree, counter-clockwise (900 = upwards).
    int m_nEscapement = 0;
    bool m_bItalic = false;
    bool m_bUnderline = false;

    bool operator==(const FontDesc&) const = default;
};

// Shorthand for the common case: face, height, weight and escapement.
inline FontDesc MakeFontDesc(const QString& face, int height, int weight = 400, int escapement = 0)
{
    FontDesc d;
    d.m_strFace = face;
    d.m_nHeight = height;
    d.m_nWeight = weight;
    d.m_nEscapement = escapement;
    return d;
}

// Font measures in pixels, as every canvas reports them.
struct FontMetricsInfo {
    int m_nHeight = 0;       // ascent + descent
    int m_nAscent = 0;       // base line to top of the cell
    int m_nDescent = 0;      // base line to bottom of the cell
    int m_nAveCharWidth = 0; // average character width
};
