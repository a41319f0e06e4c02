#include "IniDocument.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace {

IniDocument Parsed(const std::string& text)
{
    IniDocument doc;
    doc.Parse(text);
    return doc;
}

TEST(IniDocument, GetFindsValuesLikeTheWindowsProfileFunctions)
{
    const IniDocument doc = Parsed("Orphan=1\n"
                                   "; comment=2\n"
                                   "[FFT]\n"
                                   "  IniFFTBottomCutHz =  20  \r\n"
                                   "#Hidden=3\n"
                                   "Empty=\n"
                                   "Path=C:\\a=b\n"
                                   "noequals\n"
                                   "[ Sonogramm ]\n"
                                   "Farbe=1\n"
                                   "[fft]\n"
                                   "Second=2\n");
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"FFT", "IniFFTBottomCutHz", "20"},
        {"fft", "INIFFTBOTTOMCUTHZ", "20"},
        {" FFT ", " IniFFTBottomCutHz ", "20"},
        {"FFT", "Empty", ""},
        {"FFT", "Path", "C:\\a=b"},
        {"Sonogramm", "Farbe", "1"},
        {"FFT", "Farbe", std::nullopt},
        {"FFT", "Hidden", std::nullopt},
        {"FFT", "#Hidden", std::nullopt},
        {"FFT", "noequals", std::nullopt},
        {"FFT", "Second", std::nullopt}, // only the first section of a name counts
        {"", "Orphan", std::nullopt},
        {"Missing", "Farbe", std::nullopt},
        {"FFT", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(doc.Get(c.section, c.key), c.value);
    }
}

TEST(IniDocument, ChangingOneValueKeepsEveryOtherByte)
{
    const std::string before = "\xEF\xBB\xBF; Tonaro-Profil\r\n"
                               "\r\n"
                               "[Fremd]\r\n"
                               "x = y ; bleibt\r\n"
                               "[FFT]\r\n"
                               "  Punkte = 1024\r\n"
                               "Titel=Stück\n"
                               "\r\n"
                               "[Ende]\r\n"
                               "z=1";
    IniDocument doc = Parsed(before);
    EXPECT_EQ(doc.Serialise(), before);
    ASSERT_TRUE(doc.Set("fft", "PUNKTE", "4096"));
    ASSERT_TRUE(doc.Set("FFT", "Titel", "Übung für Geräusche"));
    std::string expected = before;
    expected.replace(expected.find("1024"), 4, "4096");
    expected.replace(expected.find("Stück"), std::string("Stück").size(), "Übung für Geräusche");
    EXPECT_EQ(doc.Serialise(), expected);
    EXPECT_EQ(Parsed(doc.Serialise()).Get("FFT", "Titel"), "Übung für Geräusche");
}

TEST(IniDocument, ProfileFromTheFixtureKeepsItsBytes)
{
    std::ifstream in(TestDataPath("ini_profile_crlf.ini"), std::ios::binary);
    const std::string before(std::istreambuf_iterator<char>(in), {});
    IniDocument doc = Parsed(before);
    EXPECT_EQ(doc.Get("TONARO", "IniSoundFile"), "C:\\Klänge\\Übung.wav");
    EXPECT_EQ(doc.Get("Fremd", "x"), "y=z");
    ASSERT_TRUE(doc.Set("FFT", "IniFFTColor", "255"));
    ASSERT_TRUE(doc.Set("FFT", "IniFFTTopCutHz", "8000"));
    std::string expected = before;
    expected.replace(expected.find("16777215"), 8, "255\r\nIniFFTTopCutHz=8000");
    EXPECT_EQ(doc.Serialise(), expected);
}

TEST(IniDocument, NewKeysAndSectionsAreAppendedWhereTheyBelong)
{
    struct Case {
        const char* name;
        std::string before;
        const char* section;
        std::string after;
    };
    const Case cases[] = {
        {"key after the last key of its section", "[A]\r\nk=1\r\n\r\n[B]\r\nm=2\r\n", "a",
         "[A]\r\nk=1\r\nneu=5\r\n\r\n[B]\r\nm=2\r\n"},
        {"key in an empty section", "[A]\n; nur Kommentar\n[B]\n", "A", "[A]\nneu=5\n; nur Kommentar\n[B]\n"},
        {"key after a last line without break", "[A]\r\nk=1", "A", "[A]\r\nk=1\r\nneu=5\r\n"},
        {"new section after a blank line", "[A]\r\nk=1\r\n", "C", "[A]\r\nk=1\r\n\r\n[C]\r\nneu=5\r\n"},
        {"new section in an empty file (LF)", "", "C", "[C]\nneu=5\n"},
        {"new section after a file without break", "k=1", "C", "k=1\n\n[C]\nneu=5\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IniDocument doc = Parsed(c.before);
        ASSERT_TRUE(doc.Set(c.section, "neu", "5"));
        EXPECT_EQ(doc.Serialise(), c.after);
    }
}

TEST(IniDocument, SetRefusesNamesTheFileCannotHoldAndFlattensLineBreaks)
{
    IniDocument doc;
    EXPECT_FALSE(doc.Set("A", "", "1"));
    EXPECT_FALSE(doc.Set("A", "a=b", "1"));
    EXPECT_FALSE(doc.Set("A", ";k", "1"));
    EXPECT_FALSE(doc.Set("A", "k\nj", "1"));
    EXPECT_FALSE(doc.Set("A]", "k", "1"));
    EXPECT_EQ(doc.Serialise(), "");
    ASSERT_TRUE(doc.Set("A", "k", "eins\r\n[B]\nzwei"));
    EXPECT_EQ(doc.Get("A", "k"), "eins  [B] zwei");
    EXPECT_EQ(doc.Get("B", "zwei"), std::nullopt);
}

class IniDocumentFileTest : public TempDirTest {};

TEST_F(IniDocumentFileTest, SaveReplacesTheFileAndLeavesNoTemporaryFile)
{
    const std::string path = PathOf("p.ini");
    std::ofstream(path) << "[A]\nk=1\n";
    ::chmod(path.c_str(), 0640);
    IniDocument doc;
    ASSERT_EQ(doc.Load(path), IniDocument::LoadResult::Loaded);
    ASSERT_TRUE(doc.Set("A", "k", "2"));
    ASSERT_TRUE(doc.Save(path));

    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[A]\nk=2\n");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "permissions of the old file kept";
    EXPECT_EQ(QDir(Dir()).entryList(QDir::Files), QStringList{"p.ini"});

    EXPECT_FALSE(doc.Save(PathOf("no/such/folder/p.ini")));
    EXPECT_EQ(QDir(Dir()).entryList(QDir::Files), QStringList{"p.ini"});
}

TEST_F(IniDocumentFileTest, LoadTellsMissingFromUnreadable)
{
    IniDocument doc;
    EXPECT_EQ(doc.Load(PathOf("missing.ini")), IniDocument::LoadResult::Missing);
    EXPECT_EQ(doc.Load(Dir().toStdString()), IniDocument::LoadResult::Unreadable) << "a folder";
    EXPECT_EQ(doc.Serialise(), "");
}

} // namespace
