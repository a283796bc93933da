#pragma once

#include "util/Properties.h"

#include <QString>

namespace zentrova {

// The scaling dialogs' folders in "ScalingDialog.props": one set shared by every scaling dialog of the
// process, read again from the file each time a dialog is created.
class ScalingSettings {
public:
    static inline const QString LAST_MONITOR_DIR = QStringLiteral("lastMonitorDir");
    static inline const QString LAST_OUTPUT_DIR = QStringLiteral("lastOutputDir");
    static inline const QString COMMENT = QStringLiteral("Properties for ScaleMonitor");

    // What a new scaling dialog does: a missing file gets both keys set to the home folder, written at once;
    // otherwise the file is read into the shared set (a failure prints only its message).
    static void loadForDialog();
    // The value, or the home folder when the key is absent.
    static QString value(const QString& key);
    // Sets the key and writes the whole file at once (a failure prints only its message).
    static void setValue(const QString& key, const QString& value);
    static Properties all();
};

} // namespace zentrova
