#include "archive/PbeCipher.h"

#include <nettle/cbc.h>
#include <nettle/des.h>
#include <nettle/md5.h>

#include <cstring>
#include <vector>

namespace zentrova {

namespace PbeCipher {

bool checkPassphrase(const QString& passphrase, QString* error)
{
    for (const QChar c : passphrase) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) {
            if (error)
                *error = QStringLiteral("Pass phrase may hold only printable ASCII characters");
            return false;
        }
    }
    return true;
}

KeyIv derive(const QByteArray& passphrase, const std::array<std::uint8_t, 8>& salt, int iterations)
{
    std::uint8_t digest[MD5_DIGEST_SIZE];
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, static_cast<size_t>(passphrase.size()), reinterpret_cast<const std::uint8_t*>(passphrase.constData()));
    md5_update(&ctx, salt.size(), salt.data());
    md5_digest(&ctx, sizeof digest, digest);
    for (int i = 1; i < iterations; ++i) {
        md5_update(&ctx, sizeof digest, digest);
        md5_digest(&ctx, sizeof digest, digest);
    }
    KeyIv k{};
    std::memcpy(k.key.data(), digest, 8);
    std::memcpy(k.iv.data(), digest + 8, 8);
    return k;
}

} // namespace PbeCipher

namespace {
constexpr size_t BLOCK = DES_BLOCK_SIZE;
constexpr size_t CHUNK = 64 * 1024;

// DES-CBC with the vector carried from call to call, so a stream can be processed piece by piece.
struct DesCbc {
    des_ctx ctx;
    std::uint8_t iv[BLOCK];
    explicit DesCbc(const PbeCipher::KeyIv& k)
    {
        // A weak key is still set; it only makes a poor key, which the derivation practically never yields.
        des_set_key(&ctx, k.key.data());
        std::memcpy(iv, k.iv.data(), BLOCK);
    }
    void encrypt(std::uint8_t* out, const std::uint8_t* in, size_t length)
    {
        cbc_encrypt(&ctx, reinterpret_cast<nettle_cipher_func*>(des_encrypt), BLOCK, iv, length, out, in);
    }
    void decrypt(std::uint8_t* out, const std::uint8_t* in, size_t length)
    {
        cbc_decrypt(&ctx, reinterpret_cast<nettle_cipher_func*>(des_decrypt), BLOCK, iv, length, out, in);
    }
};
} // namespace

struct PbeEncryptSink::State {
    explicit State(const PbeCipher::KeyIv& k) : des(k) {}
    DesCbc des;
    std::uint8_t pending[BLOCK]; // the start of a block not yet complete
    size_t pendingSize = 0;
    std::vector<std::uint8_t> work = std::vector<std::uint8_t>(CHUNK);
    bool finished = false;
};

PbeEncryptSink::PbeEncryptSink(ByteSink& o, const PbeCipher::KeyIv& keyIv)
    : out(o), state(std::make_unique<State>(keyIv))
{
}

PbeEncryptSink::~PbeEncryptSink() = default;

bool PbeEncryptSink::write(const char* data, qint64 size, QString* error)
{
    State& s = *state;
    if (s.finished) {
        if (error)
            *error = QStringLiteral("Cipher stream already finished");
        return false;
    }
    const auto* p = reinterpret_cast<const std::uint8_t*>(data);
    size_t left = static_cast<size_t>(size);
    // Complete a block begun by an earlier write.
    if (s.pendingSize > 0) {
        const size_t take = std::min(left, BLOCK - s.pendingSize);
        std::memcpy(s.pending + s.pendingSize, p, take);
        s.pendingSize += take;
        p += take;
        left -= take;
        if (s.pendingSize < BLOCK)
            return true;
        s.des.encrypt(s.work.data(), s.pending, BLOCK);
        s.pendingSize = 0;
        if (!out.write(reinterpret_cast<const char*>(s.work.data()), BLOCK, error))
            return false;
    }
    // Whole blocks straight from the input, a chunk at a time.
    while (left >= BLOCK) {
        const size_t whole = std::min(left, CHUNK) / BLOCK * BLOCK;
        s.des.encrypt(s.work.data(), p, whole);
        if (!out.write(reinterpret_cast<const char*>(s.work.data()), static_cast<qint64>(whole), error))
            return false;
        p += whole;
        left -= whole;
    }
    std::memcpy(s.pending, p, left);
    s.pendingSize = left;
    return true;
}

bool PbeEncryptSink::finish(QString* error)
{
    State& s = *state;
    if (s.finished)
        return true;
    s.finished = true;
    const std::uint8_t pad = static_cast<std::uint8_t>(BLOCK - s.pendingSize);
    std::memset(s.pending + s.pendingSize, pad, pad);
    std::uint8_t last[BLOCK];
    s.des.encrypt(last, s.pending, BLOCK);
    s.pendingSize = 0;
    return out.write(reinterpret_cast<const char*>(last), BLOCK, error) && out.finish(error);
}

struct PbeDecryptSource::State {
    explicit State(const PbeCipher::KeyIv& k) : des(k) {}
    DesCbc des;
    std::vector<std::uint8_t> cipher; // received, not yet decrypted (always keeps the last block back)
    std::vector<std::uint8_t> plain;  // decrypted, not yet handed out
    size_t plainPos = 0;
    bool inputEnded = false;
    bool failed = false;
};

PbeDecryptSource::PbeDecryptSource(ByteSource& i, const PbeCipher::KeyIv& keyIv)
    : in(i), state(std::make_unique<State>(keyIv))
{
}

PbeDecryptSource::~PbeDecryptSource() = default;

bool PbeDecryptSource::refill(QString* error)
{
    State& s = *state;
    s.plain.clear();
    s.plainPos = 0;
    while (s.plain.empty() && !s.inputEnded) {
        const size_t old = s.cipher.size();
        s.cipher.resize(old + CHUNK);
        const qint64 n = in.read(reinterpret_cast<char*>(s.cipher.data() + old), CHUNK, error);
        if (n < 0) {
            s.failed = true;
            return false;
        }
        s.cipher.resize(old + static_cast<size_t>(n));
        if (n == 0)
            s.inputEnded = true;
        // Keep at least one whole block back until the end of the input is known.
        size_t ready = s.cipher.size() / BLOCK * BLOCK;
        if (!s.inputEnded && ready > 0 && ready == s.cipher.size())
            ready -= BLOCK;
        if (s.inputEnded) {
            if (s.cipher.size() % BLOCK != 0 || s.cipher.empty()) {
                if (error)
                    *error = QStringLiteral("Given final block not properly padded");
                s.failed = true;
                return false;
            }
            ready = s.cipher.size();
        }
        if (ready == 0)
            continue;
        s.plain.resize(ready);
        s.des.decrypt(s.plain.data(), s.cipher.data(), ready);
        s.cipher.erase(s.cipher.begin(), s.cipher.begin() + static_cast<std::ptrdiff_t>(ready));
        if (s.inputEnded) {
            const std::uint8_t pad = s.plain.back();
            bool good = pad >= 1 && pad <= BLOCK;
            for (size_t k = 0; good && k < pad; ++k)
                good = s.plain[s.plain.size() - 1 - k] == pad;
            if (!good) {
                if (error)
                    *error = QStringLiteral("Given final block not properly padded");
                s.failed = true;
                s.plain.clear();
                return false;
            }
            s.plain.resize(s.plain.size() - pad);
        }
    }
    return true;
}

qint64 PbeDecryptSource::read(char* data, qint64 maximum, QString* error)
{
    State& s = *state;
    if (s.failed) {
        if (error)
            *error = QStringLiteral("Cipher stream failed earlier");
        return -1;
    }
    if (s.plainPos >= s.plain.size()) {
        if (s.inputEnded)
            return 0;
        if (!refill(error))
            return -1;
        if (s.plain.empty())
            return 0;
    }
    const size_t n = std::min<size_t>(static_cast<size_t>(maximum), s.plain.size() - s.plainPos);
    std::memcpy(data, s.plain.data() + s.plainPos, n);
    s.plainPos += n;
    return static_cast<qint64>(n);
}

} // namespace zentrova
