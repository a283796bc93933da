#pragma once

#include "data/CustomTreeNode.h"

#include <QHash>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace zentrova {

class ProgressTarget;

// Root to leaf: root, year, month, day, file.
using TreePath = std::vector<CustomTreeNode*>;

// The date tree: years, months, days, then the files of each day, by picture date. Built in one go from a
// list of files; a path to every file's leaf is kept by the file's absolute path.
class FileDateTreeRoot : public SortingTreeNode {
public:
    static const std::array<QString, 12> MONTH_NAMES;
    static const std::array<QString, 7> DAYS_OF_WEEK; // index 0 is Sunday
    static inline const QString ROOT_LABEL = QStringLiteral("File Date Tree");

    FileDateTreeRoot();
    explicit FileDateTreeRoot(const QStringList& files);

    void setFiles(const QStringList& files);
    const QStringList& getFiles() const { return files; }
    void setProgressBar(ProgressTarget* bar) { progress = bar; }

    std::optional<TreePath> getPathFor(const QString& file) const;
    std::optional<QString> getNextFile(const QString& file) const;
    std::optional<QString> getPrevFile(const QString& file) const;
    std::vector<TreePath> getMonthPaths() const; // root, year
    std::vector<TreePath> getDayPaths() const;   // root, year, month

    // The file a leaf stands for, if it is a file leaf.
    static std::optional<QString> fileOf(const CustomTreeNode* node);

private:
    std::optional<QString> neighbour(const QString& file, bool next) const;
    QStringList files;
    ProgressTarget* progress = nullptr;
    QHash<QString, TreePath> paths;
};

} // namespace zentrova
