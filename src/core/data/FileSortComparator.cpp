#include "data/FileSortComparator.h"

#include <QFile>

#include <algorithm>
#include <numeric>
#include <sys/stat.h>
#include <vector>

namespace zentrova {

namespace {
const QStringList NAMES = {"NAME", "SIZE", "TYPE", "MODIFIED", "PATH"};

template <typename T>
int sign(T a, T b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}
} // namespace

FileSortComparator::FileSortComparator(int criterion, bool descending, bool ignoreCase)
    : index(criterion), descending(descending), ignoreCase(ignoreCase)
{
}

int FileSortComparator::getIndexOf(const QString& columnName)
{
    return int(NAMES.indexOf(columnName));
}

QString FileSortComparator::getColumnName(int criterion)
{
    return criterion >= 0 && criterion < NAMES.size() ? NAMES[criterion] : QString();
}

FileSortComparator::Key FileSortComparator::keyOf(const QString& path, bool withFileFacts)
{
    Key k;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    k.name = slash >= 0 ? path.mid(slash + 1) : path;
    k.parent = slash > 0 ? path.left(slash) : slash == 0 ? QStringLiteral("/") : QString();
    const qsizetype dot = k.name.lastIndexOf(QLatin1Char('.'));
    k.extension = dot >= 0 ? k.name.mid(dot) : QString();
    struct stat st;
    if (withFileFacts && ::stat(QFile::encodeName(path).constData(), &st) == 0) {
        k.size = st.st_size;
        k.modified = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        k.kind = S_ISDIR(st.st_mode) ? Key::DIR : S_ISREG(st.st_mode) ? Key::FILE : Key::OTHER;
    }
    return k;
}

int FileSortComparator::compareKeys(const Key& first, const Key& second) const
{
    const Key& a = descending ? second : first;
    const Key& b = descending ? first : second;
    switch (index) {
    case SIZE:
        return sign(a.size, b.size);
    case TYPE:
        if (a.kind == Key::DIR && b.kind == Key::DIR)
            return 0;
        if (a.kind == Key::DIR && b.kind == Key::FILE)
            return 1;
        if (a.kind == Key::FILE && b.kind == Key::DIR)
            return -1;
        if (a.kind == Key::FILE && b.kind == Key::FILE)
            return QString::compare(a.extension, b.extension, Qt::CaseSensitive);
        return 0;
    case MODIFIED:
        return sign(a.modified, b.modified);
    case PATH:
        return QString::compare(a.parent, b.parent, Qt::CaseSensitive);
    default: // NAME, and any index outside the table
        return QString::compare(a.name, b.name, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
    }
}

int FileSortComparator::compare(const std::optional<QString>& a, const std::optional<QString>& b) const
{
    if (!a || !b)
        return a ? 1 : b ? -1 : 0;
    return compareKeys(keyOf(*a), keyOf(*b));
}

void FileSortComparator::sort(QStringList& paths) const
{
    const bool facts = index == SIZE || index == TYPE || index == MODIFIED;
    std::vector<Key> keys;
    keys.reserve(std::size_t(paths.size()));
    for (const QString& p : paths)
        keys.push_back(keyOf(p, facts));
    std::vector<int> order(std::size_t(paths.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return compareKeys(keys[std::size_t(x)], keys[std::size_t(y)]) < 0; });
    QStringList sorted;
    sorted.reserve(paths.size());
    for (int i : order)
        sorted.append(paths[i]);
    paths = std::move(sorted);
}

} // namespace zentrova
