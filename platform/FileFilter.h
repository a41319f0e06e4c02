// File type filters of the file dialogs, written as one string of pairs
// "description|patterns|...||" (patterns separated by ';').  Parsed here for
// the Qt dialog, which wants "description (patterns)" entries.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct FileFilter {
    QString m_strDescription; // "WAV - Standardwavefiles"
    QStringList m_aPatterns;  // {"*.wav"}
    bool operator==(const FileFilter&) const = default;
};

namespace FileFilters {

// Pairs of the filter string in order.  Parsing stops at the first empty
// description (the closing "||"); a description without patterns is dropped.
std::vector<FileFilter> Parse(const QString& filter);

// Qt name filters, one per pair: "WAV - Standardwavefiles (*.wav)".  "*.*" is
// written as "*" so that files without an extension are listed too.
QStringList ToQtNameFilters(const std::vector<FileFilter>& filters);

// Extension of the first pattern of the form "*.ext" without wildcards in ext
// ("wav"); empty when there is none ("*.*", "*").
QString ExtensionOf(const FileFilter& filter);

// The path a dialog returns for what the user typed: a name without extension
// gets the extension of the chosen filter (counted from 1), or the default
// extension (with or without leading dot) when that filter names none.
QString WithDefaultExtension(const QString& path, const std::vector<FileFilter>& filters, int filterIndex,
                             const QString& defaultExt);

} // namespace FileFilters
