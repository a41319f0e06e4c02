// libFuzzer target: arbitrary bytes opened as a WAV file.  Whatever opens must
// read back exactly GetDataSize() bytes, and writing those bytes again with the
// same format must give a file that reads back the same.
#include "RiffWaveFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

// An in-memory file reachable by a path, so CRiffWaveFile opens it like any other.
struct MemFile {
    int fd = -1;
    std::string path;
    explicit MemFile(const char* name)
    {
        fd = ::memfd_create(name, 0);
        if (fd < 0)
            std::abort();
        path = "/proc/self/fd/" + std::to_string(fd);
    }
    void Fill(const std::uint8_t* data, std::size_t size)
    {
        if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
            std::abort();
    }
};

std::vector<std::uint8_t> ReadAll(CRiffWaveFile& f)
{
    static const std::uint32_t kPieces[] = {1, 3, 333, 7, 4097, 65537};
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> buf(65537);
    for (std::size_t i = 0;; ++i) {
        std::uint32_t got = 0;
        const std::uint32_t want = kPieces[i % (sizeof kPieces / sizeof kPieces[0])];
        if (Failed(f.Read(buf.data(), want, &got)) || got == 0)
            return out;
        if (got > want)
            std::abort();
        out.insert(out.end(), buf.begin(), buf.begin() + got);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static MemFile input("wav-in");
    static MemFile output("wav-out");
    input.Fill(data, size);

    CRiffWaveFile reader;
    if (Failed(reader.Open(input.path, nullptr, CRiffWaveFile::kModeRead))) {
        if (reader.GetFormat() != nullptr)
            std::abort();
        return 0;
    }
    const std::vector<std::uint8_t> samples = ReadAll(reader);
    if (samples.size() != reader.GetDataSize() || samples.size() > size)
        std::abort();
    const WaveFormat format = *reader.GetFormat();
    if (Failed(reader.Rewind()) || ReadAll(reader) != samples || Failed(reader.Close()))
        std::abort();

    CRiffWaveFile writer;
    if (Failed(writer.Open(output.path, &format, CRiffWaveFile::kModeWrite)))
        std::abort();
    const std::size_t half = samples.size() / 2;
    if (Failed(writer.Write(static_cast<std::uint32_t>(half), samples.data(), nullptr)) || Failed(writer.Flush())
        || Failed(writer.Write(static_cast<std::uint32_t>(samples.size() - half), samples.data() + half, nullptr))
        || Failed(writer.Close()))
        std::abort();
    CRiffWaveFile again;
    if (Failed(again.Open(output.path, nullptr, CRiffWaveFile::kModeRead)) || !(*again.GetFormat() == format)
        || ReadAll(again) != samples)
        std::abort();
    return 0;
}
