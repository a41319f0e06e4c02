#include "EmfReader.h"

#include "EmfRecords.h"

#include <QtEndian>

#include <algorithm>

namespace {

// Fixed sizes of the simple records; 0 = checked elsewhere or free.
std::uint32_t FixedSize(std::uint32_t type)
{
    switch (type) {
    case Emf::SaveDc: return 8;
    case Emf::SetMapMode:
    case Emf::SetBkMode:
    case Emf::SetPolyFillMode:
    case Emf::SetRop2:
    case Emf::SetStretchBltMode:
    case Emf::SetTextAlign:
    case Emf::SetTextColor:
    case Emf::SetBkColor:
    case Emf::RestoreDc:
    case Emf::SelectObject:
    case Emf::DeleteObject: return 12;
    case Emf::MoveToEx:
    case Emf::LineTo: return 16;
    case Emf::SetPixelV: return 20;
    case Emf::IntersectClipRect:
    case Emf::Rectangle:
    case Emf::Ellipse:
    case Emf::CreateBrushIndirect: return 24;
    case Emf::CreatePen: return 28;
    case Emf::ArcTo: return 40;
    default: return 0;
    }
}

bool IsPoly16(std::uint32_t type)
{
    return type >= Emf::PolyBezier16 && type <= Emf::PolylineTo16;
}

bool IsPoly32(std::uint32_t type)
{
    return type >= Emf::PolyBezier && type <= Emf::PolylineTo;
}

} // namespace

bool EmfReader::Fail(const QString& message)
{
    m_strError = message;
    return false;
}

std::uint16_t EmfReader::U16At(std::uint64_t offset) const
{
    if (offset + 2 > static_cast<std::uint64_t>(m_bytes.size()))
        return 0;
    return qFromLittleEndian<std::uint16_t>(m_bytes.constData() + offset);
}

std::uint32_t EmfReader::U32At(std::uint64_t offset) const
{
    if (offset + 4 > static_cast<std::uint64_t>(m_bytes.size()))
        return 0;
    return qFromLittleEndian<std::uint32_t>(m_bytes.constData() + offset);
}

QString EmfReader::Utf16At(std::uint64_t offset, std::uint64_t units, bool stopAtZero) const
{
    QString s;
    for (std::uint64_t i = 0; i < units && offset + 2 * i + 2 <= static_cast<std::uint64_t>(m_bytes.size()); ++i) {
        const char16_t c = U16At(offset + 2 * i);
        if (stopAtZero && c == 0)
            break;
        s.append(QChar(c));
    }
    return s;
}

std::uint32_t EmfReader::U32(const EmfRecordRef& record, std::uint32_t offset) const
{
    if (static_cast<std::uint64_t>(offset) + 4 > record.m_nSize)
        return 0;
    return U32At(static_cast<std::uint64_t>(record.m_nOffset) + offset);
}

std::int32_t EmfReader::I32(const EmfRecordRef& record, std::uint32_t offset) const
{
    return static_cast<std::int32_t>(U32(record, offset));
}

bool EmfReader::Read(const QByteArray& bytes)
{
    *this = EmfReader();
    m_bytes = bytes;
    if (!ReadHeader())
        return false;

    const auto total = static_cast<std::uint64_t>(m_bytes.size());
    std::uint64_t offset = m_nHeaderSize;
    bool ended = false;
    while (offset < total) {
        if (ended)
            return Fail(QStringLiteral("records after the end record at byte %1").arg(offset));
        if (offset + 8 > total)
            return Fail(QStringLiteral("truncated record at byte %1").arg(offset));
        EmfRecordRef r{U32At(offset), static_cast<std::uint32_t>(offset), U32At(offset + 4)};
        if (r.m_nSize < 8 || r.m_nSize % 4 != 0)
            return Fail(QStringLiteral("record %1 at byte %2 has size %3").arg(r.m_nType).arg(offset).arg(r.m_nSize));
        if (offset + r.m_nSize > total)
            return Fail(QStringLiteral("record %1 at byte %2 runs past the end").arg(r.m_nType).arg(offset));
        if (r.m_nType == Emf::Header || r.m_nType == 0 || r.m_nType > Emf::LastKnownType)
            return Fail(QStringLiteral("unexpected record type %1 at byte %2").arg(r.m_nType).arg(offset));
        if (!CheckSize(r) || !CheckObjects(r))
            return false;
        ended = r.m_nType == Emf::Eof;
        m_aRecords.push_back(r);
        offset += r.m_nSize;
    }
    if (!ended)
        return Fail(QStringLiteral("no end record"));
    if (m_header.m_nRecords != m_aRecords.size() + 1)
        return Fail(QStringLiteral("header counts %1 records, the file has %2")
                        .arg(m_header.m_nRecords)
                        .arg(m_aRecords.size() + 1));
    // Objects still alive at the end must at least be selected.
    for (std::size_t h = 1; h < m_aObjects.size(); ++h)
        if (m_aObjects[h] != Kind::None && !IsSelected(static_cast<std::uint32_t>(h)))
            return Fail(QStringLiteral("object %1 is neither deleted nor selected at the end").arg(h));
    return true;
}

bool EmfReader::ReadHeader()
{
    const auto total = static_cast<std::uint64_t>(m_bytes.size());
    if (total < Emf::kHeaderMinSize)
        return Fail(QStringLiteral("too short for a header"));
    if (U32At(0) != Emf::Header)
        return Fail(QStringLiteral("first record is not a header"));
    m_nHeaderSize = U32At(4);
    if (m_nHeaderSize < Emf::kHeaderMinSize || m_nHeaderSize % 4 != 0 || m_nHeaderSize > total)
        return Fail(QStringLiteral("header size %1").arg(m_nHeaderSize));
    if (U32At(40) != Emf::kSignature)
        return Fail(QStringLiteral("no EMF signature"));
    auto rect = [this](std::uint64_t at) {
        return EmfRectL{static_cast<std::int32_t>(U32At(at)), static_cast<std::int32_t>(U32At(at + 4)),
                        static_cast<std::int32_t>(U32At(at + 8)), static_cast<std::int32_t>(U32At(at + 12))};
    };
    auto size = [this](std::uint64_t at) {
        return CanvasSize{static_cast<int>(U32At(at)), static_cast<int>(U32At(at + 4))};
    };
    m_header.m_rcBounds = rect(8);
    m_header.m_rcFrame = rect(24);
    m_header.m_nBytes = U32At(48);
    m_header.m_nRecords = U32At(52);
    m_header.m_nHandles = U16At(56);
    m_header.m_szDevice = size(72);
    m_header.m_szMillimetres = size(80);
    if (m_header.m_nBytes != total)
        return Fail(QStringLiteral("header says %1 bytes, the file has %2").arg(m_header.m_nBytes).arg(total));
    if (m_header.m_nHandles < 1)
        return Fail(QStringLiteral("no object table"));

    const std::uint64_t nDescription = U32At(60);
    const std::uint64_t offDescription = U32At(64);
    if (nDescription > 0) {
        if (offDescription < Emf::kHeaderMinSize || offDescription + 2 * nDescription > m_nHeaderSize)
            return Fail(QStringLiteral("description outside the header"));
        m_header.m_strDescription = Utf16At(offDescription, nDescription, false);
    }
    // The micrometre sizes exist when the header reaches past them and the description starts after them.
    const bool extended = m_nHeaderSize >= Emf::kHeaderFixedSize
                          && (nDescription == 0 || offDescription >= Emf::kHeaderFixedSize);
    if (extended)
        m_header.m_szMicrometres = size(100);
    m_aObjects.assign(m_header.m_nHandles, Kind::None);
    return true;
}

bool EmfReader::CheckSize(const EmfRecordRef& r)
{
    const std::uint64_t size = r.m_nSize;
    auto bad = [&](const char* what) {
        return Fail(QStringLiteral("record %1 at byte %2: %3").arg(r.m_nType).arg(r.m_nOffset).arg(QLatin1String(what)));
    };
    const std::uint32_t fixed = FixedSize(r.m_nType);
    if (fixed != 0 && size != fixed)
        return bad("wrong size");
    if (IsPoly16(r.m_nType) || IsPoly32(r.m_nType)) {
        if (size < Emf::kPolyFixedSize)
            return bad("too short");
        const std::uint64_t each = IsPoly16(r.m_nType) ? 4 : 8;
        if (Emf::kPolyFixedSize + each * U32(r, 24) != size)
            return bad("point count does not match the size");
    }
    switch (r.m_nType) {
    case Emf::Eof:
        if (size < Emf::kEofSize)
            return bad("too short");
        break;
    case Emf::ExtCreateFontIndirectW:
        if (size < 12 + Emf::kLogFontSize)
            return bad("too short");
        break;
    case Emf::ExtCreatePen:
        if (size < 52)
            return bad("too short");
        break;
    case Emf::ExtTextOutW: {
        if (size < Emf::kExtTextOutFixedSize)
            return bad("too short");
        const std::uint64_t n = U32(r, 44);
        const std::uint64_t offString = U32(r, 48);
        const std::uint64_t offDx = U32(r, 72);
        const std::uint64_t dxEach = (U32(r, 52) & 0x2000) != 0 ? 8 : 4; // ETO_PDY: x and y
        if (offString < Emf::kExtTextOutFixedSize || offString + 2 * n > size)
            return bad("string outside the record");
        if (offDx != 0 && (offDx < Emf::kExtTextOutFixedSize || offDx + dxEach * n > size))
            return bad("spacing outside the record");
        break;
    }
    case Emf::BitBlt:
    case Emf::StretchDiBits: {
        const bool stretch = r.m_nType == Emf::StretchDiBits;
        if (size < (stretch ? Emf::kStretchDiBitsFixedSize : Emf::kBitBltSize))
            return bad("too short");
        const std::uint32_t at = stretch ? 48 : 84;
        const std::uint64_t offBmi = U32(r, at), cbBmi = U32(r, at + 4);
        const std::uint64_t offBits = U32(r, at + 8), cbBits = U32(r, at + 12);
        if (cbBmi == 0 && !stretch)
            break;
        if (cbBmi < Emf::kBitmapInfoHeaderSize || offBmi + cbBmi > size || offBits + cbBits > size)
            return bad("bitmap outside the record");
        const std::uint64_t bmi = r.m_nOffset + offBmi;
        const auto width = static_cast<std::int32_t>(U32At(bmi + 4));
        const auto height = static_cast<std::int32_t>(U32At(bmi + 8));
        const std::uint16_t bitCount = U16At(bmi + 14);
        const std::uint32_t compression = U32At(bmi + 16);
        if (U32At(bmi) < Emf::kBitmapInfoHeaderSize || width <= 0 || height == 0)
            return bad("bitmap header");
        if (compression == 0) {
            if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
                return bad("bitmap depth");
            const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
            const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -static_cast<std::int64_t>(height) : height);
            if (stride * rows > cbBits)
                return bad("bitmap bits too short");
        }
        break;
    }
    default: break;
    }
    return true;
}

EmfReader::Kind EmfReader::StockKind(std::uint32_t index)
{
    const std::uint32_t n = index & ~Emf::kStockFlag;
    if (n <= 5 || n == 18)
        return Kind::Brush;
    if ((n >= 6 && n <= 8) || n == 19)
        return Kind::Pen;
    if ((n >= 10 && n <= 14) || n == 16 || n == 17)
        return Kind::Font;
    if (n == 15)
        return Kind::Palette;
    return Kind::None;
}

bool EmfReader::IsSelected(std::uint32_t handle) const
{
    auto in = [handle](const Selection& s) {
        return std::find(std::begin(s.m_aSlot), std::end(s.m_aSlot), handle) != std::end(s.m_aSlot);
    };
    return in(m_current) || std::any_of(m_aSaved.begin(), m_aSaved.end(), in);
}

// Follows the object table and the saved levels of the device context.
bool EmfReader::CheckObjects(const EmfRecordRef& r)
{
    auto bad = [&](const QString& what) {
        return Fail(QStringLiteral("record %1 at byte %2: %3").arg(r.m_nType).arg(r.m_nOffset).arg(what));
    };
    Kind created = Kind::None;
    switch (r.m_nType) {
    case Emf::CreatePen:
    case Emf::ExtCreatePen: created = Kind::Pen; break;
    case Emf::CreateBrushIndirect:
    case Emf::CreateMonoBrush:
    case Emf::CreateDibPatternBrushPt: created = Kind::Brush; break;
    case Emf::ExtCreateFontIndirectW: created = Kind::Font; break;
    case Emf::CreatePalette: created = Kind::Palette; break;
    default: break;
    }
    const std::uint32_t index = U32(r, 8);
    if (created != Kind::None) {
        if (index == 0 || index >= m_aObjects.size())
            return bad(QStringLiteral("handle %1 outside the object table").arg(index));
        if (m_aObjects[index] != Kind::None)
            return bad(QStringLiteral("handle %1 is already in use").arg(index));
        m_aObjects[index] = created;
        ++m_nCreated;
        return true;
    }
    switch (r.m_nType) {
    case Emf::SelectObject: {
        Kind kind = Kind::None;
        if ((index & Emf::kStockFlag) != 0)
            kind = index <= Emf::kStockLast ? StockKind(index) : Kind::None;
        else if (index < m_aObjects.size())
            kind = m_aObjects[index];
        if (kind == Kind::None)
            return bad(QStringLiteral("selects object %1, which does not exist").arg(index, 0, 16));
        if (kind == Kind::Pen || kind == Kind::Brush || kind == Kind::Font)
            m_current.m_aSlot[static_cast<int>(kind) - static_cast<int>(Kind::Pen)] = index;
        return true;
    }
    case Emf::DeleteObject:
        if ((index & Emf::kStockFlag) != 0 || index == 0 || index >= m_aObjects.size()
            || m_aObjects[index] == Kind::None)
            return bad(QStringLiteral("deletes object %1, which does not exist").arg(index));
        if (IsSelected(index))
            return bad(QStringLiteral("deletes object %1 while it is selected").arg(index));
        m_aObjects[index] = Kind::None;
        ++m_nDeleted;
        return true;
    case Emf::SaveDc: m_aSaved.push_back(m_current); return true;
    case Emf::RestoreDc: {
        const auto level = static_cast<std::int32_t>(index);
        const std::int64_t depth = static_cast<std::int64_t>(m_aSaved.size());
        // Negative: that many levels back; positive: the level of that number.
        const std::int64_t keep = level < 0 ? depth + level : static_cast<std::int64_t>(level) - 1;
        if (level == 0 || keep < 0 || keep >= depth)
            return bad(QStringLiteral("restores level %1 of %2").arg(level).arg(depth));
        m_current = m_aSaved[static_cast<std::size_t>(keep)];
        m_aSaved.resize(static_cast<std::size_t>(keep));
        return true;
    }
    default: return true;
    }
}

std::vector<std::uint32_t> EmfReader::Types() const
{
    std::vector<std::uint32_t> out;
    out.reserve(m_aRecords.size());
    for (const EmfRecordRef& r : m_aRecords)
        out.push_back(r.m_nType);
    return out;
}

std::vector<EmfRecordRef> EmfReader::OfType(std::uint32_t type) const
{
    std::vector<EmfRecordRef> out;
    for (const EmfRecordRef& r : m_aRecords)
        if (r.m_nType == type)
            out.push_back(r);
    return out;
}

std::optional<EmfFontInfo> EmfReader::Font(const EmfRecordRef& r) const
{
    if (r.m_nType != Emf::ExtCreateFontIndirectW || r.m_nSize < 12 + Emf::kLogFontSize)
        return std::nullopt;
    EmfFontInfo f;
    f.m_nHeight = I32(r, 12);
    f.m_nWidth = I32(r, 16);
    f.m_nEscapement = I32(r, 20);
    f.m_nOrientation = I32(r, 24);
    f.m_nWeight = I32(r, 28);
    f.m_bItalic = (U32(r, 32) & 0xFF) != 0;
    f.m_bUnderline = ((U32(r, 32) >> 8) & 0xFF) != 0;
    f.m_strFace = Utf16At(static_cast<std::uint64_t>(r.m_nOffset) + 40, 32, true);
    return f;
}

std::optional<EmfTextInfo> EmfReader::Text(const EmfRecordRef& r) const
{
    if (r.m_nType != Emf::ExtTextOutW || r.m_nSize < Emf::kExtTextOutFixedSize)
        return std::nullopt;
    EmfTextInfo t;
    t.m_ptReference = {I32(r, 36), I32(r, 40)};
    const std::uint32_t n = U32(r, 44);
    t.m_nOptions = U32(r, 52);
    t.m_rcClip = {I32(r, 56), I32(r, 60), I32(r, 64), I32(r, 68)};
    t.m_strText = Utf16At(static_cast<std::uint64_t>(r.m_nOffset) + U32(r, 48), n, false);
    const std::uint32_t offDx = U32(r, 72);
    const std::uint32_t step = (t.m_nOptions & 0x2000) != 0 ? 8 : 4;
    if (offDx != 0)
        for (std::uint32_t i = 0; i < n; ++i)
            t.m_aDx.push_back(I32(r, offDx + step * i));
    return t;
}

std::optional<EmfDibInfo> EmfReader::Dib(const EmfRecordRef& r) const
{
    if (r.m_nType != Emf::StretchDiBits || r.m_nSize < Emf::kStretchDiBitsFixedSize)
        return std::nullopt;
    EmfDibInfo d;
    const int x = I32(r, 24), y = I32(r, 28);
    d.m_rcDest = {x, y, x + I32(r, 72), y + I32(r, 76)};
    const int sx = I32(r, 32), sy = I32(r, 36);
    d.m_rcSource = {sx, sy, sx + I32(r, 40), sy + I32(r, 44)};
    const std::uint64_t bmi = static_cast<std::uint64_t>(r.m_nOffset) + U32(r, 48);
    d.m_nWidth = static_cast<std::int32_t>(U32At(bmi + 4));
    d.m_nHeight = static_cast<std::int32_t>(U32At(bmi + 8));
    d.m_nBitCount = U16At(bmi + 14);
    d.m_bits = m_bytes.mid(static_cast<qsizetype>(r.m_nOffset + U32(r, 56)), static_cast<qsizetype>(U32(r, 60)));
    return d;
}

std::vector<CanvasPoint> EmfReader::Points(const EmfRecordRef& r) const
{
    std::vector<CanvasPoint> out;
    const bool small = IsPoly16(r.m_nType);
    if (!small && !IsPoly32(r.m_nType))
        return out;
    const std::uint32_t n = U32(r, 24);
    for (std::uint32_t i = 0; i < n; ++i) {
        if (small) {
            const std::uint32_t v = U32(r, 28 + 4 * i);
            out.push_back({static_cast<std::int16_t>(v & 0xFFFF), static_cast<std::int16_t>(v >> 16)});
        } else {
            out.push_back({I32(r, 28 + 8 * i), I32(r, 32 + 8 * i)});
        }
    }
    return out;
}
