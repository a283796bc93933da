#pragma once

#include <QString>

namespace zentrova {

// The folders the import and rename dialogs remember between runs.
namespace DialogFolders {

// Where the folder import dialog's destination chooser opens. A missing file is written at once with the
// home folder; an unreadable, empty or stale value falls back to the home folder without a rewrite.
QString importChooserFolder();
// The chosen destination's parent becomes the new value, provided it exists.
void storeImportDestination(const QString& chosenDestination);

// The output folder last chosen in the rename dialog (or the home folder); nothing is written on reading.
QString renameOutputFolder();
// The rename dialog's chooser opens in the parent of the remembered folder.
QString renameChooserFolder();
// The chosen output folder is written, provided it exists.
void storeRenameOutputFolder(const QString& folder);

} // namespace DialogFolders
} // namespace zentrova
