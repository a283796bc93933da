// Fuzz target: the ZIP stream reader, plain and behind the pass-phrase cipher.
// The first input byte chooses the path; the rest is the archive (or its ciphertext).
#include "archive/PbeCipher.h"
#include "archive/ZipStreamReader.h"

#include <QString>

#include <cstdint>
#include <cstring>

namespace {
struct Bytes : zentrova::ByteSource {
    const std::uint8_t* data;
    size_t size, pos = 0;
    Bytes(const std::uint8_t* d, size_t s) : data(d), size(s) {}
    qint64 read(char* out, qint64 maximum, QString*) override
    {
        const size_t n = std::min<size_t>(static_cast<size_t>(maximum), size - pos);
        std::memcpy(out, data + pos, n);
        pos += n;
        return static_cast<qint64>(n);
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    Bytes raw(data + 1, size - 1);
    const auto key = zentrova::PbeCipher::derive("fuzzing pass phrase");
    zentrova::PbeDecryptSource decrypted(raw, key);
    zentrova::ByteSource& source = (data[0] & 1) ? static_cast<zentrova::ByteSource&>(decrypted) : raw;
    zentrova::ZipStreamReader zip(source, 1 << 20);
    QString error;
    char buffer[1024];
    for (int entries = 0; entries < 10000; ++entries) {
        if (!zip.nextEntry(&error))
            break;
        qint64 n;
        while ((n = zip.read(buffer, sizeof buffer, &error)) > 0) {
        }
        if (n < 0)
            break;
    }
    return 0;
}
