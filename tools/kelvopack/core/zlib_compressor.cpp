#include "core/zlib_compressor.h"

#include <zlib.h>

namespace kelvo::pack {

namespace {

// zlib's stream, ended whatever happens.
class DeflateStream {
public:
    DeflateStream() { ready = deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) == Z_OK; }
    ~DeflateStream() {
        if (ready) deflateEnd(&stream);
    }
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;

    z_stream stream{};
    bool ready = false;
};

}  // namespace

Bytes ZlibCompressor::deflate(const Bytes& data) const {
    DeflateStream deflater;
    if (!deflater.ready || data.size() > 0xFFFFFFFFu) return {};
    z_stream& stream = deflater.stream;
    Bytes out(deflateBound(&stream, static_cast<uLong>(data.size())));
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    // deflateBound leaves room for the whole input in one call.
    if (::deflate(&stream, Z_FINISH) != Z_STREAM_END) return {};
    out.resize(stream.total_out);
    return out;
}

}  // namespace kelvo::pack
