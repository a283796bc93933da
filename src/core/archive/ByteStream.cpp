#include "archive/ByteStream.h"

#include <QIODevice>

namespace zentrova {

bool DeviceSink::write(const char* data, qint64 size, QString* error)
{
    while (size > 0) {
        const qint64 n = device.write(data, size);
        if (n <= 0) {
            if (error)
                *error = device.errorString();
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool DeviceSink::finish(QString*)
{
    return true;
}

qint64 DeviceSource::read(char* data, qint64 maximum, QString* error)
{
    const qint64 n = device.read(data, maximum);
    if (n < 0 && error)
        *error = device.errorString();
    return n;
}

} // namespace zentrova
