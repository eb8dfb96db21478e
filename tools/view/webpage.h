// The web page: HTML, style and script in one text, with no resource from elsewhere.
#pragma once

#include <string>

namespace view {

// The page with its data: a JSON text (the whole tree, written into the page), or "null" for a
// page that asks the server it came from. Every '<' of the data is escaped, so that no text from
// a file can end the script element that holds it.
std::string webPage(const std::string& json);

}  // namespace view
