// Turns font descriptions into Qt fonts: maps the classic face names to the
// installed stand-ins, resolves the height sign rule, the width (by stretching)
// and the weight, and measures text the same way for every canvas.
#pragma once

#include "FontDesc.h"

#include <QFont>
#include <QString>

class FontFactory {
public:
    // The installed family standing in for a face ("Century Gothic" -> "URW Gothic",
    // "Arial" -> "Liberation Sans", "Tahoma" -> "DejaVu Sans"); other faces pass through.
    static QString MappedFamily(const QString& face);

    // The Qt font of a description, upright (the escapement is applied when drawing).
    // The resolved size is cached per description.
    static QFont MakeQFont(const FontDesc& desc);

    // Rotation of the base line in degrees, counter-clockwise.
    static double RotationDegrees(const FontDesc& desc) { return desc.m_nEscapement / 10.0; }

    // Measures of the font, in pixels.
    static FontMetricsInfo Metrics(const FontDesc& desc);

    // Advance width of text in pixels (no line breaking; unrotated).
    static int TextWidth(const FontDesc& desc, const QString& text);

    // Family name without a trailing foundry tag ("URW Gothic [UKWN]" -> "URW Gothic").
    static QString PlainFamily(const QString& family);
};
