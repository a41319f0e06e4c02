// Reader and writer of RIFF WAVE files: the only code that knows the WAV layout.
// Reading skips unknown chunks and never trusts a size from the file beyond the
// real file end; writing goes through a 64 KiB buffer and patches the sizes on Close.
#pragma once

#include "ResultCodes.h"
#include "WaveFormat.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class CRiffWaveFile {
public:
    static constexpr int kModeRead = 1;
    static constexpr int kModeWrite = 2;

    CRiffWaveFile();
    ~CRiffWaveFile();
    CRiffWaveFile(const CRiffWaveFile&) = delete;
    CRiffWaveFile& operator=(const CRiffWaveFile&) = delete;

    // Opens path (UTF-8) for reading (mode 1; fmt is ignored) or creates it for
    // writing (mode 2; fmt is the format to write).  An open file is closed first.
    // S_OK, E_INVALIDARG (no name, no format for writing, unknown mode) or E_FAIL.
    HResult Open(const std::string& path, const WaveFormat* fmt, int mode);

    // Write mode: writes the buffer, the pad byte and the final sizes; the file is
    // closed even when that fails (E_FAIL then).  CO_E_NOTINITIALIZED when nothing is open.
    HResult Close();

    // The format read from the file (or given for writing); null before the first Open.
    // It stays valid after Close until the next Open or destruction.
    const WaveFormat* GetFormat() const { return m_pFormat.get(); }

    // Read mode: bytes of sample data, never more than the file really holds.
    // Write mode: bytes written so far.
    std::uint32_t GetDataSize() const { return m_dwDataSize; }
    // Read mode: the data size the file's "data" chunk states; more than
    // GetDataSize() when the file ends early.
    std::uint32_t GetDeclaredDataSize() const { return m_ckData.dwSize; }

    // Read mode: back to the first byte of the sample data.  Write mode: E_FAIL,
    // the data chunk is made by Open and cannot be started again.
    HResult Rewind();

    // Reads up to wanted bytes, never past the end of the data chunk; *read gets
    // the count (0 at the end).  read may be null.
    HResult Read(std::uint8_t* buf, std::uint32_t wanted, std::uint32_t* read);

    // Appends count bytes to the data chunk; *written gets the count taken
    // (written may be null).  A count of 0 succeeds.  E_FAIL when the disk
    // refuses or the file would pass the 4 GiB limit of RIFF.
    HResult Write(std::uint32_t count, const std::uint8_t* data, std::uint32_t* written);

    // Write mode: puts the buffered bytes into the file and patches the RIFF and
    // data sizes (with the pad byte rule) so the file is a valid WAV file holding
    // everything written so far, while it stays open for further Writes.
    HResult Flush();

private:
    // One chunk header found in or written to the file; offsets in bytes from the file start.
    struct RiffChunk {
        std::uint32_t dwId = 0;       // four character code, little-endian
        std::uint32_t dwSize = 0;     // size as stored in the header
        std::uint64_t qwDataOffset = 0; // first byte behind the 8-byte header
    };

    HResult OpenForReading(const std::string& path);
    HResult OpenForWriting(const std::string& path, const WaveFormat& fmt);
    HResult ReadFormat(const RiffChunk& ck);
    bool FindChunk(std::uint32_t id, std::uint64_t from, RiffChunk* found);
    bool ReadAt(std::uint64_t offset, void* buf, std::size_t size);
    bool WriteAt(std::uint64_t offset, const void* buf, std::size_t size);
    bool WriteBuffered();
    bool PatchSizes(std::uint32_t factValue);
    void ReleaseFile();

    std::unique_ptr<WaveFormat> m_pFormat; // owned; null before the first Open
    std::FILE* m_pFile = nullptr;
    RiffChunk m_ckData;                    // the "data" chunk
    RiffChunk m_ckRiff;                    // the outer "RIFF" chunk
    std::uint32_t m_dwDataSize = 0;        // bytes of sample data (clamped to the file when reading)
    std::uint64_t m_qwFileSize = 0;        // bytes; real size of the file when opened for reading
    std::uint64_t m_qwFactOffset = 0;      // offset of the 4-byte fact value (writing)
    std::uint32_t m_dwDataLeft = 0;        // bytes of sample data not yet read
    std::uint64_t m_qwWritten = 0;         // bytes of sample data handed to the file (writing)
    std::vector<std::uint8_t> m_aBuffer;   // write buffer, kBufferSize bytes
    std::size_t m_nBuffered = 0;           // bytes waiting in m_aBuffer
    int m_nMode = 0;                       // 0 closed, 1 read, 2 write
};
