// MP3 conversion: duration and progress texts, encoding and decoding through
// the document's entry points, the layer III variants the decoder reads, and
// damaged or missing files.
#include "ImportFixture.h"

#include "Converter.h"
#include "Mp3Converter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <lame/lame.h>

#include <numeric>

namespace {

constexpr int kFrame = 1152;   // samples of one MPEG-1 layer III frame

struct LameOptions {
    bool bVbr = false;
    bool bInfoTag = true;
    int nKbps = 0;   // 0: LAME's default
};

// Encodes interleaved 16-bit samples with LAME directly, for fixtures of every kind.
QByteArray EncodeWithLame(const std::vector<int>& samples, int nRate, int nChannels, const LameOptions& opt)
{
    lame_global_flags* gf = lame_init();
    lame_set_in_samplerate(gf, nRate);
    lame_set_num_channels(gf, nChannels);
    lame_set_mode(gf, nChannels == 1 ? MONO : JOINT_STEREO);
    lame_set_bWriteVbrTag(gf, opt.bInfoTag ? 1 : 0);
    if (opt.bVbr) {
        lame_set_VBR(gf, vbr_default);
        lame_set_VBR_quality(gf, 4);
    } else if (opt.nKbps > 0) {
        lame_set_brate(gf, opt.nKbps);
    }
    EXPECT_GE(lame_init_params(gf), 0);
    std::vector<short> pcm(samples.begin(), samples.end());
    const int nFrames = static_cast<int>(samples.size()) / nChannels;
    std::vector<unsigned char> out(static_cast<size_t>(nFrames) * 5 / 4 + 7200);
    int n = nChannels == 2 ? lame_encode_buffer_interleaved(gf, pcm.data(), nFrames, out.data(), int(out.size()))
                           : lame_encode_buffer(gf, pcm.data(), pcm.data(), nFrames, out.data(), int(out.size()));
    QByteArray mp3(reinterpret_cast<const char*>(out.data()), n);
    n = lame_encode_flush(gf, out.data(), int(out.size()));
    mp3.append(reinterpret_cast<const char*>(out.data()), n);
    if (opt.bInfoTag) {
        const size_t nTag = lame_get_lametag_frame(gf, out.data(), out.size());
        mp3.replace(0, int(nTag), QByteArray(reinterpret_cast<const char*>(out.data()), int(nTag)));
    }
    lame_close(gf);
    return mp3;
}

QByteArray Id3v2Tag()
{
    QByteArray frame = "TIT2" + QByteArray("\0\0\0\x07\0\0", 6) + QByteArray("\0Titel", 6);
    frame[7] = static_cast<char>(6);
    QByteArray tag = "ID3" + QByteArray("\x03\0\0", 3);
    const int n = int(frame.size()) + 200;   // with padding
    tag += QByteArray(1, 0) + QByteArray(1, 0) + QByteArray(1, char(n >> 7)) + QByteArray(1, char(n & 0x7F));
    return tag + frame + QByteArray(200, '\0');
}

QByteArray Id3v1Tag()
{
    QByteArray tag = "TAG" + QByteArray("Titel");
    tag.resize(128, ' ');
    return tag;
}

QByteArray PseudoRandom(int nBytes, unsigned nSeed)
{
    QByteArray out(nBytes, '\0');
    for (int i = 0; i < nBytes; ++i) {
        nSeed = nSeed * 1103515245u + 12345u;
        out[i] = static_cast<char>(nSeed >> 16);
    }
    return out;
}

double Correlation(const std::vector<int>& a, const std::vector<int>& b)
{
    const size_t n = std::min(a.size(), b.size());
    double ma = 0, mb = 0;
    for (size_t i = 0; i < n; ++i) {
        ma += a[i];
        mb += b[i];
    }
    ma /= double(n);
    mb /= double(n);
    double sab = 0, saa = 0, sbb = 0;
    for (size_t i = 0; i < n; ++i) {
        sab += (a[i] - ma) * (b[i] - mb);
        saa += (a[i] - ma) * (a[i] - ma);
        sbb += (b[i] - mb) * (b[i] - mb);
    }
    return sab / std::sqrt(saa * sbb);
}

bool StartsWithMp3FrameOrTag(const QByteArray& bytes)
{
    return bytes.startsWith("ID3") ||
           (bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && (uchar(bytes[1]) & 0xE0) == 0xE0);
}

} // namespace

using Mp3Conversion = ImportTest;

TEST(ConverterTexts, DurationsAreWrittenInTheLargestUnitThatIsNotZero)
{
    const std::vector<std::pair<int64_t, QString>> cases = {
        {0, "0 sec"},
        {250, "250 msec"},
        {5000, "05 sec"},
        {61000, "01 min 01 sec"},
        {3'600'000, "01 h 00 min 00 sec"},
        {90'061'000, "1 days 01 h 01 min 01 sec"},
    };
    for (const auto& [ms, text] : cases)
        EXPECT_EQ(Converter::FormatDuration(ms), text) << ms;
}

TEST(ConverterTexts, ProgressTextsGiveShareElapsedAndRemainingTime)
{
    const int64_t nStop = 90 * Converter::kUnitsPerSecond;
    EXPECT_EQ(Converter::ProgressText(0, 0, nStop, true, 0), "Completed 0.00%, elapsed 0 sec.");
    EXPECT_EQ(Converter::ProgressText(nStop / 3, 0, nStop, true, 30'000),
              "Completed 33.33%, elapsed 30 sec, estimated remaining 01 min 00 sec.");
    EXPECT_EQ(Converter::ProgressText(5, 0, nStop, false, 1500),
              "Bitte haben Sie ein wenig Geduld, die Datei wird ins WAV-Format konvertiert.\nBenötigt: 01 sec.");
    // A length that was only estimated and is passed: never more than 100 %, nothing remaining.
    EXPECT_EQ(Converter::ProgressText(nStop + 10, 0, nStop, true, 2000),
              "Completed 100.00%, elapsed 02 sec, estimated remaining 0 sec.");
}

TEST_F(Mp3Conversion, EncodedToneDecodesToTheSameToneAndLength)
{
    for (const int nChannels : {1, 2}) {
        SCOPED_TRACE(nChannels);
        const std::vector<int> tone = Sine(44100, 44100, 440.0, nChannels);
        const QString wav = WriteWave("ton.wav", WaveFormat::Pcm(uint16_t(nChannels), 44100, 16), Pcm16(tone));
        const QString mp3 = QPathOf("Ausgabe mit Ä.mp3");
        ASSERT_EQ(doc->ConvertWaveToMp3(mp3, wav), 1);

        QFile file(mp3);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(StartsWithMp3FrameOrTag(bytes));
        EXPECT_FALSE(bytes.startsWith("RIFF"));

        const QString back = QPathOf("zurück.wav");
        ASSERT_EQ(doc->ConvertMp3ToWave(mp3, back, false), 1);
        WaveFormat format;
        std::vector<int> decoded;
        ASSERT_TRUE(ReadWaveSamples(back, format, decoded));
        EXPECT_EQ(format, WaveFormat::Pcm(uint16_t(nChannels), 44100, 16));
        EXPECT_LE(std::abs(int(decoded.size()) - int(tone.size())) / nChannels, kFrame);
        EXPECT_GT(Correlation(tone, decoded), 0.99);
        EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(" | ").toStdString();
    }
}

TEST_F(Mp3Conversion, DecoderReadsTheLayerIIIVariants)
{
    struct Case {
        const char* name;
        int nRate;
        int nChannels;
        LameOptions opt;
        bool bTags;
        bool bGarbage;
    };
    const std::vector<Case> cases = {
        {"MPEG-1 CBR stereo", 44100, 2, {}, false, false},
        {"MPEG-1 VBR mono with tags", 48000, 1, {true, true, 0}, true, false},
        {"MPEG-2 VBR stereo", 22050, 2, {true, true, 0}, false, false},
        {"MPEG-2 CBR mono without info frame", 16000, 1, {false, false, 32}, false, false},
        {"MPEG-2.5 CBR mono with tags and garbage", 8000, 1, {false, true, 16}, true, true},
        {"MPEG-1 CBR stereo with trailing garbage", 32000, 2, {false, false, 0}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int nFrames = c.nRate / 2;
        const std::vector<int> tone = Sine(nFrames, c.nRate, 440.0, c.nChannels);
        QByteArray mp3 = EncodeWithLame(tone, c.nRate, c.nChannels, c.opt);
        if (c.bTags)
            mp3 = Id3v2Tag() + mp3 + Id3v1Tag();
        if (c.bGarbage)
            mp3 += PseudoRandom(3000, 7);
        const QString src = WriteBytes("quelle.mp3", mp3);
        const QString out = QPathOf("ziel.wav");
        ASSERT_EQ(doc->ConvertMp3ToWave(src, out, false), 1);
        WaveFormat format;
        std::vector<int> decoded;
        ASSERT_TRUE(ReadWaveSamples(out, format, decoded));
        EXPECT_EQ(format, WaveFormat::Pcm(uint16_t(c.nChannels), uint32_t(c.nRate), 16));
        // Without the info frame the decoder cannot remove the encoder's delay and padding;
        // garbage that happens to hold frame headers may add a frame or two of noise.
        const int nSlack = c.opt.bInfoTag && !c.bGarbage ? kFrame : 3 * kFrame;
        EXPECT_LE(std::abs(int(decoded.size()) / c.nChannels - nFrames), nSlack);
        EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(" | ").toStdString();
    }
}

TEST_F(Mp3Conversion, StereoMp3OpensThroughTheChannelDialog)
{
    const std::vector<int> tone = Sine(22050, 44100, 440.0, 2);
    const QString mp3 = WriteBytes("Lied.MP3", EncodeWithLame(tone, 44100, 2, {}));
    ui.QueueWaveParameters(true, 0);
    OpenWave(mp3);

    ASSERT_TRUE(g_bWaveLoaded);
    EXPECT_EQ(ui.CallsOf(UiCallKind::WaveParameters).size(), 1u);
    EXPECT_EQ(doc->m_strFileName, QPathOf("home/converted.wav"));
    EXPECT_EQ(host.m_strTitle, "Lied.MP3");
    EXPECT_EQ(doc->m_strChannels, "Mono");
    EXPECT_NEAR(doc->NumSamples(), 22050, kFrame);
    const auto texts = ui.CallsOf(UiCallKind::ProgressText);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_TRUE(texts.front().m_strText.startsWith("Completed 0.00%, elapsed ")) << texts.front().m_strText.toStdString();
    EXPECT_EQ(texts.back().m_strText, "Bitte warten Sie, bis das Wavefile eingelesen ist.");
}

TEST_F(Mp3Conversion, UnreadableMp3FilesLeaveNoSound)
{
    const QByteArray mp3 = EncodeWithLame(Sine(4410, 44100, 440.0), 44100, 1, {});
    const std::vector<std::pair<QString, QByteArray>> cases = {
        {"zufall.mp3", PseudoRandom(8192, 3)},
        {"nur tag.mp3", Id3v2Tag() + Id3v1Tag()},
        {"null.mp3", {}},
        {"nur kopf.mp3", mp3.left(3)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name.toStdString());
        OpenWave(WriteWave("vorher.wav", WaveFormat::Pcm(1, 8000, 16), Pcm16({1})));
        ASSERT_TRUE(g_bWaveLoaded);
        ui.ClearCalls();
        OpenWave(WriteBytes(name, bytes));
        ExpectNoSound();
        const QStringList messages = ui.MessageTexts();
        ASSERT_GE(messages.size(), 2) << messages.join(" | ").toStdString();
        EXPECT_TRUE(messages.contains("Konvertierung fehlgeschlagen"));
        EXPECT_EQ(messages.back(),
                  "Konnte diese Datei bzw. das Format nicht lesen, weil die Endung nicht .mp3 oder .wav lautet.");
    }
}

TEST_F(Mp3Conversion, MissingSourceIsReportedInTheOrderOfTheConversion)
{
    EXPECT_EQ(doc->ConvertMp3ToWave(QPathOf("fehlt.mp3"), QPathOf("ziel.wav"), false), 0);
    const QStringList messages = ui.MessageTexts();
    ASSERT_EQ(messages.size(), 4) << messages.join(" | ").toStdString();
    EXPECT_EQ(messages[0], "File existiert nicht! Konvertierung von MP3 fehlgeschlagen.");
    EXPECT_TRUE(messages[1].startsWith("Fehler:  in: Mp3Converter.cpp,line ")) << messages[1].toStdString();
    EXPECT_EQ(ui.CallsOf(UiCallKind::MessageBox)[1].m_eIcon, MsgIcon::Error);
    EXPECT_EQ(messages[2], "ERROR - Could not RenderFile.");
    EXPECT_EQ(messages[3], "Konvertierung fehlgeschlagen");
    EXPECT_TRUE(g_bAbort);
}

TEST_F(Mp3Conversion, EscCancelsWhileTheWindowKeepsWorking)
{
    const QString mp3 = WriteBytes("lang.mp3", EncodeWithLame(Sine(44100 * 3, 44100, 440.0, 2), 44100, 2, {}));
    QWidget window;
    bool bTimerFired = false;
    QTimer::singleShot(0, [&] { bTimerFired = true; });
    // The first progress text comes before the first piece is converted; Esc arrives right after it.
    ui.SetOnProgressText([&](const QString&) {
        QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    OpenWave(mp3);
    ui.SetOnProgressText({});

    EXPECT_TRUE(bTimerFired);
    ExpectNoSound();
    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(" | ").toStdString();
    EXPECT_FALSE(Converter::IsRunning());
}
