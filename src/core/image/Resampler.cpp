#include "image/Resampler.h"

#include <cmath>
#include <cstring>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zentrova {

namespace {

constexpr int WEIGHT_BITS = 14;

// For each output position: the first source pixel and the fixed-point weights of the ones after it.
struct Contributions {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int16_t> weights; // `taps` per output position
    int taps = 0;
    bool even = true; // every count is even, as the vector code needs
};

Contributions contributions(int source, int target)
{
    Contributions c;
    const double scale = double(target) / source;
    const double stretch = scale < 1.0 ? 1.0 / scale : 1.0; // the kernel widens when shrinking
    const double support = 2.0 * stretch;
    c.taps = int(std::ceil(support * 2)) + 2;
    c.first.resize(std::size_t(target));
    c.count.resize(std::size_t(target));
    c.weights.assign(std::size_t(target) * std::size_t(c.taps), 0);
    std::vector<double> w(std::size_t(c.taps));
    for (int i = 0; i < target; ++i) {
        const double centre = (i + 0.5) / scale - 0.5;
        int lo = int(std::ceil(centre - support));
        int hi = int(std::floor(centre + support));
        lo = std::max(lo, 0);
        hi = std::min(hi, source - 1);
        int n = std::min(hi - lo + 1, c.taps);
        double sum = 0;
        for (int k = 0; k < n; ++k) {
            w[std::size_t(k)] = Resampler::cubic((lo + k - centre) / stretch);
            sum += w[std::size_t(k)];
        }
        if (sum == 0) { // cannot happen for a sane kernel; keep the nearest pixel then
            n = 1;
            lo = std::clamp(int(std::lround(centre)), 0, source - 1);
            w[0] = sum = 1;
        }
        int total = 0, largest = 0;
        int16_t* out = &c.weights[std::size_t(i) * std::size_t(c.taps)];
        for (int k = 0; k < n; ++k) {
            out[k] = int16_t(std::lround(w[std::size_t(k)] / sum * (1 << WEIGHT_BITS)));
            total += out[k];
            if (std::abs(out[k]) > std::abs(out[largest]))
                largest = k;
        }
        out[largest] = int16_t(out[largest] + ((1 << WEIGHT_BITS) - total)); // the weights sum to exactly one
        // An even number of taps lets the vector code take two at a time; the extra tap has weight 0 and
        // is placed where a source pixel exists.
        if (n % 2) {
            if (lo + n < source) {
                out[n++] = 0;
            } else if (lo > 0) {
                std::memmove(out + 1, out, sizeof(int16_t) * std::size_t(n));
                out[0] = 0;
                --lo;
                ++n;
            } else {
                c.even = false; // the kernel covers the whole, odd-sized source: the plain code handles it
            }
        }
        c.first[std::size_t(i)] = lo;
        c.count[std::size_t(i)] = n;
    }
    return c;
}

inline uint8_t clampByte(int v)
{
    v = (v + (1 << (WEIGHT_BITS - 1))) >> WEIGHT_BITS;
    return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

template <int CH>
void horizontal(const QImage& src, std::vector<uint8_t>& out, int outWidth, const Contributions& c)
{
    const std::size_t stride = std::size_t(outWidth) * CH;
    for (int y = 0; y < src.height(); ++y) {
        const uint8_t* row = src.constScanLine(y);
        uint8_t* dst = out.data() + std::size_t(y) * stride;
        for (int x = 0; x < outWidth; ++x) {
            const int16_t* w = &c.weights[std::size_t(x) * std::size_t(c.taps)];
            const uint8_t* p = row + std::size_t(c.first[std::size_t(x)]) * CH;
            int acc[CH] = {};
            for (int k = 0; k < c.count[std::size_t(x)]; ++k, p += CH)
                for (int ch = 0; ch < CH; ++ch)
                    acc[ch] += w[k] * p[ch];
            for (int ch = 0; ch < CH; ++ch)
                dst[x * CH + ch] = clampByte(acc[ch]);
        }
    }
}

#if defined(__SSE2__)
inline __m128i load32(const uint8_t* p)
{
    int32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(v);
}

inline __m128i weightPair(int16_t a, int16_t b)
{
    return _mm_set1_epi32(int32_t(uint16_t(a)) | int32_t(uint32_t(uint16_t(b)) << 16));
}

inline __m128i roundShift(__m128i acc)
{
    return _mm_srai_epi32(_mm_add_epi32(acc, _mm_set1_epi32(1 << (WEIGHT_BITS - 1))), WEIGHT_BITS);
}

// Four channels, two taps per multiply-add.
void horizontal4(const QImage& src, std::vector<uint8_t>& out, int outWidth, const Contributions& c)
{
    const __m128i zero = _mm_setzero_si128();
    for (int y = 0; y < src.height(); ++y) {
        const uint8_t* row = src.constScanLine(y);
        uint8_t* dst = out.data() + std::size_t(y) * std::size_t(outWidth) * 4;
        for (int x = 0; x < outWidth; ++x) {
            const int16_t* w = &c.weights[std::size_t(x) * std::size_t(c.taps)];
            const uint8_t* p = row + std::size_t(c.first[std::size_t(x)]) * 4;
            __m128i acc = zero;
            for (int k = 0; k < c.count[std::size_t(x)]; k += 2, p += 8) {
                const __m128i pair = _mm_unpacklo_epi8(_mm_unpacklo_epi8(load32(p), load32(p + 4)), zero);
                acc = _mm_add_epi32(acc, _mm_madd_epi16(pair, weightPair(w[k], w[k + 1])));
            }
            const __m128i v = roundShift(acc);
            const int32_t packed = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(v, v), zero));
            std::memcpy(dst + std::size_t(x) * 4, &packed, 4);
        }
    }
}

// Any channel layout: the rows are plain bytes, sixteen at a time.
void verticalBytes(const std::vector<uint8_t>& in, std::size_t stride, QImage& dst, const Contributions& c)
{
    const __m128i zero = _mm_setzero_si128();
    for (int y = 0; y < dst.height(); ++y) {
        const int16_t* w = &c.weights[std::size_t(y) * std::size_t(c.taps)];
        const uint8_t* first = in.data() + std::size_t(c.first[std::size_t(y)]) * stride;
        uint8_t* out = dst.scanLine(y);
        std::size_t i = 0;
        for (; i + 16 <= stride; i += 16) {
            __m128i a0 = zero, a1 = zero, a2 = zero, a3 = zero;
            for (int k = 0; k < c.count[std::size_t(y)]; k += 2) {
                const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + std::size_t(k) * stride + i));
                const __m128i r1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + std::size_t(k + 1) * stride + i));
                const __m128i wk = weightPair(w[k], w[k + 1]);
                const __m128i lo = _mm_unpacklo_epi8(r0, r1), hi = _mm_unpackhi_epi8(r0, r1);
                a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), wk));
                a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), wk));
                a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), wk));
                a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), wk));
            }
            const __m128i lo16 = _mm_packs_epi32(roundShift(a0), roundShift(a1));
            const __m128i hi16 = _mm_packs_epi32(roundShift(a2), roundShift(a3));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo16, hi16));
        }
        for (; i < stride; ++i) { // the last few bytes of the row
            int acc = 0;
            for (int k = 0; k < c.count[std::size_t(y)]; ++k)
                acc += w[k] * first[std::size_t(k) * stride + i];
            out[i] = clampByte(acc);
        }
    }
}
#endif

template <int CH>
void vertical(const std::vector<uint8_t>& in, int width, QImage& dst, const Contributions& c)
{
    const std::size_t stride = std::size_t(width) * CH;
    std::vector<int> acc(stride);
    for (int y = 0; y < dst.height(); ++y) {
        std::fill(acc.begin(), acc.end(), 0);
        const int16_t* w = &c.weights[std::size_t(y) * std::size_t(c.taps)];
        for (int k = 0; k < c.count[std::size_t(y)]; ++k) {
            const uint8_t* row = in.data() + std::size_t(c.first[std::size_t(y)] + k) * stride;
            const int weight = w[k];
            for (std::size_t i = 0; i < stride; ++i)
                acc[i] += weight * row[i];
        }
        uint8_t* out = dst.scanLine(y);
        for (std::size_t i = 0; i < stride; ++i)
            out[i] = clampByte(acc[i]);
    }
}

template <int CH>
QImage run(const QImage& src, QSize target)
{
    const Contributions h = contributions(src.width(), target.width());
    const Contributions v = contributions(src.height(), target.height());
    // The scratch rows are kept per thread: resampling picture after picture reuses them.
    static thread_local std::vector<uint8_t> scratch;
    scratch.resize(std::size_t(src.height()) * std::size_t(target.width()) * CH);
    QImage dst(target, src.format());
    if (dst.isNull())
        return dst;
#if defined(__SSE2__)
    if (v.even) {
        if constexpr (CH == 4) {
            if (h.even)
                horizontal4(src, scratch, target.width(), h);
            else
                horizontal<CH>(src, scratch, target.width(), h);
        } else {
            horizontal<CH>(src, scratch, target.width(), h);
        }
        verticalBytes(scratch, std::size_t(target.width()) * CH, dst, v);
    } else
#endif
    {
        horizontal<CH>(src, scratch, target.width(), h);
        vertical<CH>(scratch, target.width(), dst, v);
    }
    if (scratch.capacity() > (64u << 20))
        std::vector<uint8_t>().swap(scratch);
    return dst;
}

int channelsOf(QImage::Format f)
{
    switch (f) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return 4;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
        return 3;
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
        return 1;
    default:
        return 0;
    }
}

} // namespace

double Resampler::cubic(double x)
{
    x = std::abs(x);
    if (x < 1)
        return (A + 2) * x * x * x - (A + 3) * x * x + 1;
    if (x < 2)
        return A * x * x * x - 5 * A * x * x + 8 * A * x - 4 * A;
    return 0;
}

QImage Resampler::resample(const QImage& source, QSize target)
{
    if (source.isNull() || target.isEmpty())
        return {};
    if (source.size() == target)
        return source;
    switch (channelsOf(source.format())) {
    case 4: return run<4>(source, target);
    case 3: return run<3>(source, target);
    case 1: return run<1>(source, target);
    default: break;
    }
    // Other layouts go through premultiplied 8-bit channels (filtering colours apart from their alpha
    // would bleed the colour of transparent pixels) and come back to the source's format.
    const QImage::Format work = source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage result = run<4>(source.convertToFormat(work), target);
    return source.format() == QImage::Format_Indexed8 || source.format() == QImage::Format_Mono || source.format() == QImage::Format_MonoLSB
        ? result // a palette cannot hold the new in-between colours
        : result.convertToFormat(source.format());
}

} // namespace zentrova
