#include "image/ImageIO.h"

#include "image/ExifFile.h"
#include "image/ImageProcessor.h"
#include "util/AtomicFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>

namespace zentrova {

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr info)
{
    auto* err = reinterpret_cast<JpegError*>(info->err);
    info->err->format_message(info, err->message);
    std::longjmp(err->jump, 1);
}

void onJpegMessage(j_common_ptr, int) {} // warnings on damaged data: the decoder goes on, so do we

// Pixel buffers of decoded pictures come back here when their last image is gone and serve the next
// decode: a fresh 48 MB allocation costs more in page faults than decoding takes. One buffer is kept,
// so a viewer holds at most its current, previous and one spare picture.
class PixelPool {
public:
    static PixelPool& instance()
    {
        static PixelPool pool;
        return pool;
    }
    QImage image(int width, int height, QImage::Format format)
    {
        const qsizetype bytesPerLine = (qsizetype(width) * (format == QImage::Format_Grayscale8 ? 1 : 4) + 63) / 64 * 64;
        const std::size_t need = std::size_t(bytesPerLine) * std::size_t(height);
        Block* block = nullptr;
        {
            std::lock_guard guard(lock);
            if (spare && spare->size >= need && spare->size <= need * 2) {
                block = spare;
                spare = nullptr;
            }
        }
        if (!block) {
            void* data = std::aligned_alloc(64, (need + 63) / 64 * 64);
            if (!data)
                return {};
            block = new Block{data, need};
        }
        return QImage(static_cast<uchar*>(block->data), width, height, bytesPerLine, format, &PixelPool::release, block);
    }

private:
    struct Block {
        void* data;
        std::size_t size;
    };
    static void release(void* info)
    {
        auto* block = static_cast<Block*>(info);
        PixelPool& pool = instance();
        Block* drop = block;
        {
            std::lock_guard guard(pool.lock);
            if (!pool.spare || pool.spare->size < block->size) {
                drop = pool.spare;
                pool.spare = block;
            }
        }
        if (drop) {
            std::free(drop->data);
            delete drop;
        }
    }
    std::mutex lock;
    Block* spare = nullptr;
};

bool readWholeFile(const QString& path, std::vector<unsigned char>& buffer, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = systemErrorText(path, errno);
        return false;
    }
    struct stat st;
    bool ok = fstat(fd, &st) == 0;
    std::size_t done = 0;
    if (ok) {
        buffer.resize(std::size_t(st.st_size));
        while (done < buffer.size()) {
            const ssize_t n = ::read(fd, buffer.data() + done, buffer.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += std::size_t(n);
        }
        buffer.resize(done);
    }
    const int e = errno;
    ::close(fd);
    if (!ok && error)
        *error = systemErrorText(path, e);
    return ok;
}

QImage decodeJpeg(const unsigned char* data, std::size_t size, QSize fitBox, QString* error, QSize* stored)
{
    jpeg_decompress_struct info;
    JpegError err;
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = onJpegError;
    err.mgr.emit_message = onJpegMessage;
    QImage image; // declared before the jump point so it is not clobbered
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        if (error)
            *error = QString::fromLocal8Bit(err.message);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (stored)
        *stored = QSize(int(info.image_width), int(info.image_height));
    info.scale_num = 1;
    info.scale_denom = unsigned(ImageIO::reductionFor(QSize(int(info.image_width), int(info.image_height)), fitBox));
    info.dct_method = JDCT_ISLOW;
    // A reduced picture is shrunk further anyway; the merged chroma upsampler is twice as fast.
    info.do_fancy_upsampling = info.scale_denom > 1 ? FALSE : TRUE;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    if (info.num_components == 1)
        info.out_color_space = JCS_GRAYSCALE;
    else if (cmyk)
        info.out_color_space = JCS_CMYK;
    else
        info.out_color_space = JCS_EXT_BGRX; // the byte order of QImage::Format_RGB32 here
    jpeg_start_decompress(&info);
    image = PixelPool::instance().image(int(info.output_width), int(info.output_height),
                                        info.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        if (error)
            *error = QStringLiteral("Not enough memory for a %1 x %2 picture").arg(info.output_width).arg(info.output_height);
        return {};
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            // Turn the four ink bytes into BGRX in place; Adobe writes them inverted.
            uchar* p = row;
            const bool inverted = info.saw_Adobe_marker;
            for (JDIMENSION x = 0; x < info.output_width; ++x, p += 4) {
                int c = p[0], m = p[1], y = p[2], k = p[3];
                if (!inverted) { c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k; }
                p[2] = uchar(c * k / 255);
                p[1] = uchar(m * k / 255);
                p[0] = uchar(y * k / 255);
                p[3] = 0xFF;
            }
        }
    }
    if (info.density_unit == 1) { // dots per inch
        image.setDotsPerMeterX(int(info.X_density / 0.0254 + 0.5));
        image.setDotsPerMeterY(int(info.Y_density / 0.0254 + 0.5));
    } else if (info.density_unit == 2) {
        image.setDotsPerMeterX(info.X_density * 100);
        image.setDotsPerMeterY(info.Y_density * 100);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

bool looksLikeJpeg(const std::vector<unsigned char>& data)
{
    return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

int orientationIn(const ExifFile::Contents& exif)
{
    if (!exif.hasExif)
        return 1;
    const TiffIfd* ifd0 = exif.block.directory(IfdKind::IFD0);
    const TiffEntry* e = ifd0 ? ifd0->find(ExifTag::ORIENTATION) : nullptr;
    if (!e || e->type != TiffType::SHORT || e->count < 1 || !e->valueValid)
        return 1;
    const int value = exif.block.read16(e->valuePos);
    return value >= 1 && value <= 8 ? value : 1;
}

} // namespace

int ImageIO::reductionFor(QSize picture, QSize fitBox)
{
    if (!fitBox.isValid() || fitBox.isEmpty() || picture.isEmpty())
        return 1;
    const double fit = std::min(double(fitBox.width()) / picture.width(), double(fitBox.height()) / picture.height());
    for (int denominator : {8, 4, 2})
        if (fit * MIN_DECODE_FACTOR * denominator <= 1.0)
            return denominator;
    return 1;
}

int ImageIO::orientationOf(const QString& path)
{
    ExifFile::Contents exif;
    return ExifFile::read(path, &exif) ? orientationIn(exif) : 1;
}

QImage ImageIO::applyOrientation(const QImage& image, int orientation)
{
    switch (orientation) {
    case 2: return image.mirrored(true, false);
    case 3: return ImageProcessor::rotateImage180Degrees(image);
    case 4: return image.mirrored(false, true);
    case 5: return ImageProcessor::rotateImage90Degrees(image, true).mirrored(true, false);
    case 6: return ImageProcessor::rotateImage90Degrees(image, true);
    case 7: return ImageProcessor::rotateImage90Degrees(image, true).mirrored(false, true);
    case 8: return ImageProcessor::rotateImage90Degrees(image, false);
    default: return image;
    }
}

QImage ImageIO::read(const QString& path, QString* error, QSize fitBox, QSize* fullSize)
{
    // The compressed bytes of one picture at a time per thread; kept, so big reads do not fault in new pages.
    static thread_local std::vector<unsigned char> buffer;
    if (!readWholeFile(path, buffer, error))
        return {};
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(buffer.data()), qsizetype(buffer.size()));
    if (looksLikeJpeg(buffer)) {
        ExifFile::Contents exif;
        const int orientation = ExifFile::read(bytes, &exif) ? orientationIn(exif) : 1; // from the bytes read, not the file again
        // A box describes the upright picture; the stored one is turned for orientations 5 to 8.
        if (orientation >= 5 && fitBox.isValid())
            fitBox.transpose();
        QSize stored;
        QImage image = decodeJpeg(buffer.data(), buffer.size(), fitBox, error, &stored);
        if (fullSize)
            *fullSize = orientation >= 5 ? stored.transposed() : stored;
        if (buffer.capacity() > (64u << 20))
            std::vector<unsigned char>().swap(buffer);
        return image.isNull() ? image : applyOrientation(image, orientation);
    }
    QByteArray copy = bytes;
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull() && error)
        *error = path + QStringLiteral(": ") + reader.errorString();
    if (fullSize)
        *fullSize = image.size();
    return image;
}

QByteArray ImageIO::formatOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? name.mid(dot + 1).toUtf8() : QByteArray();
}

bool ImageIO::canWrite(const QByteArray& format)
{
    return !format.isEmpty() && QImageWriter::supportedImageFormats().contains(format.toLower());
}

bool ImageIO::encode(const QImage& image, const QByteArray& format, QByteArray* out, QString* error)
{
    out->clear();
    QBuffer device(out);
    device.open(QIODevice::WriteOnly);
    QImageWriter writer(&device, format.toLower());
    if (format.toLower() == "jpg" || format.toLower() == "jpeg")
        writer.setQuality(JPEG_QUALITY);
    if (!writer.write(image)) {
        if (error)
            *error = writer.errorString();
        return false;
    }
    return true;
}

bool ImageIO::write(const QImage& image, const QString& path, const QByteArray& format, Replace replace, QString* error)
{
    if (!canWrite(format)) {
        if (error)
            *error = QStringLiteral("No encoder for the format ") + QString::fromUtf8(format);
        return false;
    }
    QByteArray bytes;
    if (!encode(image, format, &bytes, error))
        return false;
    AtomicFile file(path);
    return file.open(error) && file.write(bytes, error) && file.commit(error, replace == Replace::ALWAYS);
}

} // namespace zentrova
