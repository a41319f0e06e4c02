#include "TimeSeriesText.h"

#include <QFile>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace TimeSeriesText {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

double LeadingNumber(const char* p, const char* pEnd)
{
    // from_chars takes no '+' of its own; a second sign after it is no number.
    if (*p == '+') {
        ++p;
        if (p == pEnd || *p == '+' || *p == '-')
            return 0.0;
    }
    double dValue = 0.0;
    const auto [ptr, ec] = std::from_chars(p, pEnd, dValue);
    if (ec != std::errc() || !std::isfinite(dValue))
        return 0.0;
    return dValue;
}

} // namespace

void ParseValues(const char* pFirst, const char* pLast, std::vector<double>& aValues)
{
    const char* p = pFirst;
    while (p < pLast) {
        while (p < pLast && IsSpace(*p))
            ++p;
        if (p == pLast)
            break;
        const char* pEnd = p;
        while (pEnd < pLast && !IsSpace(*pEnd))
            ++pEnd;
        if (*p != '#')
            aValues.push_back(LeadingNumber(p, pEnd));
        p = pEnd;
    }
}

bool ReadFile(const QString& strPath, std::vector<double>& aValues)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 nSize = file.size();
    if (nSize == 0)
        return true;
    // Mapped when the system allows it, so a large series is not copied first.
    if (const uchar* pMap = file.map(0, nSize)) {
        const char* pText = reinterpret_cast<const char*>(pMap);
        ParseValues(pText, pText + nSize, aValues);
        file.unmap(const_cast<uchar*>(pMap));
        return true;
    }
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    ParseValues(text.constData(), text.constData() + text.size(), aValues);
    return true;
}

std::vector<std::int16_t> ScaleToSamples(const std::vector<double>& aValues)
{
    double dMax = 0.0;
    bool bNegative = false;
    for (const double v : aValues) {
        dMax = std::max(dMax, std::fabs(v));
        bNegative = bNegative || v < 0.0;
    }
    std::vector<std::int16_t> aSamples(aValues.size(), 0);
    if (dMax == 0.0)
        return aSamples;
    const double dRange = bNegative ? 32768.0 : 65536.0;
    const double dOffset = bNegative ? 0.0 : -32768.0;
    for (std::size_t i = 0; i < aValues.size(); ++i) {
        // v / max is at most 1 and exactly 1 at the maximum, so the top lands on the range exactly.
        const double s = std::trunc(aValues[i] / dMax * dRange) + dOffset;
        aSamples[i] = static_cast<std::int16_t>(std::clamp(s, -32768.0, 32767.0));
    }
    return aSamples;
}

} // namespace TimeSeriesText
