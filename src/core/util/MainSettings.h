#pragma once

#include "util/Properties.h"

#include <QString>

#include <optional>

namespace zentrova {

// The main settings in "Zentrova.props". Every change is written at once; nothing is written at exit.
class MainSettings {
public:
    static inline const QString LASTDIR = QStringLiteral("lastdir");
    static inline const QString LASTFILE = QStringLiteral("lastfile");
    static inline const QString LOGGING = QStringLiteral("logging");
    static inline const QString LASTIMPORTDIR = QStringLiteral("lastimportdir");
    static inline const QString LASTEXPORTDIR = QStringLiteral("lastexportdir");
    static inline const QString COMMENT = QStringLiteral("ImageTagFrame properties");

    // The file defaults to AppPaths::PROPS_FILE.
    explicit MainSettings(QString file = {});

    // Missing file: the defaults are created and written. Unreadable or malformed file: the failure is printed
    // on the error output, the settings stay empty and the file is left as it is.
    void loadProps();
    bool storeProps();
    void createDefaultProps();

    // The value, or the key's default ("lastdir", "lastimportdir", "lastexportdir": the home folder;
    // "logging": "false"); keys without a default answer nothing.
    std::optional<QString> value(const QString& key) const;
    QString valueOr(const QString& key, const QString& fallback) const;
    // Sets the key and writes the settings at once.
    void setValue(const QString& key, const QString& value);

    const Properties& all() const { return props; }
    QString file() const { return path; }

private:
    QString path;
    Properties props;
};

} // namespace zentrova
