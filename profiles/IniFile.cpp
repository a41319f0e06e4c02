#include "IniFile.h"

#include "IniDocument.h"
#include "ProgramPaths.h"

#include <QDir>
#include <QStringDecoder>
#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

const QString kApplicationName = QStringLiteral("Tonaro");

bool IsCSpace(QChar c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Profiles are UTF-8; a value that is not (a profile saved in the Windows
// code page, "Kl\xE4nge") is taken as Latin-1 rather than shown with
// replacement characters.
QString DecodeValue(const std::string& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

locale_t CLocale()
{
    static const locale_t s_locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return s_locale;
}

} // namespace

CIniFile::CIniFile(const QString& fileName, const QString& section, bool useModuleFolder)
    : m_bUseModuleFolder(useModuleFolder)
{
    QString name = ProgramPaths::NormalisedPath(fileName);
    if (name.isEmpty()) {
        name = ProgramPaths::ProgramFolder() + "/" + kApplicationName + ".ini";
    } else if (!QDir::isAbsolutePath(name)) {
        QString folder = m_bUseModuleFolder ? ProgramPaths::ProgramFolder() : QDir::currentPath();
        while (folder.endsWith('/'))
            folder.chop(1);
        name = folder + "/" + name;
    }
    m_strFile = name;
    SetSection(section);
}

CIniFile::CIniFile(const CIniFile& other)
    : m_bUseModuleFolder(other.m_bUseModuleFolder), m_strFile(other.m_strFile),
      m_strSection(other.m_strSection)
{
}

CIniFile& CIniFile::operator=(const CIniFile& other)
{
    m_bUseModuleFolder = other.m_bUseModuleFolder;
    m_strFile = other.m_strFile;
    m_strSection = other.m_strSection;
    m_szValue[0] = QChar();
    return *this;
}

void CIniFile::SetSection(const QString& section)
{
    m_strSection = section.isEmpty() ? kApplicationName : section;
}

void CIniFile::UseSection(const QString& section)
{
    if (!section.isEmpty())
        m_strSection = section;
}

QString CIniFile::ReadValue(const QString& key, const QString& def)
{
    IniDocument doc;
    std::optional<std::string> value;
    if (doc.Load(m_strFile.toStdString()) == IniDocument::LoadResult::Loaded)
        value = doc.Get(m_strSection.toStdString(), key.toStdString());
    QString text = value ? DecodeValue(*value) : def;
    // The value buffer holds kValueChars - 1 characters; a character made of two
    // UTF-16 units is not cut in half.
    qsizetype length = std::min<qsizetype>(text.size(), kValueChars - 1);
    if (length > 0 && length < text.size() && text.at(length - 1).isHighSurrogate())
        --length;
    std::copy(text.constBegin(), text.constBegin() + length, m_szValue);
    m_szValue[length] = QChar();
    return QString(m_szValue, length);
}

void CIniFile::WriteValue(const QString& key, const QString& value)
{
    const std::string path = m_strFile.toStdString();
    IniDocument doc;
    // A file that exists but cannot be read is left alone rather than replaced
    // by a file holding only this key.
    if (doc.Load(path) == IniDocument::LoadResult::Unreadable)
        return;
    if (doc.Set(m_strSection.toStdString(), key.toStdString(), value.toStdString()))
        doc.Save(path);
}

QString CIniFile::GetString(const QString& key, const QString& def, const QString& section)
{
    UseSection(section);
    return ReadValue(key, def);
}

int CIniFile::GetInt(const QString& key, int def, const QString& section)
{
    UseSection(section);
    return ToInt(ReadValue(key, QString::number(def)));
}

float CIniFile::GetFloat(const QString& key, float def, const QString& section)
{
    UseSection(section);
    return static_cast<float>(ToDouble(ReadValue(key, FormatDouble(def))));
}

double CIniFile::GetDouble(const QString& key, double def, const QString& section)
{
    UseSection(section);
    return ToDouble(ReadValue(key, FormatDouble(def)));
}

void CIniFile::WriteString(const QString& key, const QString& value, const QString& section)
{
    UseSection(section);
    WriteValue(key, value);
}

void CIniFile::WriteInt(const QString& key, int value, const QString& section)
{
    UseSection(section);
    WriteValue(key, QString::number(value));
}

void CIniFile::WriteFloat(const QString& key, float value, const QString& section)
{
    UseSection(section);
    WriteValue(key, FormatDouble(value));
}

void CIniFile::WriteDouble(const QString& key, double value, const QString& section)
{
    UseSection(section);
    WriteValue(key, FormatDouble(value));
}

void CIniFile::Exchange(int direction, QString* value, const QString& key, const QString& def,
                        const QString& section)
{
    if (value == nullptr)
        return;
    if (direction == kWrite)
        WriteString(key, *value, section);
    else
        *value = GetString(key, def, section);
}

void CIniFile::Exchange(int direction, double* value, const QString& key, double def,
                        const QString& section)
{
    if (value == nullptr)
        return;
    if (direction == kWrite)
        WriteDouble(key, *value, section);
    else
        *value = GetDouble(key, def, section);
}

void CIniFile::Exchange(int direction, float* value, const QString& key, float def,
                        const QString& section)
{
    if (value == nullptr)
        return;
    if (direction == kWrite)
        WriteFloat(key, *value, section);
    else
        *value = GetFloat(key, def, section);
}

void CIniFile::Exchange(int direction, int* value, const QString& key, int def, const QString& section)
{
    if (value == nullptr)
        return;
    if (direction == kWrite)
        WriteInt(key, *value, section);
    else
        *value = GetInt(key, def, section);
}

// The unsigned and long kinds travel through the same 32-bit text as int: a
// colour 0x00FFFFFF is "16777215", 0xFFFFFFFF is "-1" and reads back as 0xFFFFFFFF.
void CIniFile::Exchange(int direction, unsigned int* value, const QString& key, unsigned int def,
                        const QString& section)
{
    if (value == nullptr)
        return;
    if (direction == kWrite)
        WriteInt(key, static_cast<int>(*value), section);
    else
        *value = static_cast<unsigned int>(GetInt(key, static_cast<int>(def), section));
}

void CIniFile::Exchange(int direction, long* value, const QString& key, long def, const QString& section)
{
    if (value == nullptr)
        return;
    if (direction == kWrite)
        WriteInt(key, static_cast<int>(*value), section);
    else
        *value = GetInt(key, static_cast<int>(def), section);
}

void CIniFile::Exchange(int direction, unsigned long* value, const QString& key, unsigned long def,
                        const QString& section)
{
    if (value == nullptr)
        return;
    if (direction == kWrite)
        WriteInt(key, static_cast<int>(static_cast<std::uint32_t>(*value)), section);
    else
        *value = static_cast<std::uint32_t>(GetInt(key, static_cast<int>(static_cast<std::uint32_t>(def)), section));
}

int CIniFile::ToInt(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && IsCSpace(text.at(i)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == '-' || text.at(i) == '+'))
        negative = text.at(i++) == '-';
    // Accumulated with saturation; 64 bits hold any 32-bit value with either sign.
    constexpr std::int64_t kCap = std::int64_t{1} << 40;
    std::int64_t v = 0;
    for (; i < text.size() && text.at(i) >= '0' && text.at(i) <= '9'; ++i)
        v = std::min(kCap, v * 10 + (text.at(i).unicode() - '0'));
    if (negative)
        v = -v;
    // Text of any 32-bit value, signed or unsigned, gives its bit pattern
    // ("4294967295" is -1); beyond that the C library's clamping applies.
    if (v > std::numeric_limits<std::uint32_t>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(static_cast<std::uint32_t>(v));
}

double CIniFile::ToDouble(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const locale_t c = CLocale();
    return c != static_cast<locale_t>(nullptr) ? ::strtod_l(bytes.constData(), nullptr, c)
                                               : std::strtod(bytes.constData(), nullptr);
}

QString CIniFile::FormatDouble(double value)
{
    char buf[64];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    return QString::fromLatin1(buf, r.ptr - buf);
}
