// The JSON output: the tree of a scene file, or the records of a draw file, as one document that is
// written while the tree is walked (nothing of it is built in memory). Every attribute starts a line
// of its own (the root's is wrapped here):
//
//   {"file":"a.scene","kind":"scene","root":
//   {"name":"Root","type":"akScene *","value":"0x1A2B","address":"0x1A2B","addressValue":6699,
//    "advanced":false,"toolTip":null,"errors":[{"level":5,"message":"..."}],"children":[
//   {"name":"Name","type":"emString","value":"\"Cargo\"","advanced":false,"toolTip":null,"errors":[],"children":[]},
//   ...]},"complete":true}
//
// "address" and "addressValue" are there for objects that stand for a host object. A draw file
// gives "records", each with its index, frame, name, kind, redundant mark and its four objects
// ("channelBin", "cullRecord", "geometry", "drawContext"; null where the record holds none). With
// --find, "found" lists the objects found, each with its path (and, in a draw file, its record) and
// its tree. "complete" is false when the file could not be read whole; the document is still
// closed, so what was read can be parsed.
//
// Texts and numbers are made by the JSON library: control characters and everything beyond ASCII
// become escapes, and bytes that are not UTF-8 become U+FFFD, so no text from a file reaches the
// output raw.
#include "options.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace view {

namespace {

std::string text(const char* value)
{
    if (!value)
        return "null";
    return nlohmann::json(value).dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}
std::string text(const std::string& value) { return text(value.c_str()); }

template <class Number>
std::string number(Number value)
{
    return nlohmann::json(value).dump();
}

std::string boolean(bool value) { return value ? "true" : "false"; }

// Standard output, written in large pieces.
class Output
{
public:
    ~Output() { flush(); }
    Output& operator<<(const std::string& piece)
    {
        m_buffer += piece;
        if (m_buffer.size() >= s_flushSize)
            flush();
        return *this;
    }
    Output& operator<<(const char* piece) { return *this << std::string(piece); }
    // False when the output could not be written.
    bool finish()
    {
        flush();
        return std::fflush(stdout) == 0 && !std::ferror(stdout);
    }

private:
    void flush()
    {
        if (!m_buffer.empty())
            std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout);
        m_buffer.clear();
    }
    static constexpr size_t s_flushSize = 1 << 16;
    std::string m_buffer;
};

// Writes the attributes that a walk from `root` visits, one per line, or "null" when it visits
// none (an advanced root without --advanced).
void writeTree(Output& out, const akDebugAttributeBase* root, const WalkOptions& options)
{
    // Per depth: whether a child was written at that depth under the current parent.
    std::vector<bool> written;
    walk(root, options,
         {[&](const Node& node, int depth) {
              if (written.size() <= static_cast<size_t>(depth))
                  written.resize(static_cast<size_t>(depth) + 1);
              out << (written[depth] ? ",\n" : "\n");
              written[depth] = true;
              if (written.size() > static_cast<size_t>(depth) + 1)
                  written[depth + 1] = false;
              out << "{\"name\":" << text(node.name) << ",\"type\":" << text(node.type)
                  << ",\"value\":" << text(node.value);
              if (node.hasAddress) {
                  char hex[16];
                  std::snprintf(hex, sizeof hex, "0x%X", node.address);
                  out << ",\"address\":" << text(hex) << ",\"addressValue\":" << number(node.address);
              }
              out << ",\"advanced\":" << boolean(node.advanced) << ",\"toolTip\":" << text(node.toolTip)
                  << ",\"errors\":[";
              for (size_t i = 0; i < node.errors.size(); ++i)
                  out << (i ? ",{\"level\":" : "{\"level\":") << number(node.errors[i].level)
                      << ",\"message\":" << text(node.errors[i].message) << "}";
              out << "],\"children\":[";
              return true;
          },
          [&](const Node&, int) { out << "]}"; }});
    if (written.empty())
        out << "null";
}

// The objects whose name holds the query below `root`, each as its path and its tree.
void writeFound(Output& out, const akDebug& stream, const Options& options, const akDebugAttributeBase* root,
                const std::string& prefix, const std::string& fields, unsigned int& found)
{
    forEachFound(stream, options.find, options.exact, options.caseSensitive, root, prefix,
                 [&](const akDebugObject* object, const std::string& path) {
                     out << (found++ ? ",\n" : "\n") << "{" << fields << "\"path\":" << text(path) << ",\"object\":";
                     writeTree(out, object, options.walk);
                     out << "}";
                 });
}

int writeScene(Output& out, const Options& options, FileKind kind)
{
    akDebugScene scene;
    scene.setMaxAttributes(options.maxAttributes);
    scene.read(options.file.c_str());
    const akDebugObject* root = scene.getRoot();
    out << "{\"file\":" << text(options.file) << ",\"kind\":" << (kind == FileKind::Scene ? "\"scene\"" : "null");
    if (!options.find.empty()) {
        unsigned int found = 0;
        out << ",\"find\":" << text(options.find) << ",\"found\":[";
        if (root)
            writeFound(out, scene, options, root, "", "", found);
        out << "]";
    } else {
        out << ",\"root\":";
        if (root)
            writeTree(out, root, options.walk);
        else
            out << "null";
    }
    const bool complete = root && !scene.hasReadFailed();
    out << ",\"complete\":" << boolean(complete) << "}\n";
    return complete ? 0 : 1;
}

int writeDraw(Output& out, const Options& options)
{
    akDebugDraw draw;
    draw.setMaxAttributes(options.maxAttributes);
    out << "{\"file\":" << text(options.file) << ",\"kind\":\"draw\"";
    if (!options.find.empty())
        out << ",\"find\":" << text(options.find) << ",\"found\":[";
    else
        out << ",\"records\":[";
    unsigned int records = 0, found = 0;
    const int result = readRecords(draw, options.file.c_str(), options.records, [&](const RecordView& view) {
        const std::string index = number(view.index);
        if (!options.find.empty()) {
            for (const akDebugObject* object : view.objects())
                writeFound(out, draw, options, object, "Record " + index + "/" + object->getName() + "/",
                           "\"record\":" + index + ",", found);
        } else {
            const akDebugDraw::Record& record = *view.record;
            out << (records ? ",\n" : "\n") << "{\"index\":" << index << ",\"frame\":" << number(record.frame)
                << ",\"name\":" << text(record.name.c_str()) << ",\"kind\":" << text(view.kind)
                << ",\"redundant\":" << boolean(view.redundant);
            const std::pair<const char*, const akDebugObject*> objects[] = {{"channelBin", record.channelBin},
                                                                            {"cullRecord", record.cullRecord},
                                                                            {"geometry", record.geometry},
                                                                            {"drawContext", record.drawContext}};
            for (const auto& object : objects) {
                out << ",\"" << object.first << "\":";
                if (object.second)
                    writeTree(out, object.second, options.walk);
                else
                    out << "null";
            }
            out << "}";
        }
        ++records;
        return true;
    });
    const bool complete = result == telu::SUCCESS;
    out << "],\"complete\":" << boolean(complete) << "}\n";
    return complete ? 0 : 1;
}

}  // namespace

int runJson(const Options& options)
{
    Output out;
    const FileKind kind = kindOf(options.file.c_str());
    int status = kind == FileKind::Draw ? writeDraw(out, options) : writeScene(out, options, kind);
    if (!out.finish()) {
        std::fprintf(stderr, "akdebug-view: the output could not be written\n");
        status = 1;
    }
    return status;
}

}  // namespace view
