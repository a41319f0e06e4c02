// One profile file and a current section: reads and writes settings one key at a
// time, numbers as decimal text ("%d", "%g" in the C locale).  Every call reads the
// file anew; a missing file or key gives the default and a failed write is ignored.
#pragma once

#include <QChar>
#include <QString>

class CIniFile {
public:
    static constexpr int kValueChars = 256; // size of the value buffer, terminator included
    static constexpr int kRead = 1;         // Exchange direction: file to variable
    static constexpr int kWrite = 0;        // Exchange direction: variable to file

    // fileName: empty for "Tonaro.ini" in the program folder; a relative name is
    // taken from the program folder (useModuleFolder) or the current folder; "\" is
    // accepted as a separator.  An empty section becomes "Tonaro".
    explicit CIniFile(const QString& fileName = QString(), const QString& section = QString(),
                      bool useModuleFolder = true);
    CIniFile(const CIniFile& other);
    CIniFile& operator=(const CIniFile& other);

    void SetSection(const QString& section);
    const QString& File() const { return m_strFile; }
    const QString& Section() const { return m_strSection; }

    // A non-empty section argument replaces the current section for this and later calls.
    QString GetString(const QString& key, const QString& def = QString(), const QString& section = QString());
    int GetInt(const QString& key, int def = 0, const QString& section = QString());
    float GetFloat(const QString& key, float def = 0.0f, const QString& section = QString());
    double GetDouble(const QString& key, double def = 0.0, const QString& section = QString());

    void WriteString(const QString& key, const QString& value, const QString& section = QString());
    void WriteInt(const QString& key, int value, const QString& section = QString());
    void WriteFloat(const QString& key, float value, const QString& section = QString());
    void WriteDouble(const QString& key, double value, const QString& section = QString());

    // direction kRead: *value = Get...(key, def); kWrite: Write...(key, *value).
    // The integer kinds all travel as 32-bit "%d" text (ColourRef is unsigned int).
    void Exchange(int direction, QString* value, const QString& key, const QString& def,
                  const QString& section = QString());
    void Exchange(int direction, double* value, const QString& key, double def,
                  const QString& section = QString());
    void Exchange(int direction, float* value, const QString& key, float def,
                  const QString& section = QString());
    void Exchange(int direction, int* value, const QString& key, int def,
                  const QString& section = QString());
    void Exchange(int direction, unsigned int* value, const QString& key, unsigned int def,
                  const QString& section = QString());
    void Exchange(int direction, long* value, const QString& key, long def,
                  const QString& section = QString());
    void Exchange(int direction, unsigned long* value, const QString& key, unsigned long def,
                  const QString& section = QString());

    // The C conversions used for values: leading blanks, sign and digits ("12abc" is
    // 12, "abc" is 0), and strtod in the C locale whatever the user's locale is.
    static int ToInt(const QString& text);
    static double ToDouble(const QString& text);
    // "%g" in the C locale: six significant digits.
    static QString FormatDouble(double value);

private:
    void UseSection(const QString& section);
    // Reads key into m_szValue (at most kValueChars - 1 characters) and returns it.
    QString ReadValue(const QString& key, const QString& def);
    void WriteValue(const QString& key, const QString& value);

    bool m_bUseModuleFolder = true;     // relative names are taken from the program folder
    QChar m_szValue[kValueChars] = {};  // the last value read, zero-terminated
    QString m_strFile;                  // full path of the INI file
    QString m_strSection;               // current section
};
