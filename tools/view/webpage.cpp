#include "webpage.h"

#include "compressed.h"
#include "webfiles.h"

#include <stdexcept>

namespace view {

namespace {

const char* typeOf(const std::string& name)
{
    const std::pair<const char*, const char*> types[] = {{".html", "text/html; charset=utf-8"},
                                                         {".css", "text/css; charset=utf-8"},
                                                         {".js", "text/javascript; charset=utf-8"},
                                                         {".mjs", "text/javascript; charset=utf-8"},
                                                         {".json", "application/json"},
                                                         {".svg", "image/svg+xml"},
                                                         {".png", "image/png"}};
    for (const auto& type : types) {
        const std::string ending = type.first;
        if (name.size() > ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            return type.second;
    }
    return "application/octet-stream";
}

std::string contentOf(const std::string& name)
{
    for (const WebFile& file : webFiles())
        if (file.name == name) {
            std::string content;
            if (!file.gzip)
                content = file.content;
            else if (!gunzip(reinterpret_cast<const unsigned char*>(file.content.data()), file.content.size(), content))
                throw std::logic_error("an embedded file does not inflate: " + name);
            return content;
        }
    throw std::logic_error("the page names a file that is not embedded: " + name);
}

// `text` with every `from` replaced by `to`.
std::string replaced(std::string_view text, const std::string& from, const std::string& to)
{
    std::string out;
    for (size_t at = 0;;) {
        const size_t next = text.find(from, at);
        out.append(text.substr(at, next == std::string::npos ? std::string::npos : next - at));
        if (next == std::string::npos)
            return out;
        out += to;
        at = next + from.size();
    }
}

// Replaces each element `OPEN NAME CLOSE` of the page by `<TAG>`, the content of the embedded file
// NAME, `</TAG>`. Every "</" of the content is written "<\/" (the same in every string, template,
// regular expression and comment of a script or style), so that nothing in it ends the element;
// in a script, "<!--" is written "<\x21--" too, which would otherwise keep a later "</script>" from
// ending it.
void inlineAll(std::string& page, const std::string& open, const std::string& close, const std::string& tag)
{
    for (size_t at = 0; (at = page.find(open, at)) != std::string::npos;) {
        const size_t name = at + open.size(), closing = page.find(close, name);
        if (closing == std::string::npos)
            throw std::logic_error("the page holds an element without its end: " + open);
        std::string content = replaced(contentOf(page.substr(name, closing - name)), "</", "<\\/");
        if (tag == "script")
            content = replaced(content, "<!--", "<\\x21--");
        std::string element = "<" + tag + ">";
        element.append(content).append("</").append(tag).append(">");
        page.replace(at, closing + close.size() - at, element);
        at += element.size();
    }
}

}  // namespace

const std::vector<WebFile>& webFiles()
{
    static const std::vector<WebFile> files = [] {
        std::vector<WebFile> list;
        for (size_t i = 0; i < embeddedFileCount; ++i) {
            const EmbeddedFile& file = embeddedFiles[i];
            WebFile entry{file.name,
                          {reinterpret_cast<const char*>(file.data), file.size},
                          typeOf(file.name),
                          isGzip(file.data, file.size)};
            // The server compresses text types itself, and would compress these twice: they go out
            // under a script type it leaves alone.
            if (entry.gzip)
                entry.type = "application/javascript; charset=utf-8";
            list.insert(entry.name == "index.html" ? list.begin() : list.end(), entry);
        }
        return list;
    }();
    return files;
}

std::string pageWithData(const std::string& answers)
{
    std::string page(contentOf("index.html"));
    inlineAll(page, "<link rel=\"stylesheet\" href=\"", "\">", "style");
    inlineAll(page, "<script src=\"", "\"></script>", "script");
    static const std::string marker = "<script id=\"akdata\" type=\"application/json\">null</script>";
    const size_t at = page.find(marker);
    if (at == std::string::npos)
        throw std::logic_error("the page holds no place for its data");
    page.replace(at, marker.size(),
                 "<script id=\"akdata\" type=\"application/json\">" + replaced(answers, "<", "\\u003c") + "</script>");
    return page;
}

}  // namespace view
