// Parsing of the dialogs' filter strings, their Qt form, and the extension
// added to a name typed without one.
#include "QtPrinters.h"
#include "FileFilter.h"

#include <gtest/gtest.h>

namespace {

TEST(FileFilter, ParsesPairsUpToTheClosingBars)
{
    struct Case {
        const char* filter;
        std::vector<FileFilter> expected;
    };
    const Case cases[] = {
        {"WAV - Standardwavefiles|*.wav|Alle Dateien|*.*||",
         {{"WAV - Standardwavefiles", {"*.wav"}}, {"Alle Dateien", {"*.*"}}}},
        // A single closing bar, as some filters are written.
        {"WMF - Enhanced Metafile|*.wmf|", {{"WMF - Enhanced Metafile", {"*.wmf"}}}},
        {"WAV - Windows Waves|*.wav|MP3 - MPEG Layer 3 Audio Files|*.mp3|",
         {{"WAV - Windows Waves", {"*.wav"}}, {"MP3 - MPEG Layer 3 Audio Files", {"*.mp3"}}}},
        // Several patterns, separated by ';'.
        {"Zeitreihen|*.txt;*.prn; *.dat||", {{"Zeitreihen", {"*.txt", "*.prn", "*.dat"}}}},
        // Nothing after the closing bars counts; a description without patterns is dropped.
        {"A|*.a||B|*.b||", {{"A", {"*.a"}}}},
        {"A|*.a|B||", {{"A", {"*.a"}}}},
        {"A|*.a|B", {{"A", {"*.a"}}}},
        {"", {}},
        {"||", {}},
        {"Nur Text", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(FileFilters::Parse(c.filter), c.expected);
    }
}

TEST(FileFilter, QtNameFiltersListAllFilesForStarDotStar)
{
    const auto filters = FileFilters::Parse("WAV - Standardwavefiles|*.wav|Zeitreihen|*.txt;*.dat|Alle Dateien|*.*||");
    EXPECT_EQ(FileFilters::ToQtNameFilters(filters),
              (QStringList{"WAV - Standardwavefiles (*.wav)", "Zeitreihen (*.txt *.dat)", "Alle Dateien (*)"}));
}

TEST(FileFilter, NameWithoutExtensionGetsTheChosenFiltersExtension)
{
    const auto filters = FileFilters::Parse("WMF - Enhanced Metafile|*.wmf|SVG - Vektorgrafik|*.svg|Alle Dateien|*.*||");
    struct Case {
        const char* typed;
        int index;
        const char* defaultExt;
        const char* expected;
    };
    const Case cases[] = {
        {"/tmp/bild", 1, ".wmf", "/tmp/bild.wmf"},
        {"/tmp/bild", 2, ".wmf", "/tmp/bild.svg"},
        {"/tmp/bild", 3, ".wmf", "/tmp/bild.wmf"},   // "*.*" names no extension
        {"/tmp/bild", 3, "wmf", "/tmp/bild.wmf"},
        {"/tmp/bild", 9, ".wmf", "/tmp/bild.wmf"},   // index out of range
        {"/tmp/bild", 3, "", "/tmp/bild"},
        {"/tmp/bild.", 1, ".wmf", "/tmp/bild.wmf"},
        {"/tmp/bild.bmp", 1, ".wmf", "/tmp/bild.bmp"}, // a typed extension stays
        {"/tmp/ordner.neu/bild", 2, ".wmf", "/tmp/ordner.neu/bild.svg"},
        {"", 1, ".wmf", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(FileFilters::WithDefaultExtension(c.typed, filters, c.index, c.defaultExt), c.expected);
    }
    EXPECT_EQ(FileFilters::ExtensionOf({"x", {"*.*", "*.wav"}}), "wav");
    EXPECT_EQ(FileFilters::ExtensionOf({"x", {"*.w?v"}}), "");
}

} // namespace
