#include "TextLayout.h"

#include "FontFactory.h"

#include <QStringList>

namespace TextLayout {

namespace {

QStringList BreakWords(const FontDesc& font, const QString& paragraph, int width)
{
    QStringList lines;
    QString current;
    bool started = false;
    for (const QString& word : paragraph.split(QLatin1Char(' '))) {
        if (!started) {
            current = word;
            started = true;
            continue;
        }
        const QString candidate = current + QLatin1Char(' ') + word;
        if (FontFactory::TextWidth(font, candidate) <= width || current.isEmpty()) {
            current = candidate;
        } else {
            lines << current;
            current = word;
        }
    }
    lines << current;
    return lines;
}

} // namespace

std::vector<TextLine> Lay(const FontDesc& font, const QString& text, const CanvasRect& rect, unsigned format)
{
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QStringList lines;
    const bool single = (format & DrawTextFormat::SingleLine) != 0;
    if (single) {
        lines << normalised.replace(QLatin1Char('\n'), QLatin1Char(' '));
    } else {
        for (const QString& paragraph : normalised.split(QLatin1Char('\n'))) {
            if ((format & DrawTextFormat::WordBreak) != 0)
                lines << BreakWords(font, paragraph, rect.Width());
            else
                lines << paragraph;
        }
    }

    const int lineHeight = FontFactory::Metrics(font).m_nHeight;
    int top = rect.top;
    if (single && (format & DrawTextFormat::Bottom) != 0)
        top = rect.bottom - lineHeight;
    else if (single && (format & DrawTextFormat::VCentre) != 0)
        top = rect.top + (rect.Height() - lineHeight) / 2;

    std::vector<TextLine> out;
    for (const QString& line : lines) {
        TextLine l;
        l.m_strText = line;
        l.m_nWidth = FontFactory::TextWidth(font, line);
        if ((format & DrawTextFormat::Right) != 0)
            l.m_ptTopLeft.x = rect.right - l.m_nWidth;
        else if ((format & DrawTextFormat::Centre) != 0)
            l.m_ptTopLeft.x = rect.left + (rect.Width() - l.m_nWidth) / 2;
        else
            l.m_ptTopLeft.x = rect.left;
        l.m_ptTopLeft.y = top;
        top += lineHeight;
        out.push_back(l);
    }
    return out;
}

} // namespace TextLayout
