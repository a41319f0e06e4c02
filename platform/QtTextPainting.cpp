#include "QtTextPainting.h"

#include "CanvasGeometry.h"
#include "FontFactory.h"
#include "TextLayout.h"

#include <QPainter>

namespace QtTextPainting {

void TextOut(QPainter& painter, const CanvasState& state, CanvasPoint at, const QString& text)
{
    const FontMetricsInfo m = FontFactory::Metrics(state.m_font);
    const int width = FontFactory::TextWidth(state.m_font, text);
    const CanvasPoint off = CanvasGeometry::TextCellOffset(state.m_nTextAlign, width, m.m_nAscent, m.m_nHeight);
    painter.save();
    painter.translate(at.x, at.y);
    painter.rotate(-FontFactory::RotationDegrees(state.m_font));
    if (state.m_eBkMode == BkMode::Opaque)
        painter.fillRect(QRect(off.x, off.y, width, m.m_nHeight), ToQColor(state.m_clrBk));
    painter.setFont(FontFactory::MakeQFont(state.m_font));
    painter.setPen(ToQColor(state.m_clrText));
    painter.drawText(QPoint(off.x, off.y + m.m_nAscent), text);
    painter.restore();
}

void DrawText(QPainter& painter, const CanvasState& state, const QString& text, const CanvasRect& rect,
              unsigned format)
{
    const FontMetricsInfo m = FontFactory::Metrics(state.m_font);
    painter.save();
    if ((format & DrawTextFormat::NoClip) == 0)
        painter.setClipRect(CanvasGeometry::ToQRect(rect), state.m_bClip ? Qt::IntersectClip : Qt::ReplaceClip);
    painter.setFont(FontFactory::MakeQFont(state.m_font));
    painter.setPen(ToQColor(state.m_clrText));
    for (const TextLine& line : TextLayout::Lay(state.m_font, text, rect, format)) {
        const QPoint at(line.m_ptTopLeft.x, line.m_ptTopLeft.y);
        if (state.m_eBkMode == BkMode::Opaque)
            painter.fillRect(QRect(at, QSize(line.m_nWidth, m.m_nHeight)), ToQColor(state.m_clrBk));
        painter.drawText(at + QPoint(0, m.m_nAscent), line.m_strText);
    }
    painter.restore();
}

} // namespace QtTextPainting
