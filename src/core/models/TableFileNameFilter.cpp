#include "models/TableFileNameFilter.h"

namespace zentrova {

QString TableFileNameFilter::getDescription() const
{
    const QString where = position == Position::BEGINS_WITH ? QStringLiteral("beginning with")
        : position == Position::ENDS_WITH                   ? QStringLiteral("ending with")
                                                            : QStringLiteral("containing");
    return (include ? QStringLiteral("Include ") : QStringLiteral("Exclude ")) + where + QStringLiteral(" \"") + text
        + QStringLiteral("\" [") + (caseSensitive ? QStringLiteral("match case") : QStringLiteral("ignore case")) + QLatin1Char(']');
}

bool TableFileNameFilter::matches(const QString& path) const
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QStringView name = slash >= 0 ? QStringView(path).mid(slash + 1) : QStringView(path);
    // Case folding by Unicode rather than by a locale, so a filter means the same everywhere.
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    switch (position) {
    case Position::BEGINS_WITH: return name.startsWith(text, cs);
    case Position::ENDS_WITH: return name.endsWith(text, cs);
    case Position::CONTAINS: break;
    }
    return name.contains(text, cs);
}

QStringList TableFileNameFilter::filterList(const QStringList& paths) const
{
    if (!enabled)
        return paths;
    QStringList kept;
    kept.reserve(paths.size());
    for (const QString& p : paths)
        if (matches(p) == include)
            kept.append(p);
    return kept;
}

} // namespace zentrova
