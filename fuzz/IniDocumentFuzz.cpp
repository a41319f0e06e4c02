// libFuzzer target: arbitrary text as an INI file.  Parsing and serialising must
// give back the same bytes, and a value set must be found again after the text
// is written out and parsed anew.
#include "IniDocument.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string_view TrimBlanks(std::string_view s)
{
    const std::string_view blanks = " \t\r\v\f";
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string section = provider.ConsumeRandomLengthString(16);
    const std::string key = provider.ConsumeRandomLengthString(16);
    const std::string value = provider.ConsumeRandomLengthString(64);
    const std::string text = provider.ConsumeRemainingBytesAsString();

    IniDocument doc;
    doc.Parse(text);
    if (doc.Serialise() != text)
        std::abort();
    (void)doc.Get(section, key);
    (void)doc.Get("Tonaro", "IniNumFFTPoints");
    (void)doc.Get("", "");

    if (!doc.Set(section, key, value))
        return 0;
    std::string expected = value;
    for (char& c : expected)
        if (c == '\r' || c == '\n')
            c = ' ';
    if (doc.Get(section, key) != std::string(TrimBlanks(expected)))
        std::abort();
    const std::string written = doc.Serialise();
    IniDocument reread;
    reread.Parse(written);
    if (reread.Serialise() != written || reread.Get(section, key) != std::string(TrimBlanks(expected)))
        std::abort();
    return 0;
}
