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
// gives "records", each with its index, frame, redundant mark, kind, name, for a draw what changed
// in the state since its baseline ("changes", records.h and jsonshape.h), and its four objects
// ("channelBin", "cullRecord", "geometry", "drawContext"; null where the record holds none). With
// --find, "found" lists the objects found, each with its path (and, in a draw file, its record) and
// its tree. "complete" is false when the file could not be read whole; the document is still
// closed, so what was read can be parsed.
//
// JSON Lines (--jsonl): the same attributes, one JSON object per line, each a document of its own,
// so that any JSON reader takes them whatever the depth of the tree, and a file of any size can be
// filtered line by line. The first line names the file and its kind, the last tells whether it
// was read whole; a draw file's record is a line of its own before its attributes:
//
//   {"file":"a.draw","kind":"draw"}
//   {"index":3,"frame":0,"redundant":true,"kind":"Geometry","name":""}
//   {"id":17,"parent":null,"depth":0,"record":3,"name":"Geometry","type":"olGeometry *",...,"errors":[]}
//   {"id":18,"parent":17,"depth":1,"record":3,"name":"olGeometry",...}
//   ...
//   {"complete":true}
//
// Ids count the attributes written, from 0; "parent" is the id of the attribute above (null for a
// scene's root and a record's objects); "record" is there for draw files only.
//
// Nodes and records have the shape that jsonshape.h gives them, the web page's data too. Control
// characters and everything beyond ASCII become escapes, and bytes that are not UTF-8 become
// U+FFFD, so no text from a file reaches the output raw; a name, value or path that holds such
// bytes is also given as its bytes in hexadecimal ("nameBytes":"4361666520ff"), so nothing is lost.
#include "jsonshape.h"
#include "options.h"
#include "reading.h"
#include "search.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace view {

namespace {

// The document, made in a buffer of its own and written to standard output in large pieces. A pipe
// is given room for as much, so that a reader at its other end is woken less often.
class Document : public JsonText
{
public:
    Document() : JsonText(true), m_buffer(2 * s_flushSize)
    {
        struct stat info;
        if (fstat(STDOUT_FILENO, &info) == 0 && S_ISFIFO(info.st_mode))
            fcntl(STDOUT_FILENO, F_SETPIPE_SZ, static_cast<int>(s_flushSize));
    }
    ~Document() override { flush(); }
    // Called between pieces: writes what is held once there is enough of it.
    void pass()
    {
        if (m_size >= s_flushSize)
            flush();
    }
    // False when the output could not be written.
    bool finish()
    {
        flush();
        return std::fflush(stdout) == 0 && !std::ferror(stdout);
    }

protected:
    void append(const char* piece, size_t length) override
    {
        std::memcpy(reserve(length), piece, length);
        m_size += length;
    }
    char* reserve(size_t room) override
    {
        if (m_size + room > m_buffer.size())
            flush();
        if (room > m_buffer.size())
            m_buffer.resize(room);
        return m_buffer.data() + m_size;
    }
    void commit(const char* end) override { m_size = static_cast<size_t>(end - m_buffer.data()); }

private:
    void flush()
    {
        if (m_size)
            std::fwrite(m_buffer.data(), 1, m_size, stdout);
        m_size = 0;
    }
    static constexpr size_t s_flushSize = 1 << 20;
    std::vector<char> m_buffer;
    size_t m_size = 0;
};

// Writes the attributes that a walk from `root` visits, one per line, or "null" when it visits
// none (an advanced root without --advanced).
void writeTree(Document& out, const akDebugAttributeBase* root, const WalkOptions& options)
{
    // Per depth: whether a child was written at that depth under the current parent.
    std::vector<bool> written;
    walkAttributes(
        root, options,
        [&](const akDebugAttributeBase* attribute, int depth) {
            if (written.size() <= static_cast<size_t>(depth))
                written.resize(static_cast<size_t>(depth) + 1);
            out.raw(written[depth] ? ",\n{" : "\n{");
            written[depth] = true;
            if (written.size() > static_cast<size_t>(depth) + 1)
                written[depth + 1] = false;
            out.nodeMembers(attribute).raw(",\"children\":[");
            out.pass();
            return true;
        },
        [&](const akDebugAttributeBase*, int) { out.raw("]}"); });
    if (written.empty())
        out.raw("null");
}

// The objects found below the tops, each as its path (and, in a draw file, its record) and its tree.
void writeFound(Document& out, const akDebug& stream, const Options& options, const Tops& tops, unsigned int& found)
{
    findByName(stream, options.query, tops, [&](const Found& each) {
        out.raw(found++ ? ",\n{" : "\n{");
        if (tops.record(each.top) >= 0)
            out.raw("\"record\":").number(static_cast<unsigned int>(tops.record(each.top))).raw(",");
        out.textMember("path", pathOf(tops, each).c_str(), true).raw(",\"object\":");
        writeTree(out, each.object, options.walk);
        out.raw("}");
        return true;
    });
}

int writeScene(Document& out, const Options& options, FileKind kind)
{
    akDebugScene scene;
    if (kind == FileKind::Scene)
        readScene(scene, options.file, options.maxAttributes);
    const akDebugObject* root = scene.getRoot();
    out.raw("{\"file\":").text(options.file).raw(",\"kind\":").raw(kind == FileKind::Scene ? "\"scene\"" : "null");
    if (options.mode == Mode::Find) {
        unsigned int found = 0;
        out.raw(",\"find\":").text(options.query.text).raw(",\"found\":[");
        if (root) {
            Tops tops;
            tops.add(root);
            writeFound(out, scene, options, tops, found);
        }
        out.raw("]");
    } else {
        out.raw(",\"root\":");
        if (root)
            writeTree(out, root, options.walk);
        else
            out.raw("null");
    }
    const bool complete = root && !scene.hasReadFailed();
    out.raw(",\"complete\":").boolean(complete).raw("}\n");
    return complete ? 0 : 1;
}

int writeDraw(Document& out, const Options& options)
{
    akDebugDraw draw;
    draw.setMaxAttributes(options.maxAttributes);
    out.raw("{\"file\":").text(options.file).raw(",\"kind\":\"draw\"");
    if (options.mode == Mode::Find)
        out.raw(",\"find\":").text(options.query.text).raw(",\"found\":[");
    else
        out.raw(",\"records\":[");
    unsigned int records = 0, found = 0;
    ValueCompare compare = stateCompare();
    RecordsSeen seen;
    const int result = readRecords(
        draw, options.file.c_str(), options.records,
        [&](const RecordView& view) {
            if (options.mode == Mode::Find) {
                Tops tops;
                for (const akDebugObject* object : view.objects())
                    tops.add(object, static_cast<int>(view.index));
                writeFound(out, draw, options, tops, found);
            } else {
                const akDebugDraw::Record& record = *view.record;
                out.raw(records ? ",\n{" : "\n{").recordMembers(view);
                if (view.isDraw())
                    out.raw(",\"changes\":").changes(view, compare);
                const std::pair<const char*, const akDebugObject*> objects[] = {{"channelBin", record.channelBin},
                                                                                {"cullRecord", record.cullRecord},
                                                                                {"geometry", record.geometry},
                                                                                {"drawContext", record.drawContext}};
                for (const auto& object : objects) {
                    out.raw(",\"").raw(object.first).raw("\":");
                    if (object.second)
                        writeTree(out, object.second, options.walk);
                    else
                        out.raw("null");
                }
                out.raw("}");
            }
            ++records;
            return true;
        },
        &seen);
    const bool complete = result == telu::SUCCESS;
    out.raw("],\"complete\":").boolean(complete).raw("}\n");
    const bool missing = reportMissing(options.records, seen, options.file, complete);
    return complete && !missing ? 0 : 1;
}

// One line per attribute that a walk from `top` visits: its id (counted on from `nextId`), its
// parent's id (null for the top), its depth below the top, its record (`record` >= 0) and the
// members of its node.
void writeLines(Document& out, const akDebugAttributeBase* top, const WalkOptions& options, int record,
                unsigned long long& nextId)
{
    // By depth: the id of the attribute last entered there.
    std::vector<unsigned long long> ids;
    walkAttributes(top, options, [&](const akDebugAttributeBase* attribute, int depth) {
        const size_t at = static_cast<size_t>(depth);
        if (ids.size() <= at)
            ids.resize(at + 1);
        ids[at] = nextId++;
        out.raw("{\"id\":").number(ids[at]).raw(",\"parent\":");
        if (at == 0)
            out.raw("null");
        else
            out.number(ids[at - 1]);
        out.raw(",\"depth\":").number(at);
        if (record >= 0)
            out.raw(",\"record\":").number(static_cast<unsigned int>(record));
        out.raw(",").nodeMembers(attribute).raw("}\n");
        out.pass();
        return true;
    });
}

}  // namespace

int runJsonl(const Options& options)
{
    Document out;
    const FileKind kind = kindOf(options.file.c_str());
    out.raw("{\"file\":").text(options.file).raw(",\"kind\":");
    out.raw(kind == FileKind::Draw ? "\"draw\"}\n" : kind == FileKind::Scene ? "\"scene\"}\n" : "null}\n");
    unsigned long long nextId = 0;
    bool complete = false, missing = false;
    if (kind == FileKind::Draw) {
        akDebugDraw draw;
        draw.setMaxAttributes(options.maxAttributes);
        ValueCompare compare = stateCompare();
        RecordsSeen seen;
        const int result = readRecords(
            draw, options.file.c_str(), options.records,
            [&](const RecordView& view) {
                out.raw("{").recordMembers(view);
                if (view.isDraw())
                    out.raw(",\"changes\":").changes(view, compare);
                out.raw("}\n");
                for (const akDebugObject* object : view.objects())
                    writeLines(out, object, options.walk, static_cast<int>(view.index), nextId);
                return true;
            },
            &seen);
        complete = result == telu::SUCCESS;
        missing = reportMissing(options.records, seen, options.file, complete);
    } else if (kind == FileKind::Scene) {
        akDebugScene scene;
        if (readScene(scene, options.file, options.maxAttributes))
            writeLines(out, scene.getRoot(), options.walk, -1, nextId);
        complete = scene.getRoot() && !scene.hasReadFailed();
    }
    out.raw("{\"complete\":").boolean(complete).raw("}\n");
    if (!out.finish()) {
        std::fprintf(stderr, "akdebug-view: the output could not be written\n");
        return 1;
    }
    return complete && !missing ? 0 : 1;
}

int runJson(const Options& options)
{
    Document out;
    const FileKind kind = kindOf(options.file.c_str());
    int status = kind == FileKind::Draw ? writeDraw(out, options) : writeScene(out, options, kind);
    if (!out.finish()) {
        std::fprintf(stderr, "akdebug-view: the output could not be written\n");
        status = 1;
    }
    return status;
}

}  // namespace view
