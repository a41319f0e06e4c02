#include "FileFilter.h"

#include <QFileInfo>

namespace FileFilters {

std::vector<FileFilter> Parse(const QString& filter)
{
    std::vector<FileFilter> out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        if (description.isEmpty())
            break;
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!p.trimmed().isEmpty())
                patterns << p.trimmed();
        if (!patterns.isEmpty())
            out.push_back({description, patterns});
    }
    return out;
}

QStringList ToQtNameFilters(const std::vector<FileFilter>& filters)
{
    QStringList out;
    for (const FileFilter& f : filters) {
        QStringList patterns;
        for (const QString& p : f.m_aPatterns)
            patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        out << QStringLiteral("%1 (%2)").arg(f.m_strDescription, patterns.join(QLatin1Char(' ')));
    }
    return out;
}

QString ExtensionOf(const FileFilter& filter)
{
    for (const QString& p : filter.m_aPatterns) {
        if (!p.startsWith(QLatin1String("*.")))
            continue;
        const QString ext = p.mid(2);
        if (!ext.isEmpty() && !ext.contains(QLatin1Char('*')) && !ext.contains(QLatin1Char('?')))
            return ext;
    }
    return {};
}

QString WithDefaultExtension(const QString& path, const std::vector<FileFilter>& filters, int filterIndex,
                             const QString& defaultExt)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')) || !QFileInfo(path).suffix().isEmpty())
        return path;
    QString ext;
    if (filterIndex >= 1 && filterIndex <= static_cast<int>(filters.size()))
        ext = ExtensionOf(filters[static_cast<std::size_t>(filterIndex - 1)]);
    if (ext.isEmpty())
        ext = defaultExt.startsWith(QLatin1Char('.')) ? defaultExt.mid(1) : defaultExt;
    if (ext.isEmpty())
        return path;
    QString base = path;
    if (base.endsWith(QLatin1Char('.')))
        base.chop(1);
    return base + QLatin1Char('.') + ext;
}

} // namespace FileFilters
