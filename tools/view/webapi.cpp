#include "webapi.h"

#include "compressed.h"
#include "drawpack.h"
#include "jsonshape.h"
#include "reading.h"

#include <akdebugattributename.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unordered_set>

namespace view {

namespace {

// Children and records a request hands out by default (the page's batch) and at most; search
// results at most; the longest search text.
constexpr size_t s_batch = 500;
constexpr size_t s_maxBatch = 5000;
constexpr size_t s_maxResults = 200;
constexpr size_t s_maxQuery = 1024;
// The most geometry a page written with its data holds, in bytes of packs.
constexpr size_t s_writtenGeometry = size_t(48) << 20;

WebApi::Answer refused(int status, const char* why)
{
    JsonText out(false);
    out.raw("{\"error\":").text(why).raw("}");
    return {status, std::move(out.out)};
}

// A whole number of a request (`fallback` when it is not given); false when it is not one.
bool number(const WebApi::Params& params, const char* name, size_t fallback, size_t& value)
{
    auto found = params.find(name);
    if (found == params.end()) {
        value = fallback;
        return true;
    }
    const std::string& given = found->second;
    if (given.empty() || given.size() > 10 ||
        !std::all_of(given.begin(), given.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return false;
    value = std::stoull(given);
    return true;
}

// The name attribute that entered an object in its type's name index: the first one in the
// object's own fields and class levels, not in the other host objects it holds.
const emBaseName* nameOf(const akDebugAttributeBase* object)
{
    std::vector<const akDebugAttributeBase*> stack(1, object);
    while (!stack.empty()) {
        const akDebugAttributeBase* at = stack.back();
        stack.pop_back();
        if (const auto* name = dynamic_cast<const emBaseName*>(at))
            return name;
        const auto* other = dynamic_cast<const akDebugObject*>(at);
        if (at != object && other && other->hasAddress())
            continue;
        for (auto it = at->end_child(); it != at->begin_child();)
            stack.push_back(*--it);
    }
    return nullptr;
}

// True when the text holds a control character: C0, DEL, or C1 in UTF-8 (which a name search
// would otherwise take as the end of the text, or match nowhere visible).
bool hasControl(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F || (c == 0xC2 && i + 1 < text.size() && (text[i + 1] & 0xE0) == 0x80))
            return true;
    }
    return false;
}

// A value as encodeURIComponent writes it.
std::string uriEncoded(const std::string& value)
{
    std::string out;
    for (unsigned char c : value) {
        if (std::isalnum(c) || std::strchr("-_.!~*'()", c)) {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

// What tells one place of a search result from another: the object, or, in trees that share
// subtrees (and records that share their objects), its top and its way down from there.
std::string placeOf(const Found& found)
{
    std::vector<uintptr_t> words(1, reinterpret_cast<uintptr_t>(found.object));
    if (found.way) {
        words[0] = found.top;
        for (const akDebugAttributeBase* at : *found.way)
            words.push_back(reinterpret_cast<uintptr_t>(at));
    }
    return std::string(reinterpret_cast<const char*>(words.data()), words.size() * sizeof(uintptr_t));
}

std::string requestKey(const char* route, const WebApi::Params& params)
{
    std::string key = std::string(route) + "?";
    for (const auto& param : params)
        key += (key.back() == '?' ? "" : "&") + param.first + "=" + uriEncoded(param.second);
    return key;
}

}  // namespace

const std::vector<WebApi::Route>& WebApi::routes()
{
    static const std::vector<Route> table = {
        {"info", &WebApi::info, &WebApi::once},
        {"records", &WebApi::records, &WebApi::recordsRequests},
        {"record", &WebApi::record, &WebApi::recordRequests},
        {"children", &WebApi::children, &WebApi::childrenRequests},
        {"find", &WebApi::find, nullptr},
        {"searchable", &WebApi::searchable, &WebApi::once},
        {"geometry", &WebApi::geometry, &WebApi::geometryRequests},
        {"reveal", &WebApi::reveal, &WebApi::revealRequests},
        {"changes", &WebApi::changes, &WebApi::changesRequests},
        {"stats", &WebApi::stats, &WebApi::once},
        {"diff", &WebApi::diff, &WebApi::once},
    };
    return table;
}

WebApi::WebApi() = default;

WebApi::~WebApi() = default;

bool WebApi::read(const std::string& fileName, unsigned long long maxAttributes)
{
    m_fileName = fileName;
    if (kindOf(fileName.c_str()) == FileKind::Draw) {
        m_draw = std::make_unique<HeldRecords>();
        // The frame the page draws first, gathered while its records are fresh from reading.
        m_firstFrame = std::make_unique<geometry::Pack>();
        const bool read = m_draw->read(fileName, maxAttributes, [&](const RecordView& view) {
            if (view.record->frame == m_draw->records().front().record->frame)
                geometry::addRecord(*m_firstFrame, view.index, *view.record);
        });
        m_refusal = m_draw->refusal();
        if (!m_refusal.empty())
            return false;
        m_complete = m_draw->complete();
        m_attributes = m_draw->attributes();
        m_records = m_draw->records();
        m_tops = m_draw->tops();
        return read;
    }
    m_scene.emplace();
    m_scene->setMaxAttributes(maxAttributes);
    {
        ReadProgress progress(*m_scene, fileName);
        m_scene->read(fileName.c_str());
    }
    m_refusal = refusalOf(*m_scene, fileName);
    if (!m_refusal.empty())
        return false;
    m_complete = !m_scene->hasReadFailed() && m_scene->getRoot();
    m_attributes = m_scene->getNumAttributesHeld();
    if (m_scene->getRoot())
        m_tops.add(m_scene->getRoot());
    return m_scene->getRoot() != nullptr;
}

const akDebug& WebApi::stream() const
{
    if (m_draw)
        return m_draw->stream();
    return *m_scene;
}

void WebApi::findNamed(const NameQuery& query, const std::function<bool(const Found&)>& visit)
{
    if (m_draw)
        m_draw->findByName(query, visit);
    else
        findByName(stream(), query, m_tops, visit);
}

unsigned int WebApi::idOf(const akDebugAttributeBase* attribute)
{
    auto found = m_ids.emplace(attribute, static_cast<unsigned int>(m_byId.size()));
    if (found.second)
        m_byId.push_back(attribute);
    return found.first->second;
}

WebApi::Answer WebApi::answer(const std::string& route, const Params& params)
{
    for (const Route& each : routes())
        if (route == each.name)
            return (this->*each.answer)(params);
    return refused(404, "no such route");
}

std::string WebApi::written()
{
    // Routes in order, each request answered as it is made: ids are handed out as a server asked in
    // this order would hand them out, and the children of every attribute handed out are asked for.
    JsonText out(false);
    out.raw("{");
    for (const Route& route : routes())
        if (route.requests)
            (this->*route.requests)([&](const Params& request) {
                const Answer answer = (this->*route.answer)(request);
                if (answer.status != 200)
                    return;
                out.raw(out.out.size() > 1 ? ",\n" : "\n").text(requestKey(route.name, request)).raw(":");
                if (answer.binary)
                    out.raw("\"").raw(base64(answer.json)).raw("\"");
                else
                    out.raw(answer.json);
            });
    out.raw("}");
    return std::move(out.out);
}

void WebApi::once(const Ask& ask) { ask(Params()); }

void WebApi::writeNode(JsonText& out, const akDebugAttributeBase* attribute)
{
    out.raw("{\"id\":").number(idOf(attribute)).raw(",").nodeMembers(attribute);
    if (!attribute->empty_child()) {
        unsigned int basic = 0;
        for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
            basic += !akDebugAttributeBase::isAdvanced(*it);
        out.raw(",\"childCount\":").number(attribute->size_child()).raw(",\"basicChildCount\":").number(basic);
    }
    out.raw("}");
}

WebApi::Answer WebApi::info(const Params&)
{
    JsonText out(false);
    out.raw("{\"kind\":")
        .text(m_draw ? "draw" : "scene")
        .raw(",\"file\":")
        .text(m_fileName)
        .raw(",\"complete\":")
        .boolean(m_complete)
        .raw(",\"attributes\":")
        .number(m_attributes)
        .raw(",\"batch\":")
        .number(s_batch)
        .raw(",\"maxResults\":")
        .number(s_maxResults);
    if (!m_compareFile.empty())
        out.raw(",\"compare\":").text(m_compareFile);
    if (m_scene) {
        out.raw(",\"root\":");
        writeNode(out, m_scene->getRoot());
    } else {
        out.raw(",\"records\":").number(m_records.size()).raw(",\"frames\":[");
        for (size_t i = 0, first = 0; i < m_records.size(); ++i)
            if (i + 1 == m_records.size() || m_records[i + 1].record->frame != m_records[i].record->frame) {
                out.raw(first ? ",[" : "[")
                    .number(m_records[i].record->frame)
                    .raw(",")
                    .number(first)
                    .raw(",")
                    .number(i + 1 - first)
                    .raw("]");
                first = i + 1;
            }
        out.raw("]");
    }
    out.raw("}");
    return {200, std::move(out.out)};
}

WebApi::Answer WebApi::children(const Params& params)
{
    size_t id = 0, offset = 0, limit = 0;
    if (!params.count("id") || !number(params, "id", 0, id) || !number(params, "offset", 0, offset) ||
        !number(params, "limit", s_batch, limit))
        return refused(400, "children: id, offset and limit are whole numbers");
    if (id >= m_byId.size())
        return refused(404, "children: no attribute has this id");
    const akDebugAttributeBase* parent = m_byId[id];
    const size_t total = parent->size_child();
    JsonText out(false);
    out.raw("{\"id\":").number(id).raw(",\"total\":").number(total).raw(",\"offset\":").number(offset);
    out.raw(",\"children\":[");
    for (size_t i = offset; i < total && i - offset < std::min(limit, s_maxBatch); ++i) {
        out.raw(i > offset ? "," : "");
        writeNode(out, parent->begin_child()[i]);
    }
    out.raw("]}");
    return {200, std::move(out.out)};
}

void WebApi::childrenRequests(const Ask& ask)
{
    // Answering hands out the children's ids, which come next.
    for (size_t id = 0; id < m_byId.size(); ++id)
        for (size_t offset = 0; offset < m_byId[id]->size_child(); offset += s_batch)
            ask({{"id", std::to_string(id)}, {"limit", std::to_string(s_batch)}, {"offset", std::to_string(offset)}});
}

bool WebApi::writeResult(JsonText& out, const Found& found)
{
    const std::vector<const akDebugAttributeBase*> way =
        found.way ? *found.way : lineage(found.object, m_tops.top(found.top));
    if (way.empty())
        return false;
    const emBaseName* name = nameOf(found.object);
    const Node described = describe(found.object);
    out.raw("{")
        .textMember("name", name ? name->getValue().c_str() : "", true)
        .raw(",\"type\":")
        .text(described.type)
        .textMember("value", described.value.c_str())
        .textMember("path", pathOf(m_tops, found).c_str());
    if (m_tops.record(found.top) >= 0)
        out.raw(",\"record\":").number(static_cast<unsigned int>(m_tops.record(found.top)));
    out.raw(",\"way\":[");
    for (size_t i = 0; i < way.size(); ++i)
        out.raw(i ? ",[" : "[").number(idOf(way[i])).raw(",").number(i ? positionIn(way[i - 1], way[i]) : 0).raw("]");
    out.raw("]}");
    return true;
}

WebApi::Answer WebApi::find(const Params& params)
{
    auto q = params.find("q");
    const std::string text = q == params.end() ? std::string() : q->second;
    if (text.empty() || text.size() > s_maxQuery || hasControl(text))
        return refused(400, "find: q is a name or an address, of 1 to 1024 bytes without control characters");
    JsonText out(false);
    out.raw("{\"results\":[");
    std::unordered_set<std::string> seen;
    size_t results = 0;
    bool more = false;
    // False once the limit is reached.
    const auto add = [&](const Found& found) {
        if (!seen.insert(placeOf(found)).second)
            return true;
        if (results >= s_maxResults) {
            more = true;
            return false;
        }
        const size_t before = out.out.size();
        out.raw(results ? "," : "");
        if (writeResult(out, found))
            ++results;
        else
            out.out.resize(before);
        return true;
    };
    unsigned int address = 0;
    bool addressOnly = false;
    if (parseAddress(text, address, addressOnly))
        findByAddress(m_tops, address, add);
    if (!addressOnly && !more)
        findNamed({text, false, false}, add);
    out.raw("],\"more\":").boolean(more).raw("}");
    return {200, std::move(out.out)};
}

WebApi::Answer WebApi::searchable(const Params&)
{
    JsonText out(false);
    std::unordered_map<std::string, size_t> results;
    std::string byAddress, byName;
    out.raw("{\"results\":[");
    const auto resultOf = [&](const Found& found, size_t& index) {
        const std::string place = placeOf(found);
        auto known = results.find(place);
        if (known != results.end()) {
            index = known->second;
            return true;
        }
        const size_t before = out.out.size();
        out.raw(results.empty() ? "" : ",");
        if (!writeResult(out, found)) {
            out.out.resize(before);
            return false;
        }
        index = results.size();
        results.emplace(place, index);
        return true;
    };
    size_t index = 0;
    findPlaces(m_tops, [&](const Found& found) {
        if (resultOf(found, index))
            byAddress += (byAddress.empty() ? "[" : ",[") + std::to_string(found.object->getValue()) + "," +
                std::to_string(index) + "]";
        return true;
    });
    findNamed({}, [&](const Found& found) {
        const emBaseName* name = nameOf(found.object);
        if (name && resultOf(found, index)) {
            JsonText entry(false);
            entry.raw(byName.empty() ? "[" : ",[").text(name->getLowerCase()).raw(",").number(index).raw("]");
            byName += entry.out;
        }
        return true;
    });
    out.raw("],\"byAddress\":[").raw(byAddress).raw("],\"byName\":[").raw(byName).raw("]}");
    return {200, std::move(out.out)};
}

void WebApi::writeRecord(JsonText& out, size_t index) { out.raw("{").recordMembers(m_records[index]); }

WebApi::Answer WebApi::records(const Params& params)
{
    size_t offset = 0, limit = 0;
    if (!m_draw)
        return refused(404, "records: a scene file has no records");
    if (!number(params, "offset", 0, offset) || !number(params, "limit", s_batch, limit))
        return refused(400, "records: offset and limit are whole numbers");
    JsonText out(false);
    out.raw("{\"total\":").number(m_records.size()).raw(",\"offset\":").number(offset).raw(",\"records\":[");
    for (size_t i = offset; i < m_records.size() && i - offset < std::min(limit, s_maxBatch); ++i) {
        out.raw(i > offset ? "," : "");
        writeRecord(out, i);
        out.raw("}");
    }
    out.raw("]}");
    return {200, std::move(out.out)};
}

void WebApi::recordsRequests(const Ask& ask)
{
    // As the page asks for them: frame by frame, a batch at a time.
    for (size_t first = 0, i = 0; i < m_records.size(); ++i) {
        if (i + 1 < m_records.size() && m_records[i + 1].record->frame == m_records[i].record->frame)
            continue;
        const size_t count = i + 1 - first;
        for (size_t offset = 0; offset < count; offset += s_batch)
            ask({{"limit", std::to_string(std::min(s_batch, count - offset))},
                 {"offset", std::to_string(first + offset)}});
        first = i + 1;
    }
}

WebApi::Answer WebApi::record(const Params& params)
{
    size_t index = 0;
    if (!params.count("index") || !number(params, "index", 0, index))
        return refused(400, "record: index is a whole number");
    if (index >= m_records.size())
        return refused(404, "record: no record has this index");
    JsonText out(false);
    writeRecord(out, index);
    out.raw(",\"objects\":[");
    const std::vector<const akDebugObject*> objects = m_records[index].objects();
    for (size_t i = 0; i < objects.size(); ++i) {
        out.raw(i ? "," : "");
        writeNode(out, objects[i]);
    }
    out.raw("]}");
    return {200, std::move(out.out)};
}

void WebApi::recordRequests(const Ask& ask)
{
    for (size_t index = 0; index < m_records.size(); ++index)
        ask({{"index", std::to_string(index)}});
}

WebApi::Answer WebApi::geometry(const Params& params)
{
    size_t frame = 0, node = 0;
    const bool byFrame = params.count("frame") > 0, byNode = params.count("node") > 0;
    if ((m_draw && !byFrame) || (m_scene && byFrame) || !number(params, "frame", 0, frame) ||
        !number(params, "node", 0, node))
        return refused(400, "geometry: a draw file's by frame, a scene's whole or below a node's id");
    const std::string key = requestKey("geometry", params);
    if (key == m_packKey)
        return {200, m_pack, true};
    geometry::Pack pack;
    if (m_draw) {
        bool any = false;
        for (const RecordView& view : m_records)
            if (view.record->frame == frame) {
                any = true;
                geometry::addRecord(pack, view.index, *view.record);
            }
        if (!any)
            return refused(404, "geometry: no record has this frame");
        m_pack = pack.serialize({{"kind", "frame"}, {"frame", frame}});
    } else {
        const akDebugAttributeBase* below = nullptr;
        if (byNode && (node >= m_byId.size() || !dynamic_cast<const akDebugObject*>(below = m_byId[node])))
            return refused(404, "geometry: no object has this id");
        std::vector<unsigned int> ids;
        geometry::addScene(pack, m_scene->getRoot(), below, [&](const akDebugObject* at) {
            ids.push_back(idOf(at));
            return ids.back();
        });
        if (!below)
            m_sceneIds = std::move(ids);
        m_pack = pack.serialize({{"kind", "scene"}});
    }
    m_packKey = key;
    return {200, m_pack, true};
}

void WebApi::prepareGeometry()
{
    // A scene's pack hands out the ids of its nodes, which go in the order the page asks: only a
    // draw file's first frame is made in advance.
    if (!m_draw || m_records.empty() || !m_firstFrame)
        return;
    const unsigned int frame = m_records.front().record->frame;
    m_pack = m_firstFrame->serialize({{"kind", "frame"}, {"frame", frame}});
    m_packKey = requestKey("geometry", {{"frame", std::to_string(frame)}});
    m_firstFrame.reset();
}

void WebApi::geometryRequests(const Ask& ask)
{
    if (m_scene) {
        if (m_scene->getRoot())
            ask({});
        return;
    }
    // Frame by frame while the page has room for them.
    size_t written = 0;
    for (size_t i = 0; i < m_records.size(); ++i)
        if (i == 0 || m_records[i].record->frame != m_records[i - 1].record->frame) {
            const Params request{{"frame", std::to_string(m_records[i].record->frame)}};
            if (requestKey("geometry", request) == m_packKey)
                continue;  // a frame met again
            const Answer answer = geometry(request);
            written += answer.json.size();
            if (written > s_writtenGeometry)
                return;
            ask(request);
        }
}

WebApi::Answer WebApi::reveal(const Params& params)
{
    size_t id = 0;
    if (!m_scene || !params.count("id") || !number(params, "id", 0, id))
        return refused(400, "reveal: a scene's node by its id");
    const auto* object = id < m_byId.size() ? dynamic_cast<const akDebugObject*>(m_byId[id]) : nullptr;
    JsonText out(false);
    if (!object || !writeResult(out, {object, 0}))
        return refused(404, "reveal: no node of the scene has this id");
    return {200, std::move(out.out)};
}

void WebApi::revealRequests(const Ask& ask)
{
    // The nodes of the written scene, as its geometry lists them.
    if (m_scene && m_scene->getRoot() && m_sceneIds.empty())
        geometry({});
    for (unsigned int id : m_sceneIds)
        ask({{"id", std::to_string(id)}});
}

}  // namespace view
