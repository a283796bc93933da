#pragma once

#include "archive/ByteStream.h"

#include <memory>

namespace zentrova {

// Hands the bytes written to it to a worker thread that writes them on into `inner`, so that the producer
// (deflating) and the consumer (encrypting, writing the file) use two cores. A bounded queue of buffers keeps
// memory flat. A failure downstream is answered by the next write or by finish().
class PipelinedSink : public ByteSink {
public:
    explicit PipelinedSink(ByteSink& inner, int bufferSize = 256 * 1024, int queueDepth = 8);
    ~PipelinedSink() override;
    bool write(const char* data, qint64 size, QString* error) override;
    // Waits until the worker has written everything, then finishes `inner`.
    bool finish(QString* error) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace zentrova
