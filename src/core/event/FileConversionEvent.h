#pragma once

#include <QString>

namespace zentrova {

// A JPEG made from another image; the event's source is the new file too.
class FileConversionEvent {
public:
    explicit FileConversionEvent(QString converted) : converted(std::move(converted)) {}
    const QString& getConvertedFile() const { return converted; }
    const QString& getSource() const { return converted; }

private:
    QString converted;
};

class FileConversionListener {
public:
    virtual ~FileConversionListener() = default;
    virtual void handleFileConversion(const FileConversionEvent& event) = 0;
};

} // namespace zentrova
