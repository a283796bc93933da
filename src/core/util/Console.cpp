#include "util/Console.h"

#include <cstdio>
#include <mutex>

namespace zentrova::Console {

namespace {
std::mutex& consoleMutex()
{
    static std::mutex m;
    return m;
}
void write(std::FILE* stream, const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    std::lock_guard lock(consoleMutex());
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}
} // namespace

void out(const QString& line)
{
    write(stdout, line);
}

void err(const QString& line)
{
    write(stderr, line);
}

} // namespace zentrova::Console
