#include "compressed.h"

#include <zlib.h>

namespace view {

bool isGzip(const unsigned char* data, size_t size) { return size >= 2 && data[0] == 0x1F && data[1] == 0x8B; }

bool gunzip(const unsigned char* data, size_t size, std::string& out)
{
    out.clear();
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)  // 16: a gzip header, not zlib's
        return false;
    stream.next_in = const_cast<unsigned char*>(data);
    stream.avail_in = static_cast<uInt>(size);
    int result = Z_OK;
    char buffer[1 << 16];
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<unsigned char*>(buffer);
        stream.avail_out = sizeof buffer;
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - stream.avail_out);
        if (result == Z_BUF_ERROR && stream.avail_in == 0)
            break;  // the stream ended before its end
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END && stream.avail_in == 0;
}

std::string base64(const std::string& bytes)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned int v = (static_cast<unsigned char>(bytes[i]) << 16) |
            (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
        out += {digits[v >> 18], digits[(v >> 12) & 63], digits[(v >> 6) & 63], digits[v & 63]};
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const unsigned int v =
            (static_cast<unsigned char>(bytes[i]) << 16) | (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0);
        out += {digits[v >> 18], digits[(v >> 12) & 63], two ? digits[(v >> 6) & 63] : '=', '='};
    }
    return out;
}

}  // namespace view
