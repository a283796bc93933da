#pragma once

#include "archive/ByteStream.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <memory>

namespace zentrova {

// Pass-phrase encryption of whole archives: PKCS #5 v1.5 PBES1 with MD5 and DES-CBC. MD5 is applied
// CRYPT_ITERATIONS times, first over the pass phrase bytes and the salt; the first 8 bytes of the digest are
// the DES key, the last 8 the CBC vector. The plaintext is padded per PKCS #5 to whole 8-byte blocks.
namespace PbeCipher {

inline constexpr int CRYPT_ITERATIONS = 20;
inline constexpr std::array<std::uint8_t, 8> CRYPT_SALT = {0x5a, 0x8e, 0x21, 0xc7, 0x3b, 0x94, 0x06, 0xf1};
inline constexpr int MIN_PASSPHRASE_LENGTH = 8;

struct KeyIv {
    std::array<std::uint8_t, 8> key;
    std::array<std::uint8_t, 8> iv;
};

// Pass phrases are printable ASCII (0x20-0x7E), one byte per character; anything else is refused.
bool checkPassphrase(const QString& passphrase, QString* error);
KeyIv derive(const QByteArray& passphrase, const std::array<std::uint8_t, 8>& salt = CRYPT_SALT,
             int iterations = CRYPT_ITERATIONS);

} // namespace PbeCipher

// Encrypts everything written to it into `out`; finish() writes the padded last block.
class PbeEncryptSink : public ByteSink {
public:
    PbeEncryptSink(ByteSink& out, const PbeCipher::KeyIv& keyIv);
    ~PbeEncryptSink() override;
    bool write(const char* data, qint64 size, QString* error) override;
    bool finish(QString* error) override;

private:
    struct State;
    ByteSink& out;
    std::unique_ptr<State> state;
};

// Decrypts `in` as it is read. The last block is held back until the end shows, so its padding can be
// checked and removed; a length that is not a multiple of 8 or a wrong padding is an error.
class PbeDecryptSource : public ByteSource {
public:
    PbeDecryptSource(ByteSource& in, const PbeCipher::KeyIv& keyIv);
    ~PbeDecryptSource() override;
    qint64 read(char* data, qint64 maximum, QString* error) override;

private:
    bool refill(QString* error);
    struct State;
    ByteSource& in;
    std::unique_ptr<State> state;
};

} // namespace zentrova
