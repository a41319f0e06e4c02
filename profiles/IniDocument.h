// An INI file held as its lines: values are found and changed by section and
// key (ASCII case-insensitive, blanks around key and value ignored) while every
// other line, comment and line ending stays exactly as it was.  Plain C++, UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
public:
    // Files larger than this are refused by Load (bytes); profiles are a few KiB.
    static constexpr std::size_t kMaxFileSize = 16 * 1024 * 1024;

    // Replaces the content with text.  A leading UTF-8 byte order mark is kept aside
    // and written back by Serialise.
    void Parse(std::string_view text);
    std::string Serialise() const;

    // The value of key in the first section of that name; nullopt when either is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Sets key in section: the key's line is changed in place, or the key is added
    // after the last key of the section, or the section is added at the end.  Line
    // breaks in value become blanks.  False (nothing changed) for an empty key or a
    // key or section name that the file format cannot hold.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    enum class LoadResult { Loaded, Missing, Unreadable };
    // Reads path; a missing file gives an empty document.  Unreadable (no access,
    // a folder, larger than kMaxFileSize) leaves the document empty too.
    LoadResult Load(const std::string& path);

    // Writes a temporary file beside path and renames it over path, so a reader
    // sees either the old or the new file, never half of one.  False on failure
    // (path is then untouched and no temporary file is left).
    bool Save(const std::string& path) const;

private:
    struct Line {
        std::string strText; // without the line break
        std::string strEnd;  // "\r\n", "\n" or "" (last line without a break)
    };

    std::size_t FindSection(std::string_view section) const; // index of the header or npos
    std::string DefaultLineEnd() const;

    std::vector<Line> m_aLines;
    bool m_bBom = false; // the text began with EF BB BF
};
