// Shared set-up of the sound file tests: a document with a scripted user
// interface in a fresh program folder and temporary folder, and helpers that
// write small wave and MP3 files.
#pragma once

#include "DocView.h"
#include "DocumentHost.h"
#include "ProgramFlags.h"
#include "RiffWaveFile.h"
#include "ScriptedUiServices.h"
#include "TempDir.h"
#include "TonaroDoc.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

class ImportHost : public CDocumentHost {
public:
    bool m_bSchool = false;
    QString m_strTitle;
    int NumFFTPointsSetting() const override { return 1024; }
    void SetNumFFTPointsSetting(int) override {}
    QString PlayFileSetting() const override { return {}; }
    void SetPlayFileSetting(const QString&) override {}
    bool StatusBarShown() const override { return false; }
    bool SchoolProfile() const override { return m_bSchool; }
    void ShowFFTPoints(int) override {}
    void ShowFileName(const QString&) override {}
    void ShowBitsPerSample(int) override {}
    void ShowSampleRate(int) override {}
    void ShowListening(bool) override {}
    void ShowRecording(bool) override {}
    void SetDocumentTitle(const QString& s) override { m_strTitle = s; }
};

class HintRecorder : public CDocView {
public:
    std::vector<int> m_aHints;
    void OnUpdate(int nHint) override { m_aHints.push_back(nHint); }
};

class ImportTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        m_bHadTmp = qEnvironmentVariableIsSet("TMPDIR");
        m_oldTmp = qgetenv("TMPDIR");
        QDir().mkpath(QPathOf("tmp"));
        qputenv("TMPDIR", QPathOf("tmp").toUtf8());
        ResetProgramFlags();
        SetUiServices(&ui);
        doc = std::make_unique<CTonaroDoc>(&host);
        doc->OnNewDocument();
        doc->AddView(&hints);
    }
    void TearDown() override
    {
        doc->RemoveView(&hints);
        doc.reset();
        SetUiServices(nullptr);
        ResetProgramFlags();
        if (m_bHadTmp)
            qputenv("TMPDIR", m_oldTmp);
        else
            qunsetenv("TMPDIR");
        TempDirTest::TearDown();
    }

    // Writes a wave file with our writer and returns its path.
    QString WriteWave(const QString& name, const WaveFormat& format, const std::vector<uint8_t>& data)
    {
        const QString path = QPathOf(name);
        CRiffWaveFile file;
        EXPECT_EQ(file.Open(QFile::encodeName(path).toStdString(), &format, CRiffWaveFile::kModeWrite), S_OK);
        EXPECT_EQ(file.Write(static_cast<uint32_t>(data.size()), data.data(), nullptr), S_OK);
        EXPECT_EQ(file.Close(), S_OK);
        return path;
    }
    QString WriteBytes(const QString& name, const QByteArray& bytes)
    {
        const QString path = QPathOf(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Chooses path in the open dialog and runs the open command.
    void OpenWave(const QString& path)
    {
        ui.QueueFile(path);
        doc->OnOpenWave();
    }
    std::vector<int> DocSamples() const
    {
        std::vector<int> out;
        for (int i = 0; i < doc->NumSamples(); ++i)
            out.push_back(static_cast<int>(doc->SampleAt(i)));
        return out;
    }
    // Nothing of a sound is left: the state after a failed import.
    void ExpectNoSound() const
    {
        EXPECT_FALSE(g_bWaveLoaded);
        EXPECT_FALSE(g_bConverted);
        EXPECT_TRUE(doc->m_pRawData.empty());
        EXPECT_EQ(doc->m_nRawSize, 0);
        EXPECT_EQ(doc->m_pPlaySound, nullptr);
        EXPECT_EQ(doc->m_strFileName, CTonaroDoc::kNoFile);
        EXPECT_EQ(doc->m_nSampleRate, 0);
        EXPECT_DOUBLE_EQ(doc->m_dFullScale, 0.0);
    }

    static std::vector<uint8_t> Pcm16(const std::vector<int>& values)
    {
        std::vector<uint8_t> out;
        for (int v : values) {
            const auto u = static_cast<uint16_t>(static_cast<int16_t>(v));
            out.push_back(static_cast<uint8_t>(u & 0xFF));
            out.push_back(static_cast<uint8_t>(u >> 8));
        }
        return out;
    }
    // nFrames of a sine of dHz at nRate, amplitude 0.5 of full scale, in every channel.
    static std::vector<int> Sine(int nFrames, int nRate, double dHz, int nChannels = 1)
    {
        std::vector<int> out;
        for (int i = 0; i < nFrames; ++i)
            for (int c = 0; c < nChannels; ++c)
                out.push_back(static_cast<int>(
                    std::lround(16000.0 * std::sin(2.0 * std::numbers::pi * dHz * i / nRate + c))));
        return out;
    }
    // Reads a whole wave file: its format and its samples (16 bit).
    static bool ReadWaveSamples(const QString& path, WaveFormat& format, std::vector<int>& samples)
    {
        CRiffWaveFile file;
        if (Failed(file.Open(QFile::encodeName(path).toStdString(), nullptr, CRiffWaveFile::kModeRead)))
            return false;
        format = *file.GetFormat();
        std::vector<uint8_t> raw(file.GetDataSize());
        uint32_t got = 0;
        if (!raw.empty())
            file.Read(raw.data(), static_cast<uint32_t>(raw.size()), &got);
        samples.clear();
        if (format.bitsPerSample == 8) {
            for (uint32_t i = 0; i < got; ++i)
                samples.push_back(raw[i]);
        } else {
            for (uint32_t i = 0; i + 1 < got; i += 2)
                samples.push_back(static_cast<int16_t>(raw[i] | (raw[i + 1] << 8)));
        }
        return true;
    }

    ScriptedUiServices ui;
    ImportHost host;
    HintRecorder hints;
    std::unique_ptr<CTonaroDoc> doc;

private:
    QByteArray m_oldTmp;
    bool m_bHadTmp = false;
};
