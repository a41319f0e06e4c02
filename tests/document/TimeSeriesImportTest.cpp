// Text time series: parsing, scaling to 16-bit samples and loading the
// intermediate wave file as the sound.
#include "ImportFixture.h"

#include "TimeSeriesText.h"

#include <QFileInfo>
#include <QSpinBox>
#include <QWidget>

#include <charconv>
#include <string>

using TimeSeriesImport = ImportTest;

TEST(TimeSeriesText, TokensFollowTheCRuleForNumbersWhateverTheLocale)
{
    struct Case {
        std::string text;
        std::vector<double> values;
    };
    const std::vector<Case> cases = {
        {"1\n2\n3\n", {1, 2, 3}},
        {"  1.5\t-2e3\r\n+4 .25", {1.5, -2000, 4, 0.25}},
        {"#\nWort 3\n", {0, 3}},
        {"#Kommentar 7 #x", {7}},
        {"3abc 1,5 -x +-1 1e999 nan", {3, 1, 0, 0, 0, 0}},
        {"", {}},
        {" \n\t ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<double> values;
        TimeSeriesText::ParseValues(c.text.data(), c.text.data() + c.text.size(), values);
        EXPECT_EQ(values, c.values);
    }
}

TEST(TimeSeriesText, LargestMagnitudeReachesTheTopOfThe16BitRange)
{
    struct Case {
        std::vector<double> values;
        std::vector<int16_t> samples;
    };
    const std::vector<Case> cases = {
        {{0, 1, 2}, {-32768, 0, 32767}},
        {{-1, 0, 2}, {-16384, 0, 32767}},
        {{1, 3}, {-10923, 32767}},
        {{-3, 1}, {-32768, 10922}},
        {{0, 0, 0}, {0, 0, 0}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.values));
        EXPECT_EQ(TimeSeriesText::ScaleToSamples(c.values), c.samples);
    }
}

TEST_F(TimeSeriesImport, SeriesLoadsAsA44100HzMonoSound)
{
    const QString path = WriteBytes("reihe.txt", "0\n1\n2\n");
    ui.QueueFile(path);
    doc->OnOpenTimeSeries();

    ASSERT_TRUE(g_bWaveLoaded);
    EXPECT_TRUE(g_bConverted);
    EXPECT_EQ(DocSamples(), (std::vector<int>{-32768, 0, 32767}));
    EXPECT_EQ(doc->m_nSampleRate, 44100);
    EXPECT_EQ(doc->m_nBitsPerSample, 16);
    EXPECT_EQ(doc->m_nRawSize, doc->m_nPlayDataSize);
    EXPECT_EQ(doc->m_strFileName, path);
    EXPECT_EQ(host.m_strTitle, "reihe.txt");
    EXPECT_NE(doc->m_pPlaySound, nullptr);
    EXPECT_TRUE(ui.MessageTexts().isEmpty());
    const auto opens = ui.CallsOf(UiCallKind::OpenFile);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].m_fileRequest.m_strTitle, "1-spaltiges Zeitreihenfile auswählen");

    WaveFormat format;
    std::vector<int> samples;
    ASSERT_TRUE(ReadWaveSamples(QPathOf("home/~TempWave.wav"), format, samples));
    EXPECT_EQ(format, WaveFormat::Pcm(1, 44100, 16));
    EXPECT_EQ(samples, (std::vector<int>{-32768, 0, 32767}));
}

TEST_F(TimeSeriesImport, OpenSpectralWindowsShowHalfTheRateAndTheDynamicRange)
{
    // Stand-ins for the dialog bars of the FFT and sonogram windows: the FFT
    // bar's lower level edit 1083 carries the dynamic-range spin 1089.
    QWidget fft;
    QWidget sono;
    auto spin = [](QWidget& bar, const char* szName, int nSpinId) {
        auto* box = new QSpinBox(&bar);
        box->setObjectName(szName);
        box->setRange(-99, 100);
        box->setProperty("spinId", nSpinId);
        return box;
    };
    QSpinBox* fftTop = spin(fft, "c1069", 1077);
    QSpinBox* fftRange = spin(fft, "c1083", 1089);
    QSpinBox* sonoTop = spin(sono, "c1069", 1077);
    doc->m_pFFTFrame = &fft;
    doc->m_pSonoFrame = &sono;
    ASSERT_EQ(doc->ReadTimeSeries(WriteBytes("reihe.txt", "0\n1\n2\n")), CTonaroDoc::kReadOk);
    EXPECT_EQ(fftTop->value(), 22);
    EXPECT_EQ(sonoTop->value(), 22);
    EXPECT_EQ(fftRange->value(), -96);
    doc->m_pFFTFrame = doc->m_pSonoFrame = nullptr;
}

TEST_F(TimeSeriesImport, FilesWithoutUsableNumbersLeaveNoSound)
{
    struct Case {
        QString name;
        bool bCreate;
        QByteArray text;
        QString message;
    };
    const std::vector<Case> cases = {
        {"leer.txt", true, "", "Wavefile ist leer."},
        {"nur kommentare.dat", true, "#a\n#b\n#2\n", "Wavefile ist leer."},
        {"fehlt.txt", false, "", "Konnte die Zeitreihendatei:\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        OpenWave(WriteWave("vorher.wav", WaveFormat::Pcm(1, 8000, 16), Pcm16({1})));
        ASSERT_TRUE(g_bWaveLoaded);
        ui.ClearCalls();
        const QString path = c.bCreate ? WriteBytes(c.name, c.text) : QPathOf(c.name);
        doc->ReadTimeSeries(path);
        ExpectNoSound();
        const QStringList messages = ui.MessageTexts();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith(c.message)) << messages[0].toStdString();
    }
}

TEST_F(TimeSeriesImport, TenMillionNumbersLoad)
{
    constexpr int kCount = 10'000'000;
    std::string text;
    text.reserve(static_cast<size_t>(kCount) * 8);
    char buf[32];
    for (int i = 0; i < kCount; ++i) {
        const int v = i % 2001 - 1000;   // -1000 .. 1000
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
        text.append(buf, end);
        text.push_back('\n');
    }
    const QString path = WriteBytes("gross.prn", QByteArray::fromStdString(text));
    text = {};
    ASSERT_EQ(doc->ReadTimeSeries(path), CTonaroDoc::kReadOk);
    EXPECT_TRUE(g_bWaveLoaded);
    ASSERT_EQ(doc->NumSamples(), kCount);
    EXPECT_EQ(doc->SampleAt(0), -32768);
    EXPECT_EQ(doc->SampleAt(1000), 0);
    EXPECT_EQ(doc->SampleAt(2000), 32767);
    EXPECT_EQ(doc->SampleAt(kCount - 1), 65);   // value 2 of 1000: trunc(65.536)
}
