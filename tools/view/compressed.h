// Embedded files kept gzip-compressed (the large third-party scripts): told apart by the gzip magic
// bytes, which no text file of the page starts with, served as they are with Content-Encoding:
// gzip, and inflated where the viewer writes them into a page of its own; and base64, which the
// written page holds binary answers in.
#pragma once

#include <cstddef>
#include <string>

namespace view {

bool isGzip(const unsigned char* data, size_t size);
// The inflated content; false when the data is not a whole gzip stream.
bool gunzip(const unsigned char* data, size_t size, std::string& out);
std::string base64(const std::string& bytes);

}  // namespace view
