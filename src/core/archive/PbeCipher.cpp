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

void setKey(des_ctx* ctx, const PbeCipher::KeyIv& k)
{
    // A weak key is still set; it only makes a poor key, which the derivation practically never yields.
    des_set_key(ctx, k.key.data());
}
} // namespace

struct PbeEncryptSink::State {
    des_ctx ctx;
    std::uint8_t iv[BLOCK];
    std::vector<std::uint8_t> pending; // fewer than one block
    std::vector<std::uint8_t> work;
    bool finished = false;
};

PbeEncryptSink::PbeEncryptSink(ByteSink& o, const PbeCipher::KeyIv& keyIv) : out(o), state(new State)
{
    setKey(&state->ctx, keyIv);
    std::memcpy(state->iv, keyIv.iv.data(), BLOCK);
}

PbeEncryptSink::~PbeEncryptSink()
{
    delete state;
}

bool PbeEncryptSink::write(const char* data, qint64 size, QString* error)
{
    if (state->finished) {
        if (error)
            *error = QStringLiteral("Cipher stream already finished");
        return false;
    }
    const auto* p = reinterpret_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const size_t take = std::min<size_t>(static_cast<size_t>(size), CHUNK);
        state->pending.insert(state->pending.end(), p, p + take);
        p += take;
        size -= static_cast<qint64>(take);
        const size_t whole = state->pending.size() / BLOCK * BLOCK;
        if (whole == 0)
            continue;
        state->work.resize(whole);
        cbc_encrypt(&state->ctx, reinterpret_cast<nettle_cipher_func*>(des_encrypt), BLOCK, state->iv, whole,
                    state->work.data(), state->pending.data());
        state->pending.erase(state->pending.begin(), state->pending.begin() + static_cast<std::ptrdiff_t>(whole));
        if (!out.write(reinterpret_cast<const char*>(state->work.data()), static_cast<qint64>(whole), error))
            return false;
    }
    return true;
}

bool PbeEncryptSink::finish(QString* error)
{
    if (state->finished)
        return true;
    state->finished = true;
    const std::uint8_t pad = static_cast<std::uint8_t>(BLOCK - state->pending.size());
    state->pending.insert(state->pending.end(), pad, pad);
    std::uint8_t last[BLOCK];
    cbc_encrypt(&state->ctx, reinterpret_cast<nettle_cipher_func*>(des_encrypt), BLOCK, state->iv, BLOCK, last,
                state->pending.data());
    state->pending.clear();
    return out.write(reinterpret_cast<const char*>(last), BLOCK, error) && out.finish(error);
}

struct PbeDecryptSource::State {
    des_ctx ctx;
    std::uint8_t iv[BLOCK];
    std::vector<std::uint8_t> cipher; // received, not yet decrypted (always keeps the last block back)
    std::vector<std::uint8_t> plain;  // decrypted, not yet handed out
    size_t plainPos = 0;
    bool inputEnded = false;
    bool failed = false;
};

PbeDecryptSource::PbeDecryptSource(ByteSource& i, const PbeCipher::KeyIv& keyIv) : in(i), state(new State)
{
    setKey(&state->ctx, keyIv);
    std::memcpy(state->iv, keyIv.iv.data(), BLOCK);
}

PbeDecryptSource::~PbeDecryptSource()
{
    delete state;
}

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
        cbc_decrypt(&s.ctx, reinterpret_cast<nettle_cipher_func*>(des_decrypt), BLOCK, s.iv, ready, s.plain.data(),
                    s.cipher.data());
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
