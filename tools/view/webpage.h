// The web page from its embedded files: as the server serves it (each style and script a file of
// its own, asked for by name), and as one file with its data (--html: every style and script
// written into the page, the API's answers in it).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace view {

struct WebFile
{
    std::string name;
    std::string_view content;
    const char* type;  // the Content-Type it is served with
    // The content is gzip-compressed (the large third-party scripts): served as it is with
    // Content-Encoding: gzip, inflated where the page is written with its data.
    bool gzip = false;
};

// The page's files, the page itself first under the name "index.html".
const std::vector<WebFile>& webFiles();

// The Content-Security-Policy that the server sends with every answer: the page runs its own
// script files alone, no inline script or style, and reads data from its server alone.
std::string servedPolicy();

// The page with its styles and scripts inline and `answers` (WebApi::written) as its data. Every
// '<' of the data is escaped, so that no text from a file can end the element that holds it. Its
// policy, in a <meta> element, allows exactly those inline scripts and styles, by their SHA-256
// hashes, and reads no data from anywhere.
std::string pageWithData(const std::string& answers);

}  // namespace view
