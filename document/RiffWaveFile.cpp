#include "RiffWaveFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kBufferSize = 64 * 1024; // bytes of the write buffer
constexpr std::uint32_t kFactWriting = 0xFFFFFFFFu;

constexpr std::uint32_t FourCc(const char (&s)[5])
{
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[0]))
        | static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[1])) << 8
        | static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[2])) << 16
        | static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[3])) << 24;
}

constexpr std::uint32_t kIdRiff = FourCc("RIFF");
constexpr std::uint32_t kIdWave = FourCc("WAVE");
constexpr std::uint32_t kIdFmt = FourCc("fmt ");
constexpr std::uint32_t kIdFact = FourCc("fact");
constexpr std::uint32_t kIdData = FourCc("data");

std::uint16_t Get16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t Get32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
        | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::vector<std::uint8_t> Bytes32(std::uint32_t v)
{
    std::vector<std::uint8_t> out;
    Put32(out, v);
    return out;
}

} // namespace

CRiffWaveFile::CRiffWaveFile() = default;

CRiffWaveFile::~CRiffWaveFile()
{
    if (m_nMode != 0)
        Close();
}

HResult CRiffWaveFile::Open(const std::string& path, const WaveFormat* fmt, int mode)
{
    if (path.empty())
        return E_INVALIDARG;
    if (mode != kModeRead && mode != kModeWrite)
        return E_INVALIDARG;
    if (mode == kModeWrite && (fmt == nullptr || fmt->extra.size() > WaveFormat::kMaxExtraSize))
        return E_INVALIDARG;
    if (m_nMode != 0)
        Close();
    m_pFormat.reset();
    m_ckData = {};
    m_ckRiff = {};
    m_dwDataSize = 0;
    m_dwDataLeft = 0;
    m_qwFileSize = 0;
    m_qwFactOffset = 0;
    m_qwWritten = 0;
    m_nBuffered = 0;
    return mode == kModeRead ? OpenForReading(path) : OpenForWriting(path, *fmt);
}

HResult CRiffWaveFile::OpenForReading(const std::string& path)
{
    m_pFile = std::fopen(path.c_str(), "rb");
    if (m_pFile == nullptr)
        return E_FAIL;
    std::setvbuf(m_pFile, nullptr, _IOFBF, kBufferSize);
    m_nMode = kModeRead;
    // Every size in the file is checked against the real end of the file.
    off_t end = -1;
    if (fseeko(m_pFile, 0, SEEK_END) == 0)
        end = ftello(m_pFile);
    m_qwFileSize = end < 0 ? 0 : static_cast<std::uint64_t>(end);
    std::uint8_t head[12];
    if (!ReadAt(0, head, sizeof head) || Get32(head) != kIdRiff || Get32(head + 8) != kIdWave) {
        ReleaseFile();
        return E_FAIL;
    }
    // The RIFF size is kept for reference only: a writer that died before
    // patching it leaves 0 or a stale value, so chunks are searched up to the
    // real file end instead.
    m_ckRiff.dwId = kIdRiff;
    m_ckRiff.dwSize = Get32(head + 4);
    m_ckRiff.qwDataOffset = 8;

    RiffChunk fmtChunk;
    if (!FindChunk(kIdFmt, 12, &fmtChunk) || Failed(ReadFormat(fmtChunk)) || Failed(Rewind())) {
        m_pFormat.reset();
        ReleaseFile();
        return E_FAIL;
    }
    return S_OK;
}

HResult CRiffWaveFile::ReadFormat(const RiffChunk& ck)
{
    if (ck.dwSize < 16)
        return E_FAIL;
    std::uint8_t b[18];
    if (!ReadAt(ck.qwDataOffset, b, 16))
        return E_FAIL;
    auto format = std::make_unique<WaveFormat>();
    format->formatTag = Get16(b);
    format->channels = Get16(b + 2);
    format->samplesPerSec = Get32(b + 4);
    format->avgBytesPerSec = Get32(b + 8);
    format->blockAlign = Get16(b + 12);
    format->bitsPerSample = Get16(b + 14);
    // Samples cannot be taken apart without a channel count and a frame size.
    if (format->channels == 0 || format->blockAlign == 0)
        return E_FAIL;
    // A non-PCM format whose chunk ends after 16 bytes has no extra size field;
    // it counts as 0 instead of being taken from the next chunk's bytes.
    if (format->formatTag != WaveFormat::kTagPcm && ck.dwSize >= 18) {
        if (!ReadAt(ck.qwDataOffset + 16, b + 16, 2))
            return E_FAIL;
        const std::uint16_t extraSize = Get16(b + 16);
        if (extraSize > ck.dwSize - 18u)
            return E_FAIL;
        format->extra.resize(extraSize);
        if (extraSize > 0 && !ReadAt(ck.qwDataOffset + 18, format->extra.data(), extraSize))
            return E_FAIL;
    }
    m_pFormat = std::move(format);
    return S_OK;
}

bool CRiffWaveFile::FindChunk(std::uint32_t id, std::uint64_t from, RiffChunk* found)
{
    std::uint64_t pos = from;
    std::uint8_t header[8];
    while (pos + 8 <= m_qwFileSize) {
        if (!ReadAt(pos, header, sizeof header))
            return false;
        const std::uint32_t size = Get32(header + 4);
        if (Get32(header) == id) {
            found->dwId = id;
            found->dwSize = size;
            found->qwDataOffset = pos + 8;
            return true;
        }
        // 64-bit sum: a size near 4 GiB cannot wrap around to an earlier offset.
        pos += 8 + static_cast<std::uint64_t>(size) + (size & 1u);
    }
    return false;
}

HResult CRiffWaveFile::OpenForWriting(const std::string& path, const WaveFormat& fmt)
{
    m_pFile = std::fopen(path.c_str(), "w+b");
    if (m_pFile == nullptr)
        return E_FAIL;
    // The object's own buffer collects the samples; the stream adds none.
    std::setvbuf(m_pFile, nullptr, _IONBF, 0);
    m_nMode = kModeWrite;
    m_pFormat = std::make_unique<WaveFormat>(fmt);

    const bool pcm = fmt.formatTag == WaveFormat::kTagPcm;
    const std::uint32_t fmtSize = pcm ? 16u : static_cast<std::uint32_t>(18 + fmt.extra.size());
    std::vector<std::uint8_t> h;
    Put32(h, kIdRiff);
    Put32(h, 0); // patched below once the header's length is known
    Put32(h, kIdWave);
    Put32(h, kIdFmt);
    Put32(h, fmtSize);
    Put16(h, fmt.formatTag);
    Put16(h, fmt.channels);
    Put32(h, fmt.samplesPerSec);
    Put32(h, fmt.avgBytesPerSec);
    Put16(h, fmt.blockAlign);
    Put16(h, fmt.bitsPerSample);
    if (!pcm) {
        Put16(h, static_cast<std::uint16_t>(fmt.extra.size()));
        h.insert(h.end(), fmt.extra.begin(), fmt.extra.end());
        if (fmtSize & 1u)
            h.push_back(0);
    }
    Put32(h, kIdFact);
    Put32(h, 4);
    m_qwFactOffset = h.size();
    Put32(h, kFactWriting);
    Put32(h, kIdData);
    Put32(h, 0);
    m_ckRiff = {kIdRiff, 0, 8};
    m_ckData = {kIdData, 0, h.size()};
    // Valid (empty) from the start, so even a file cut off before the first
    // Flush can be opened.
    const std::vector<std::uint8_t> riffSize = Bytes32(static_cast<std::uint32_t>(h.size() - 8));
    std::copy(riffSize.begin(), riffSize.end(), h.begin() + 4);
    if (!WriteAt(0, h.data(), h.size())) {
        ReleaseFile();
        return E_FAIL;
    }
    m_aBuffer.resize(kBufferSize);
    return S_OK;
}

HResult CRiffWaveFile::Close()
{
    if (m_nMode == 0)
        return CO_E_NOTINITIALIZED;
    HResult hr = S_OK;
    if (m_nMode == kModeWrite) {
        if (!WriteBuffered() || !PatchSizes(0) || std::fflush(m_pFile) != 0)
            hr = E_FAIL;
    }
    // A file that could not be finished is released all the same: the handle
    // would otherwise outlive the object.
    if (std::fclose(m_pFile) != 0)
        hr = E_FAIL;
    m_pFile = nullptr;
    m_nMode = 0;
    m_aBuffer.clear();
    m_aBuffer.shrink_to_fit();
    m_nBuffered = 0;
    return hr;
}

HResult CRiffWaveFile::Rewind()
{
    if (m_nMode == 0)
        return CO_E_NOTINITIALIZED;
    if (m_nMode == kModeWrite)
        return E_FAIL;
    RiffChunk data;
    if (!FindChunk(kIdData, 12, &data))
        return E_FAIL;
    // A data size beyond the file end (a recording cut off by a crash, or a
    // damaged header) is clamped to the bytes really present.
    const std::uint64_t present = m_qwFileSize - data.qwDataOffset;
    m_ckData = data;
    m_dwDataSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(data.dwSize, present));
    m_dwDataLeft = m_dwDataSize;
    if (fseeko(m_pFile, static_cast<off_t>(data.qwDataOffset), SEEK_SET) != 0)
        return E_FAIL;
    return S_OK;
}

HResult CRiffWaveFile::Read(std::uint8_t* buf, std::uint32_t wanted, std::uint32_t* read)
{
    if (read != nullptr)
        *read = 0;
    if (m_nMode == 0)
        return CO_E_NOTINITIALIZED;
    if (buf == nullptr)
        return E_INVALIDARG;
    if (m_nMode != kModeRead)
        return E_FAIL;
    const std::uint32_t count = std::min(wanted, m_dwDataLeft);
    if (count == 0)
        return S_OK;
    const std::size_t got = std::fread(buf, 1, count, m_pFile);
    // The file may have shrunk since it was opened; what arrived is reported.
    m_dwDataLeft -= static_cast<std::uint32_t>(got);
    if (read != nullptr)
        *read = static_cast<std::uint32_t>(got);
    return got == 0 ? E_FAIL : S_OK;
}

HResult CRiffWaveFile::Write(std::uint32_t count, const std::uint8_t* data, std::uint32_t* written)
{
    if (written != nullptr)
        *written = 0;
    if (m_nMode == 0)
        return CO_E_NOTINITIALIZED;
    if (count == 0)
        return S_OK;
    if (data == nullptr)
        return E_INVALIDARG;
    if (m_nMode != kModeWrite)
        return E_FAIL;
    // The RIFF size field must hold the header, the samples and a pad byte.
    const std::uint64_t limit = 0xFFFFFFFFull - (m_ckData.qwDataOffset - 8) - 1;
    const std::uint64_t room = limit - std::min(limit, m_qwWritten);
    const std::uint32_t take = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, room));
    std::uint32_t done = 0;
    while (done < take) {
        if (m_nBuffered == m_aBuffer.size() && !WriteBuffered())
            break;
        const std::size_t n = std::min<std::size_t>(take - done, m_aBuffer.size() - m_nBuffered);
        std::memcpy(m_aBuffer.data() + m_nBuffered, data + done, n);
        m_nBuffered += n;
        m_qwWritten += n;
        done += static_cast<std::uint32_t>(n);
    }
    m_dwDataSize = static_cast<std::uint32_t>(m_qwWritten);
    if (written != nullptr)
        *written = done;
    return done == count ? S_OK : E_FAIL;
}

HResult CRiffWaveFile::Flush()
{
    if (m_nMode == 0)
        return CO_E_NOTINITIALIZED;
    if (m_nMode != kModeWrite)
        return E_FAIL;
    if (!WriteBuffered() || !PatchSizes(kFactWriting) || std::fflush(m_pFile) != 0)
        return E_FAIL;
    return S_OK;
}

// Writes the buffered samples, the last m_nBuffered of the m_qwWritten bytes taken.
bool CRiffWaveFile::WriteBuffered()
{
    if (m_nBuffered == 0)
        return true;
    const std::uint64_t at = m_ckData.qwDataOffset + m_qwWritten - m_nBuffered;
    if (!WriteAt(at, m_aBuffer.data(), m_nBuffered))
        return false;
    m_nBuffered = 0;
    return true;
}

// Writes the pad byte after an odd data size and the true sizes into the header.
// Must follow WriteBuffered; a later Write overwrites the pad byte.
bool CRiffWaveFile::PatchSizes(std::uint32_t factValue)
{
    const std::uint64_t dataEnd = m_ckData.qwDataOffset + m_qwWritten;
    const std::uint64_t pad = m_qwWritten & 1u;
    if (pad != 0) {
        const std::uint8_t zero = 0;
        if (!WriteAt(dataEnd, &zero, 1))
            return false;
    }
    // Write never lets these sums pass 32 bits.
    m_ckData.dwSize = static_cast<std::uint32_t>(m_qwWritten);
    m_ckRiff.dwSize = static_cast<std::uint32_t>(dataEnd + pad - 8);
    const std::vector<std::uint8_t> riff = Bytes32(m_ckRiff.dwSize);
    const std::vector<std::uint8_t> data = Bytes32(m_ckData.dwSize);
    const std::vector<std::uint8_t> fact = Bytes32(factValue);
    return WriteAt(4, riff.data(), 4) && WriteAt(m_ckData.qwDataOffset - 4, data.data(), 4)
        && WriteAt(m_qwFactOffset, fact.data(), 4);
}

bool CRiffWaveFile::ReadAt(std::uint64_t offset, void* buf, std::size_t size)
{
    if (offset > m_qwFileSize || size > m_qwFileSize - offset)
        return false;
    return fseeko(m_pFile, static_cast<off_t>(offset), SEEK_SET) == 0
        && std::fread(buf, 1, size, m_pFile) == size;
}

bool CRiffWaveFile::WriteAt(std::uint64_t offset, const void* buf, std::size_t size)
{
    return fseeko(m_pFile, static_cast<off_t>(offset), SEEK_SET) == 0
        && std::fwrite(buf, 1, size, m_pFile) == size;
}

void CRiffWaveFile::ReleaseFile()
{
    if (m_pFile != nullptr)
        std::fclose(m_pFile);
    m_pFile = nullptr;
    m_nMode = 0;
}
