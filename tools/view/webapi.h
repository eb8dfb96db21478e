// The web page's data: the answers of the server's API (GET /api/ROUTE?NAME=VALUE&...), as JSON.
// The server answers the page's requests with them; a page written with its data (--html) holds
// the answers to every request the page can make of the file, keyed as the page makes them, and
// runs the same script over them.
//
// Routes: each a method below and an entry in routes(), which the server serves under /api/ and the
// written page asks in order. A new route is one more of each (and, for the written page, what it
// asks of it).
//   info                      the file: kind, name, whether it was read whole, attribute count,
//                             the batch of children and records a request gives, the most results
//                             find gives; a scene's root (a node), a draw file's record count and
//                             frames ([frame, first record, records] each)
//   records?offset&limit      draw files: records, without their objects
//   record?index              draw files: one record with its objects (nodes)
//   children?id&offset&limit  children of the attribute with this id, as nodes
//   find?q                    objects at the address that q gives in hexadecimal, then those whose
//                             indexed name holds q (any case); "0x" first: an address only
//   searchable                every object find can give, with what find compares: what a page
//                             with its data searches, having no server
//   geometry?frame            draw files: what frame N drew, as a geometry pack (drawpack.h, binary)
//   geometry[?node]           scene files: the scene below the node with this id (all of it without
//                             one), as a geometry pack whose items' keys are the nodes' ids
//   reveal?id                 scene files: the node with this id as find gives a result, with its
//                             way down from the root
//   changes?index             draw files: what a draw changed in the state since its baseline, as
//                             {"index":N,"changes":...} (the "changes" of jsonshape.h; null for a
//                             record that is no draw)
//   stats                     the file's statistics, as --stats --json gives them (stats.h)
//   diff                      with compareWith: the difference of the two recordings (drawdiff.h)
// Binary answers travel in a page written with its data as base64 texts; geometry beyond the
// written page's share is left out of it.
// Nodes have the shape of jsonshape.h, with "id" (handed out as an attribute is first sent) and,
// for a node with children, "childCount" and "basicChildCount" (those that are not advanced).
#pragma once

#include "compare.h"
#include "heldrecords.h"
#include "options.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace view {

class JsonText;
namespace geometry {
class Pack;
}

class WebApi
{
public:
    using Params = std::map<std::string, std::string>;
    using Ask = std::function<void(const Params& request)>;
    struct Answer
    {
        int status = 200;
        std::string json;  // or the bytes of a binary answer
        bool binary = false;
    };
    struct Route
    {
        const char* name;
        Answer (WebApi::*answer)(const Params& params);
        // Asks every request the page makes of the route, whose answers the page written with its
        // data holds; null for a route it does not hold (find: a page with its data searches what
        // searchable gives).
        void (WebApi::*requests)(const Ask& ask);
    };
    static const std::vector<Route>& routes();

    WebApi();
    ~WebApi();
    WebApi(const WebApi&) = delete;
    WebApi& operator=(const WebApi&) = delete;

    // Reads a scene file, or a draw file whole, building at most `maxAttributes` attributes (in a
    // draw file's records together, counting each subtree they share in every record), with its
    // progress shown on a terminal. False when nothing could be read, or when the file was refused
    // for passing the limit: then refusal() says so, and nothing of it is shown. complete() tells
    // whether all of it was read.
    bool read(const std::string& fileName, unsigned long long maxAttributes);
    bool complete() const { return m_complete; }
    const std::string& refusal() const { return m_refusal; }
    // Reads another draw file and makes the difference of this one from it, which the page shows
    // (webanalysis.cpp). False, with the reason on stderr, when either is no draw file or cannot be
    // read.
    bool compareWith(const std::string& fileName, unsigned long long maxAttributes, double tolerance);
    unsigned long long attributes() const { return m_attributes; }

    // The answer to a request of a route (404 for a route that is not there).
    Answer answer(const std::string& route, const Params& params);
    // Makes the geometry the page draws first (a draw file's first frame), so that the page's
    // first request for it is answered at once.
    void prepareGeometry();
    // Every answer the page can ask for, as one JSON object keyed as the page asks: the route, "?",
    // then the parameters in name order as NAME=VALUE joined with "&" (values URI-encoded). In the
    // order of routes() and of their requests, as a server asked in that order answers them.
    std::string written();

private:
    Answer info(const Params& params);
    Answer children(const Params& params);
    Answer find(const Params& params);
    Answer records(const Params& params);
    Answer record(const Params& params);
    Answer searchable(const Params& params);
    Answer geometry(const Params& params);
    Answer reveal(const Params& params);
    void geometryRequests(const Ask& ask);
    void revealRequests(const Ask& ask);
    Answer changes(const Params& params);
    Answer stats(const Params& params);
    Answer diff(const Params& params);
    void changesRequests(const Ask& ask);
    void once(const Ask& ask);
    void childrenRequests(const Ask& ask);
    void recordsRequests(const Ask& ask);
    void recordRequests(const Ask& ask);

    void writeNode(JsonText& out, const akDebugAttributeBase* attribute);
    // An object found, as find gives it (name, type, value, path, the way down from the top as
    // [id, position in the parent] each, the record), or false when it stands in no tree shown.
    bool writeResult(JsonText& out, const Found& found);
    // The objects whose name the query matches, below the tops.
    void findNamed(const NameQuery& query, const std::function<bool(const Found&)>& visit);
    void writeRecord(JsonText& out, size_t index);
    unsigned int idOf(const akDebugAttributeBase* attribute);
    const akDebug& stream() const;

    std::optional<akDebugScene> m_scene;
    // A draw file's records, sharing what the file repeats (heldrecords.h).
    std::unique_ptr<HeldRecords> m_draw;
    std::string m_fileName, m_refusal;
    bool m_complete = false;
    unsigned long long m_attributes = 0;
    std::vector<RecordView> m_records;
    // The trees the page shows: a scene's root, or every record's objects.
    Tops m_tops;
    // The last geometry pack made, and the request it answers; a draw file's first frame, gathered
    // while it was read, until it is made.
    std::string m_packKey, m_pack;
    std::unique_ptr<geometry::Pack> m_firstFrame;
    // The ids of a scene's nodes, in the order its whole geometry lists them.
    std::vector<unsigned int> m_sceneIds;
    std::vector<const akDebugAttributeBase*> m_byId;
    std::unordered_map<const akDebugAttributeBase*, unsigned int> m_ids;
    // The answers of the analyses, made once; the comparison of states, which remembers pairs of
    // the file's objects.
    std::string m_stats, m_diff, m_compareFile;
    std::unique_ptr<ValueCompare> m_stateCompare;
};

}  // namespace view
