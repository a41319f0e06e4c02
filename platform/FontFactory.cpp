#include "FontFactory.h"

#include <QFontMetrics>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDefaultCellHeight = 16; // pixels, used for a height of 0

QString CacheKey(const FontDesc& d)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(d.m_strFace)
        .arg(d.m_nHeight)
        .arg(d.m_nWidth)
        .arg(d.m_nWeight)
        .arg(d.m_bItalic ? 1 : 0)
        .arg(d.m_bUnderline ? 1 : 0);
}

int CellHeight(QFont font, int pixelSize)
{
    font.setPixelSize(pixelSize);
    const QFontMetrics fm(font);
    return fm.ascent() + fm.descent();
}

// Largest pixel size whose cell (ascent + descent) does not exceed the wanted height.
int PixelSizeForCell(const QFont& font, int cell)
{
    int size = cell;
    const int natural = CellHeight(font, size);
    if (natural > 0)
        size = std::max(1, static_cast<int>(std::lround(double(size) * cell / natural)));
    while (size > 1 && CellHeight(font, size) > cell)
        --size;
    while (CellHeight(font, size + 1) <= cell)
        ++size;
    return size;
}

// What the height and width rules resolve to; kept per description because
// finding the pixel size of a cell height takes several measurements.
struct ResolvedSize {
    int m_nPixelSize = 16;
    int m_nStretch = 100; // percent, 100 = natural aspect
};

QFont BaseFont(const FontDesc& d)
{
    QFont font(FontFactory::MappedFamily(d.m_strFace));
    const int weight = d.m_nWeight <= 0 ? 400 : std::clamp(d.m_nWeight, 100, 900);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(d.m_bItalic);
    font.setUnderline(d.m_bUnderline);
    return font;
}

ResolvedSize Resolve(const FontDesc& d)
{
    QFont font = BaseFont(d);
    ResolvedSize r;
    const int height = d.m_nHeight == 0 ? kDefaultCellHeight : d.m_nHeight;
    r.m_nPixelSize = height < 0 ? std::max(1, -height) : PixelSizeForCell(font, height);
    font.setPixelSize(r.m_nPixelSize);
    if (d.m_nWidth > 0) {
        const QFontMetrics fm(font);
        int natural = fm.averageCharWidth();
        if (natural <= 0)
            natural = fm.horizontalAdvance(QLatin1Char('x'));
        if (natural > 0)
            r.m_nStretch = std::clamp(static_cast<int>(std::lround(100.0 * d.m_nWidth / natural)), 1,
                                      4000);
    }
    return r;
}

} // namespace

QString FontFactory::MappedFamily(const QString& face)
{
    const QString f = face.trimmed();
    if (f.compare(QLatin1String("Century Gothic"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("URW Gothic");
    if (f.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    if (f.compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("DejaVu Sans");
    return f;
}

QFont FontFactory::MakeQFont(const FontDesc& desc)
{
    static QMutex mutex;
    static QHash<QString, ResolvedSize> cache;
    const QString key = CacheKey(desc);
    ResolvedSize size;
    {
        QMutexLocker lock(&mutex);
        auto it = cache.constFind(key);
        if (it == cache.constEnd())
            it = cache.insert(key, Resolve(desc));
        size = *it;
    }
    QFont font = BaseFont(desc);
    font.setPixelSize(size.m_nPixelSize);
    if (size.m_nStretch != 100)
        font.setStretch(size.m_nStretch);
    return font;
}

FontMetricsInfo FontFactory::Metrics(const FontDesc& desc)
{
    const QFontMetrics fm(MakeQFont(desc));
    FontMetricsInfo m;
    m.m_nAscent = fm.ascent();
    m.m_nDescent = fm.descent();
    m.m_nHeight = m.m_nAscent + m.m_nDescent;
    m.m_nAveCharWidth = fm.averageCharWidth();
    return m;
}

int FontFactory::TextWidth(const FontDesc& desc, const QString& text)
{
    return QFontMetrics(MakeQFont(desc)).horizontalAdvance(text);
}

QString FontFactory::PlainFamily(const QString& family)
{
    const int bracket = family.indexOf(QLatin1String(" ["));
    return bracket < 0 ? family : family.left(bracket);
}
