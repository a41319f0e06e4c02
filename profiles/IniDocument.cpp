#include "IniDocument.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Names compare like the Windows profile functions: ASCII letters without case,
// every other byte (umlauts in UTF-8 too) exactly.
bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

// "[name]" with optional blanks; the name is what lies between the brackets.
bool SectionHeader(std::string_view line, std::string_view* name)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return false;
    line.remove_prefix(1);
    const std::size_t close = line.find(']');
    *name = Trim(line.substr(0, close));
    return true;
}

// "key = value": the key and the offset in line where the value starts (after
// the blanks that follow "=").  Comment lines (";" or "#") hold no key.
bool KeyLine(std::string_view line, std::string_view* key, std::size_t* valueStart)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#' || trimmed.front() == '[')
        return false;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    *key = Trim(line.substr(0, eq));
    if (key->empty())
        return false;
    std::size_t start = eq + 1;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    *valueStart = start;
    return true;
}

bool Fits(std::string_view name, std::string_view forbidden)
{
    return name.find_first_of(forbidden) == std::string_view::npos;
}

bool WriteAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

void IniDocument::Parse(std::string_view text)
{
    m_aLines.clear();
    m_bBom = text.substr(0, kBom.size()) == kBom;
    if (m_bBom)
        text.remove_prefix(kBom.size());
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        if (nl == std::string_view::npos) {
            m_aLines.push_back({std::string(text), ""});
            break;
        }
        const bool crlf = nl > 0 && text[nl - 1] == '\r';
        m_aLines.push_back({std::string(text.substr(0, crlf ? nl - 1 : nl)), crlf ? "\r\n" : "\n"});
        text.remove_prefix(nl + 1);
    }
}

std::string IniDocument::Serialise() const
{
    std::string out = m_bBom ? std::string(kBom) : std::string();
    for (const Line& line : m_aLines)
        out += line.strText + line.strEnd;
    return out;
}

std::size_t IniDocument::FindSection(std::string_view section) const
{
    const std::string_view wanted = Trim(section);
    for (std::size_t i = 0; i < m_aLines.size(); ++i) {
        std::string_view name;
        if (SectionHeader(m_aLines[i].strText, &name) && SameName(name, wanted))
            return i;
    }
    return std::string::npos;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const
{
    const std::string_view wantedKey = Trim(key);
    const std::size_t header = FindSection(section);
    if (header == std::string::npos || wantedKey.empty())
        return std::nullopt;
    for (std::size_t i = header + 1; i < m_aLines.size(); ++i) {
        const std::string_view text = m_aLines[i].strText;
        std::string_view name;
        if (SectionHeader(text, &name))
            break;
        std::size_t valueStart = 0;
        if (KeyLine(text, &name, &valueStart) && SameName(name, wantedKey))
            return std::string(Trim(text.substr(valueStart)));
    }
    return std::nullopt;
}

// The line break new lines get: the file's first one, "\n" in a new file.
std::string IniDocument::DefaultLineEnd() const
{
    for (const Line& line : m_aLines)
        if (!line.strEnd.empty())
            return line.strEnd;
    return "\n";
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string_view sectionName = Trim(section);
    const std::string_view keyName = Trim(key);
    // A key or section holding these would be read back as something else.
    if (keyName.empty() || !Fits(keyName, "=\r\n") || keyName.front() == ';' || keyName.front() == '#'
        || keyName.front() == '[' || !Fits(sectionName, "]\r\n"))
        return false;
    std::string cleanValue(value);
    for (char& c : cleanValue)
        if (c == '\r' || c == '\n')
            c = ' ';

    const std::string lineEnd = DefaultLineEnd();
    const std::size_t header = FindSection(sectionName);
    if (header == std::string::npos) {
        if (!m_aLines.empty()) {
            if (m_aLines.back().strEnd.empty())
                m_aLines.back().strEnd = lineEnd;
            if (!Trim(m_aLines.back().strText).empty())
                m_aLines.push_back({"", lineEnd});
        }
        m_aLines.push_back({"[" + std::string(sectionName) + "]", lineEnd});
        m_aLines.push_back({std::string(keyName) + "=" + cleanValue, lineEnd});
        return true;
    }

    std::size_t insertAfter = header;
    for (std::size_t i = header + 1; i < m_aLines.size(); ++i) {
        std::string& text = m_aLines[i].strText;
        std::string_view name;
        if (SectionHeader(text, &name))
            break;
        std::size_t valueStart = 0;
        if (!KeyLine(text, &name, &valueStart))
            continue;
        if (SameName(name, keyName)) {
            text.replace(valueStart, std::string::npos, cleanValue);
            return true;
        }
        insertAfter = i;
    }
    if (m_aLines[insertAfter].strEnd.empty())
        m_aLines[insertAfter].strEnd = lineEnd;
    m_aLines.insert(m_aLines.begin() + static_cast<std::ptrdiff_t>(insertAfter) + 1,
                    Line{std::string(keyName) + "=" + cleanValue, lineEnd});
    return true;
}

IniDocument::LoadResult IniDocument::Load(const std::string& path)
{
    Parse({});
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? LoadResult::Missing : LoadResult::Unreadable;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || static_cast<std::size_t>(st.st_size) > kMaxFileSize) {
        ::close(fd);
        return LoadResult::Unreadable;
    }
    std::string text;
    char chunk[16384];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || text.size() + static_cast<std::size_t>(n) > kMaxFileSize) {
            ::close(fd);
            return LoadResult::Unreadable;
        }
        if (n == 0)
            break;
        text.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    Parse(text);
    return LoadResult::Loaded;
}

bool IniDocument::Save(const std::string& path) const
{
    if (path.empty())
        return false;
    // A profile reached through a symbolic link is replaced where it really lies.
    std::string target = path;
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    static std::atomic<unsigned> s_nCounter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".~tmp" + std::to_string(::getpid()) + "-" + std::to_string(s_nCounter++);
        // 0666 less the umask, like any new file of the user.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = WriteAll(fd, Serialise());
    if (ok && ::stat(target.c_str(), &st) == 0)
        ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}
