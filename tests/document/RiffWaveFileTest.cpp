#include "RiffWaveFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append32(Bytes& b, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        b.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Append16(Bytes& b, std::uint16_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::uint32_t At32(const Bytes& b, std::size_t offset)
{
    return static_cast<std::uint32_t>(b.at(offset)) | b.at(offset + 1) << 8
        | b.at(offset + 2) << 16 | static_cast<std::uint32_t>(b.at(offset + 3)) << 24;
}

// One chunk: id, size field (the payload's size unless given) and the payload,
// followed by a pad byte when the payload is odd.
Bytes Chunk(const std::string& id, const Bytes& payload,
            std::optional<std::uint32_t> declared = std::nullopt)
{
    Bytes b(id.begin(), id.end());
    Append32(b, declared.value_or(static_cast<std::uint32_t>(payload.size())));
    b.insert(b.end(), payload.begin(), payload.end());
    if (payload.size() & 1u)
        b.push_back(0);
    return b;
}

Bytes FmtPayload(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                 std::uint16_t blockAlign, std::uint16_t bits)
{
    Bytes b;
    Append16(b, tag);
    Append16(b, channels);
    Append32(b, rate);
    Append32(b, rate * blockAlign);
    Append16(b, blockAlign);
    Append16(b, bits);
    return b;
}

Bytes MonoFmt() { return Chunk("fmt ", FmtPayload(1, 1, 8000, 2, 16)); }

Bytes Riff(const std::vector<Bytes>& chunks, std::optional<std::uint32_t> declared = std::nullopt)
{
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    Bytes b{'R', 'I', 'F', 'F'};
    Append32(b, declared.value_or(static_cast<std::uint32_t>(body.size())));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

Bytes Ramp(std::size_t n)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return b;
}

class RiffWaveFileTest : public TempDirTest {
protected:
    std::string Save(const std::string& name, const Bytes& bytes)
    {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    static Bytes Load(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static std::string WriteWave(const std::string& path, const WaveFormat& fmt, const Bytes& data)
    {
        CRiffWaveFile f;
        EXPECT_EQ(f.Open(path, &fmt, CRiffWaveFile::kModeWrite), S_OK);
        std::uint32_t written = 0;
        EXPECT_EQ(f.Write(static_cast<std::uint32_t>(data.size()), data.data(), &written), S_OK);
        EXPECT_EQ(written, data.size());
        EXPECT_EQ(f.Close(), S_OK);
        return path;
    }

    // Reads the whole data chunk in odd-sized pieces.
    static Bytes ReadAll(CRiffWaveFile& f)
    {
        Bytes out;
        std::uint8_t buf[333];
        for (;;) {
            std::uint32_t got = 0;
            EXPECT_EQ(f.Read(buf, sizeof buf, &got), S_OK);
            if (got == 0)
                return out;
            out.insert(out.end(), buf, buf + got);
        }
    }
};

TEST_F(RiffWaveFileTest, PcmRoundTripKeepsFormatAndSamples)
{
    const WaveFormat fmt = WaveFormat::Pcm(2, 44100, 16);
    EXPECT_EQ(fmt.blockAlign, 4);
    EXPECT_EQ(fmt.avgBytesPerSec, 176400u);
    // More than the 64 KiB write buffer, so the buffer is emptied on the way.
    const Bytes data = Ramp(200003);
    const std::string path = WriteWave(PathOf("round.wav"), fmt, data);

    CRiffWaveFile f;
    EXPECT_EQ(f.GetFormat(), nullptr);
    ASSERT_EQ(f.Open(path, nullptr, CRiffWaveFile::kModeRead), S_OK);
    ASSERT_NE(f.GetFormat(), nullptr);
    EXPECT_EQ(*f.GetFormat(), fmt);
    EXPECT_EQ(f.GetDataSize(), data.size());
    EXPECT_EQ(ReadAll(f), data);
    // Rewind starts over at the first sample.
    ASSERT_EQ(f.Rewind(), S_OK);
    std::uint8_t first[4] = {};
    std::uint32_t got = 0;
    EXPECT_EQ(f.Read(first, 4, &got), S_OK);
    EXPECT_EQ(Bytes(first, first + 4), Bytes(data.begin(), data.begin() + 4));
    EXPECT_EQ(f.Close(), S_OK);
    EXPECT_EQ(f.Close(), CO_E_NOTINITIALIZED);
}

TEST_F(RiffWaveFileTest, RawLayoutAfterClose)
{
    struct Case {
        std::size_t dataBytes;
        std::uint32_t riffSize;
        std::size_t fileSize;
    };
    // 4 "WAVE" + 8 + 16 "fmt " + 8 + 4 "fact" + 8 data header = 48, plus a pad byte
    // after an odd data size.
    for (const Case& c : {Case{1000, 1048, 1056}, Case{0, 48, 56}, Case{3, 52, 60}}) {
        SCOPED_TRACE(c.dataBytes);
        const Bytes data = Ramp(c.dataBytes);
        const Bytes raw = Load(WriteWave(PathOf("raw.wav"), WaveFormat::Pcm(1, 22050, 8), data));
        ASSERT_EQ(raw.size(), c.fileSize);
        EXPECT_EQ(std::string(raw.begin(), raw.begin() + 4), "RIFF");
        EXPECT_EQ(At32(raw, 4), c.riffSize);
        EXPECT_EQ(std::string(raw.begin() + 8, raw.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(At32(raw, 16), 16u);
        EXPECT_EQ(std::string(raw.begin() + 36, raw.begin() + 40), "fact");
        EXPECT_EQ(At32(raw, 40), 4u);
        EXPECT_EQ(At32(raw, 44), 0u) << "fact value after Close";
        EXPECT_EQ(std::string(raw.begin() + 48, raw.begin() + 52), "data");
        EXPECT_EQ(At32(raw, 52), c.dataBytes);
        EXPECT_EQ(Bytes(raw.begin() + 56, raw.begin() + 56 + static_cast<long>(c.dataBytes)), data);
        if (c.dataBytes & 1u) {
            EXPECT_EQ(raw.back(), 0) << "pad byte";
        }

        CRiffWaveFile f;
        ASSERT_EQ(f.Open(PathOf("raw.wav"), nullptr, CRiffWaveFile::kModeRead), S_OK);
        EXPECT_EQ(f.GetDataSize(), c.dataBytes);
        EXPECT_EQ(ReadAll(f), data);
    }
}

TEST_F(RiffWaveFileTest, ExtendedFormatKeepsExtraBytes)
{
    for (std::size_t extraSize : {0u, 3u, 22u}) {
        SCOPED_TRACE(extraSize);
        WaveFormat fmt = WaveFormat::Pcm(2, 48000, 24);
        fmt.formatTag = 0xFFFE;
        fmt.extra = Ramp(extraSize);
        const Bytes data = Ramp(17);
        const std::string path = WriteWave(PathOf("ext.wav"), fmt, data);
        const Bytes raw = Load(path);
        EXPECT_EQ(At32(raw, 16), 18 + extraSize) << "fmt chunk size";

        CRiffWaveFile f;
        ASSERT_EQ(f.Open(path, nullptr, CRiffWaveFile::kModeRead), S_OK);
        EXPECT_EQ(*f.GetFormat(), fmt);
        EXPECT_EQ(ReadAll(f), data);
    }
}

TEST_F(RiffWaveFileTest, SkipsOtherChunksAroundFmtAndData)
{
    const Bytes samples = Ramp(9);
    const Bytes list = Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 1, 0, 0, 0, 'x'});
    const Bytes bext = Chunk("bext", Ramp(5)); // odd size: a pad byte follows
    const std::string path = Save("list.wav", Riff({bext, MonoFmt(), list, Chunk("data", samples), list}));

    CRiffWaveFile f;
    ASSERT_EQ(f.Open(path, nullptr, CRiffWaveFile::kModeRead), S_OK);
    EXPECT_EQ(*f.GetFormat(), WaveFormat::Pcm(1, 8000, 16));
    EXPECT_EQ(f.GetDataSize(), samples.size());
    EXPECT_EQ(ReadAll(f), samples);
}

TEST_F(RiffWaveFileTest, OpensFilesShapedLikeOtherProgramsWriteThem)
{
    WaveFormat extensible = WaveFormat::Pcm(2, 48000, 24);
    extensible.formatTag = 0xFFFE;
    extensible.extra = {24, 0, 3, 0, 0, 0, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                        0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    struct Case {
        const char* file;
        WaveFormat format;
        std::uint32_t dataSize;
    };
    const Case cases[] = {
        {"riff_pcm8_list.wav", WaveFormat::Pcm(1, 8000, 8), 101},
        {"riff_pcm16_stereo_bext.wav", WaveFormat::Pcm(2, 44100, 16), 256},
        {"riff_extensible24.wav", extensible, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = TestDataPath(c.file);
        CRiffWaveFile f;
        ASSERT_EQ(f.Open(path, nullptr, CRiffWaveFile::kModeRead), S_OK);
        EXPECT_EQ(*f.GetFormat(), c.format);
        EXPECT_EQ(f.GetDataSize(), c.dataSize);
        const Bytes data = ReadAll(f);
        ASSERT_EQ(data.size(), c.dataSize);
        // The samples are the bytes right behind the "data" header.
        const Bytes raw = Load(path);
        const auto dataHeader = std::search(raw.begin(), raw.end(), data.begin(), data.end());
        EXPECT_EQ(std::string(dataHeader - 8, dataHeader - 4), "data");
    }
}

TEST_F(RiffWaveFileTest, ReadPastTheEndGivesWhatRemainsThenNothing)
{
    const Bytes data = Ramp(100);
    const std::string path = WriteWave(PathOf("short.wav"), WaveFormat::Pcm(1, 8000, 8), data);
    CRiffWaveFile f;
    ASSERT_EQ(f.Open(path, nullptr, CRiffWaveFile::kModeRead), S_OK);
    Bytes buf(160, 0xEE);
    std::uint32_t got = 0;
    EXPECT_EQ(f.Read(buf.data(), 60, &got), S_OK);
    EXPECT_EQ(got, 60u);
    buf.assign(buf.size(), 0xEE);
    EXPECT_EQ(f.Read(buf.data(), 150, &got), S_OK);
    EXPECT_EQ(got, 40u);
    EXPECT_EQ(Bytes(buf.begin(), buf.begin() + 40), Bytes(data.begin() + 60, data.end()));
    EXPECT_EQ(buf[40], 0xEE) << "nothing written past the count";
    EXPECT_EQ(f.Read(buf.data(), 150, &got), S_OK);
    EXPECT_EQ(got, 0u);
}

TEST_F(RiffWaveFileTest, FlushLeavesAValidFileWhileWritingGoesOn)
{
    const Bytes part1 = Ramp(70001); // odd, and larger than the write buffer
    const Bytes part2 = Ramp(500);
    const std::string path = PathOf("rec.wav");
    const WaveFormat fmt = WaveFormat::Pcm(1, 44100, 16);
    CRiffWaveFile writer;
    ASSERT_EQ(writer.Open(path, &fmt, CRiffWaveFile::kModeWrite), S_OK);
    {
        // Before any Write the file is already a valid empty WAV file.
        CRiffWaveFile reader;
        ASSERT_EQ(reader.Open(path, nullptr, CRiffWaveFile::kModeRead), S_OK);
        EXPECT_EQ(reader.GetDataSize(), 0u);
    }
    ASSERT_EQ(writer.Write(static_cast<std::uint32_t>(part1.size()), part1.data(), nullptr), S_OK);
    ASSERT_EQ(writer.Flush(), S_OK);
    {
        const Bytes raw = Load(path);
        EXPECT_EQ(raw.size(), 56 + part1.size() + 1) << "pad byte after the odd size";
        EXPECT_EQ(At32(raw, 4), raw.size() - 8);
        EXPECT_EQ(At32(raw, 44), 0xFFFFFFFFu) << "fact value while writing";
        CRiffWaveFile reader;
        ASSERT_EQ(reader.Open(path, nullptr, CRiffWaveFile::kModeRead), S_OK);
        EXPECT_EQ(reader.GetDataSize(), part1.size());
        EXPECT_EQ(ReadAll(reader), part1);
    }
    ASSERT_EQ(writer.Write(static_cast<std::uint32_t>(part2.size()), part2.data(), nullptr), S_OK);
    EXPECT_EQ(writer.GetDataSize(), part1.size() + part2.size());
    ASSERT_EQ(writer.Close(), S_OK);

    Bytes all = part1;
    all.insert(all.end(), part2.begin(), part2.end());
    const Bytes raw = Load(path);
    EXPECT_EQ(raw.size(), 56 + all.size() + 1) << "the old pad byte was overwritten by samples";
    CRiffWaveFile reader;
    ASSERT_EQ(reader.Open(path, nullptr, CRiffWaveFile::kModeRead), S_OK);
    EXPECT_EQ(ReadAll(reader), all);
}

TEST_F(RiffWaveFileTest, DamagedFilesFailOrAreClamped)
{
    const Bytes samples = Ramp(40);
    Bytes extendedTooBig = FmtPayload(2, 1, 8000, 2, 4);
    Append16(extendedTooBig, 50); // claims 50 extra bytes in a chunk of 20
    extendedTooBig.insert(extendedTooBig.end(), {1, 2});
    const Bytes wholeFile = Riff({MonoFmt(), Chunk("data", samples)});

    struct Case {
        const char* name;
        Bytes bytes;
        HResult hr;
        std::uint32_t dataSize;
    };
    const std::vector<Case> cases = {
        {"empty file", {}, E_FAIL, 0},
        {"only RIFF id and size", Bytes(wholeFile.begin(), wholeFile.begin() + 8), E_FAIL, 0},
        {"not RIFF", Bytes{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, E_FAIL, 0},
        {"not WAVE", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, E_FAIL, 0},
        {"no fmt", Riff({Chunk("data", samples)}), E_FAIL, 0},
        {"fmt shorter than 16", Riff({Chunk("fmt ", Bytes(14, 1)), Chunk("data", samples)}), E_FAIL, 0},
        {"fmt cut off by the file end", Bytes(wholeFile.begin(), wholeFile.begin() + 30), E_FAIL, 0},
        {"no data chunk", Riff({MonoFmt(), Chunk("LIST", Ramp(6))}), E_FAIL, 0},
        {"data header cut off", Bytes(wholeFile.begin(), wholeFile.begin() + 40), E_FAIL, 0},
        {"zero channels", Riff({Chunk("fmt ", FmtPayload(1, 0, 8000, 2, 16)), Chunk("data", samples)}),
         E_FAIL, 0},
        {"zero block align", Riff({Chunk("fmt ", FmtPayload(1, 1, 8000, 0, 16)), Chunk("data", samples)}),
         E_FAIL, 0},
        {"extra size beyond its chunk", Riff({Chunk("fmt ", extendedTooBig), Chunk("data", samples)}),
         E_FAIL, 0},
        {"chunk size near 4 GiB before data",
         Riff({MonoFmt(), Chunk("LIST", Ramp(4), 0xFFFFFFF7u), Chunk("data", samples)}), E_FAIL, 0},
        {"fmt size near 4 GiB", Riff({Chunk("fmt ", FmtPayload(1, 1, 8000, 2, 16), 0xFFFFFFFFu),
                                      Chunk("data", samples)}),
         E_FAIL, 0},
        {"data size beyond the file", Riff({MonoFmt(), Chunk("data", samples, 1000)}), S_OK, 40},
        {"data size 0xFFFFFFFF", Riff({MonoFmt(), Chunk("data", samples, 0xFFFFFFFFu)}), S_OK, 40},
        {"samples cut off mid-file", Bytes(wholeFile.begin(), wholeFile.end() - 15), S_OK, 25},
        {"RIFF size beyond the file", Riff({MonoFmt(), Chunk("data", samples)}, 0x7FFFFFF0u), S_OK, 40},
        {"RIFF size 0 from a writer that died", Riff({MonoFmt(), Chunk("data", samples)}, 0), S_OK, 40},
        {"non-PCM fmt without extra size field",
         Riff({Chunk("fmt ", FmtPayload(3, 1, 8000, 4, 32)), Chunk("data", samples)}), S_OK, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Save("damaged.wav", c.bytes);
        CRiffWaveFile f;
        ASSERT_EQ(f.Open(path, nullptr, CRiffWaveFile::kModeRead), c.hr);
        if (Failed(c.hr)) {
            EXPECT_EQ(f.GetFormat(), nullptr);
            EXPECT_EQ(f.Read(Bytes(4).data(), 4, nullptr), CO_E_NOTINITIALIZED);
            continue;
        }
        EXPECT_EQ(f.GetDataSize(), c.dataSize);
        EXPECT_EQ(ReadAll(f), Bytes(samples.begin(), samples.begin() + c.dataSize));
    }
}

TEST_F(RiffWaveFileTest, ArgumentAndStateErrors)
{
    const WaveFormat fmt = WaveFormat::Pcm(1, 8000, 16);
    std::uint8_t buf[4] = {};
    std::uint32_t n = 99;
    CRiffWaveFile f;
    EXPECT_EQ(f.Open("", nullptr, CRiffWaveFile::kModeRead), E_INVALIDARG);
    EXPECT_EQ(f.Open(PathOf("x.wav"), nullptr, CRiffWaveFile::kModeWrite), E_INVALIDARG);
    EXPECT_EQ(f.Open(PathOf("x.wav"), &fmt, 3), E_INVALIDARG);
    EXPECT_EQ(f.Open(PathOf("missing.wav"), nullptr, CRiffWaveFile::kModeRead), E_FAIL);
    EXPECT_EQ(f.Open(PathOf("no/such/folder.wav"), &fmt, CRiffWaveFile::kModeWrite), E_FAIL);
    EXPECT_EQ(f.Read(buf, 4, &n), CO_E_NOTINITIALIZED);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(f.Write(4, buf, nullptr), CO_E_NOTINITIALIZED);
    EXPECT_EQ(f.Rewind(), CO_E_NOTINITIALIZED);
    EXPECT_EQ(f.Flush(), CO_E_NOTINITIALIZED);
    EXPECT_EQ(f.Close(), CO_E_NOTINITIALIZED);

    ASSERT_EQ(f.Open(PathOf("x.wav"), &fmt, CRiffWaveFile::kModeWrite), S_OK);
    EXPECT_EQ(f.Write(4, nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(f.Write(0, nullptr, &n), S_OK);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(f.Read(buf, 4, nullptr), E_FAIL) << "no reading from a file being written";
    EXPECT_EQ(f.Rewind(), E_FAIL);
    EXPECT_EQ(f.Write(4, buf, nullptr), S_OK);
    // Opening another file closes and finishes this one.
    ASSERT_EQ(f.Open(PathOf("x.wav"), nullptr, CRiffWaveFile::kModeRead), S_OK);
    EXPECT_EQ(f.GetDataSize(), 4u);
    EXPECT_EQ(f.Read(nullptr, 4, nullptr), E_INVALIDARG);
    EXPECT_EQ(f.Write(4, buf, nullptr), E_FAIL) << "no writing to a file being read";
    EXPECT_EQ(f.Flush(), E_FAIL);
}

} // namespace
