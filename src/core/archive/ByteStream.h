#pragma once

#include <QString>
#include <QtGlobal>

class QIODevice;

namespace zentrova {

// Where bytes go: a file, the cipher, a buffer. Errors answer false with the reason in *error.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool write(const char* data, qint64 size, QString* error) = 0;
    // Flushes what the sink still holds (the cipher's padding); the sink takes no more bytes after it.
    virtual bool finish(QString* error) = 0;
};

// Where bytes come from. read answers the count (0 at the end) or -1 with the reason in *error.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qint64 read(char* data, qint64 maximum, QString* error) = 0;
};

class DeviceSink : public ByteSink {
public:
    explicit DeviceSink(QIODevice& device) : device(device) {}
    bool write(const char* data, qint64 size, QString* error) override;
    bool finish(QString* error) override;

private:
    QIODevice& device;
};

class DeviceSource : public ByteSource {
public:
    explicit DeviceSource(QIODevice& device) : device(device) {}
    qint64 read(char* data, qint64 maximum, QString* error) override;

private:
    QIODevice& device;
};

} // namespace zentrova
