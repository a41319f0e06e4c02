#include "IniFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <climits>
#include <cstdint>

namespace {

class IniFileTest : public TempDirTest {
protected:
    QString Home() const { return QPathOf("home"); }

    void WriteText(const QString& path, const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    static QByteArray ReadText(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(IniFileTest, ResolvesFileNamesAndSection)
{
    struct Case {
        QString name;
        bool useModuleFolder;
        QString expected;
    };
    const Case cases[] = {
        {"", true, Home() + "/Tonaro.ini"},
        {"Profile\\x.ini", true, Home() + "/Profile/x.ini"},
        {"Profile/x.ini", true, Home() + "/Profile/x.ini"},
        {"x.ini", false, QDir::currentPath() + "/x.ini"},
        {"/abs/y.ini", true, "/abs/y.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(CIniFile(c.name, "S", c.useModuleFolder).File(), c.expected);
    }
    CIniFile ini("a.ini", "");
    EXPECT_EQ(ini.Section(), "Tonaro");
    ini.SetSection("FFT");
    const CIniFile copy(ini);
    EXPECT_EQ(copy.File(), Home() + "/a.ini");
    EXPECT_EQ(copy.Section(), "FFT");
}

TEST_F(IniFileTest, ConvertsValueTextWithTheCRules)
{
    WriteText(Home() + "/t.ini", "[N]\n"
                                 "a=12abc\n"
                                 "b=abc\n"
                                 "c=  -7 \n"
                                 "d=+5\n"
                                 "e=4294967295\n"
                                 "f=99999999999\n"
                                 "g=\n"
                                 "h=0.5\n"
                                 "i=1.5e3xyz\n"
                                 "j=-99999999999\n");
    CIniFile ini("t.ini", "N");
    struct Case {
        const char* key;
        int asInt;
        double asDouble;
    };
    const Case cases[] = {
        {"a", 12, 12.0},     {"b", 0, 0.0},          {"c", -7, -7.0},   {"d", 5, 5.0},
        {"e", -1, 4294967295.0}, {"f", INT_MAX, 99999999999.0}, {"g", 0, 0.0}, {"h", 0, 0.5},
        {"i", 1, 1500.0},    {"j", INT_MIN, -99999999999.0}, {"missing", 42, 42.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ini.GetInt(c.key, 42), c.asInt);
        EXPECT_DOUBLE_EQ(ini.GetDouble(c.key, 42.0), c.asDouble);
    }
    // A default travels as "%g" text, so it keeps six significant digits.
    EXPECT_DOUBLE_EQ(ini.GetDouble("missing", 0.123456789), 0.123457);
    EXPECT_FLOAT_EQ(ini.GetFloat("h", 1.0f), 0.5f);
}

TEST_F(IniFileTest, WritesNumbersAsDecimalText)
{
    CIniFile ini("w.ini", "Werte");
    ini.WriteDouble("d", 0.123456789);
    ini.WriteInt("farbe", 16777215);
    ini.WriteInt("neg", -3);
    ini.WriteFloat("f", 2.5f);
    ini.WriteDouble("gross", 1e20);
    EXPECT_EQ(ReadText(Home() + "/w.ini"),
              "[Werte]\nd=0.123457\nfarbe=16777215\nneg=-3\nf=2.5\ngross=1e+20\n");
    EXPECT_DOUBLE_EQ(ini.GetDouble("d"), 0.123457);
    EXPECT_EQ(ini.GetInt("FARBE"), 16777215);
}

TEST_F(IniFileTest, ReadsAtMost255Characters)
{
    const QString longValue = QString(300, QChar('x'));
    CIniFile ini("", "Lang");
    ini.WriteString("v", longValue);
    EXPECT_EQ(ReadText(Home() + "/Tonaro.ini").size(), QByteArray("[Lang]\nv=\n").size() + 300)
        << "the whole value is stored";
    EXPECT_EQ(ini.GetString("v"), QString(255, QChar('x')));
    EXPECT_EQ(ini.GetString("fehlt", longValue), QString(255, QChar('x')));
    // A character outside the Basic Multilingual Plane is not cut in half.
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // two UTF-16 units
    ini.WriteString("w", QString(254, QChar('y')) + clef);
    EXPECT_EQ(ini.GetString("w"), QString(254, QChar('y')));
}

TEST_F(IniFileTest, ValuesInTheWindowsCodePageAreReadAsLatin1)
{
    WriteText(Home() + "/alt.ini", "[Tonaro]\r\nDatei=C:\\Kl\xE4" "nge\\\xDC" "bung.wav\r\nNeu=Kl\xC3\xA4" "nge\r\n");
    CIniFile ini("alt.ini", "");
    EXPECT_EQ(ini.GetString("Datei"), "C:\\Klänge\\Übung.wav");
    EXPECT_EQ(ini.GetString("Neu"), "Klänge");
}

TEST_F(IniFileTest, SectionArgumentStaysForLaterCalls)
{
    CIniFile ini("s.ini", "Erste");
    ini.WriteInt("k", 1);
    ini.WriteInt("k", 2, "Zweite");
    EXPECT_EQ(ini.Section(), "Zweite");
    EXPECT_EQ(ini.GetInt("k"), 2);
    EXPECT_EQ(ini.GetInt("k", 0, "erste"), 1);
    EXPECT_EQ(ini.GetInt("k"), 1);
}

TEST_F(IniFileTest, ExchangeReadsAndWritesEveryKind)
{
    QString text = "Übungsstück für Geräusche, ß";
    double d = 0.123456789;
    float f = 0.25f;
    int i = -12;
    unsigned int colour = 16777215;
    unsigned int allBits = 0xFFFFFFFFu;
    long count = 4096;
    unsigned long big = 3000000000ul;

    CIniFile ini("Profile\\x.ini", "Alles");
    QDir().mkpath(Home() + "/Profile");
    for (int direction : {CIniFile::kWrite, CIniFile::kRead}) {
        ini.Exchange(direction, &text, "Text", "leer");
        ini.Exchange(direction, &d, "Double", 1.0);
        ini.Exchange(direction, &f, "Float", 1.0f);
        ini.Exchange(direction, &i, "Int", 1);
        ini.Exchange(direction, &colour, "Farbe", 1u);
        ini.Exchange(direction, &allBits, "Bits", 1u);
        ini.Exchange(direction, &count, "Anzahl", 1L);
        ini.Exchange(direction, &big, "Gross", 1ul);
        if (direction == CIniFile::kWrite) {
            EXPECT_EQ(ReadText(Home() + "/Profile/x.ini"),
                      QString("[Alles]\nText=Übungsstück für Geräusche, ß\nDouble=0.123457\nFloat=0.25\n"
                              "Int=-12\nFarbe=16777215\nBits=-1\nAnzahl=4096\nGross=-1294967296\n")
                          .toUtf8());
            text.clear();
            d = f = 0;
            i = 0;
            colour = allBits = 0;
            count = 0;
            big = 0;
        }
    }
    EXPECT_EQ(text, "Übungsstück für Geräusche, ß");
    EXPECT_DOUBLE_EQ(d, 0.123457);
    EXPECT_FLOAT_EQ(f, 0.25f);
    EXPECT_EQ(i, -12);
    EXPECT_EQ(colour, 16777215u);
    EXPECT_EQ(allBits, 0xFFFFFFFFu);
    EXPECT_EQ(count, 4096);
    EXPECT_EQ(big, 3000000000ul);

    // Missing keys give the defaults.
    CIniFile other("Profile/x.ini", "Neu");
    other.Exchange(CIniFile::kRead, &text, "Text", "leer");
    other.Exchange(CIniFile::kRead, &colour, "Farbe", 255u);
    EXPECT_EQ(text, "leer");
    EXPECT_EQ(colour, 255u);
}

TEST_F(IniFileTest, MissingOrUnwritableFilesGiveDefaultsWithoutHarm)
{
    CIniFile missing("Profile/fehlt.ini", "A");
    EXPECT_EQ(missing.GetInt("k", 7), 7);
    EXPECT_EQ(missing.GetString("k", "def"), "def");
    // The folder "Profile" does not exist: the write is dropped.
    missing.WriteInt("k", 1);
    EXPECT_FALSE(QFile::exists(Home() + "/Profile/fehlt.ini"));
    EXPECT_EQ(missing.GetInt("k", 7), 7);
}

} // namespace
