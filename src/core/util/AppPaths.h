#pragma once

#include <QString>

namespace zentrova {

// The per-user application folder and the files kept in it. The paths are computed from HOME by init(),
// which the program calls once at start (and tests call after pointing HOME at a temporary folder).
class AppPaths {
public:
    static inline QString HOME;
    static inline QString APP_DIR;            // $HOME/tolvex
    static inline QString TMP_DIR;            // $HOME/tolvex/tmp
    static inline QString PROPS_FILE;         // Zentrova.props
    static inline QString TAG_FILE;           // Zentrova.tags
    static inline QString MODEL_FILTER_FILE;  // Zentrova.filters
    static inline QString STARTDIR_FILE;      // Zentrova.startdir
    static inline QString IMPORT_DIR_FILE;    // file_import_lastfir.bin
    static inline QString RENAME_DIR_FILE;    // last_rename_dir.bin
    static inline QString SCALING_PROPS_FILE; // ScalingDialog.props

    static void init();

    // The main window's process-wide set-up: both folders made (with parents), the temporary folder emptied.
    // On failure *failedPath names the folder that could not be made.
    static bool setUp(QString* failedPath);

    // Removes every entry directly inside the temporary folder; an entry that cannot be removed is reported
    // as "Unable to remove file: " + path on the error output and the next one is tried.
    static void cleanTmpDir();

    // Makes the application folder, once per process, for the dialogs that can run without the main window.
    static bool ensureAppDir();
};

} // namespace zentrova
