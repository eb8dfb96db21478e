// What the web page shows of a file, as JSON: attributes one level at a time under ids handed out
// as they are first sent, searches of the module's name and address indexes that lead from the top
// of the tree down to each object found, and the records of a draw file. The server answers the
// page's requests from it; the page written with its data holds all of it at once.
#pragma once

#include "options.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace view {

class WebData
{
public:
    using json = nlohmann::json;

    WebData();
    ~WebData();
    WebData(const WebData&) = delete;
    WebData& operator=(const WebData&) = delete;

    // Reads a scene file, or a draw file whole, building at most `maxAttributes` attributes.
    // False when nothing could be read; complete() tells whether all of it was.
    bool read(const std::string& fileName, unsigned long long maxAttributes);
    bool complete() const { return m_complete; }
    bool isDraw() const { return m_draw.has_value(); }
    unsigned long long attributes() const { return m_attributes; }

    // The file: its kind and name, whether it was read whole, its attribute count; a scene's root
    // (as a node), a draw file's record count and frames ([frame, first record, records] each, one
    // per run of records of one frame).
    json info();
    // Children `offset` to `offset + limit` of the attribute with this id, as nodes; false for an
    // id not handed out.
    bool children(unsigned int id, size_t offset, size_t limit, json& out);
    // The objects at the address that the text gives in hexadecimal, then those whose indexed name
    // holds the text (case-insensitive); a text with "0x" first is an address only. At most `limit`.
    json find(const std::string& text, size_t limit);
    // Draw files: summaries of records `offset` to `offset + limit`, and one record with its objects.
    json records(size_t offset, size_t limit) const;
    bool record(size_t index, json& out);
    // Everything the page needs to work without a server.
    json whole();

    // A node: id, name, type, value; "adv", "tip", "errors" ([level, message] each) and "addr" (the
    // host address of an object that stands for one) when there are any; "n" children, of which
    // "nb" are not advanced.
    json node(const akDebugAttributeBase* attribute);

    // A text parsed as an address for the search: up to eight hexadecimal digits, with or without
    // "0x". `only` tells that the "0x" was there, so that the text is not also a name.
    static bool parseAddress(const std::string& text, unsigned int& address, bool& only);

private:
    const akDebug& stream() const;
    unsigned int idOf(const akDebugAttributeBase* attribute);
    json recordSummary(size_t index) const;
    // The way from the top of the tree (the root, or a record's object) down to `object`: the
    // attributes along the first parents with the position of each in its parent. False when the
    // object stands in no tree the page shows.
    bool wayTo(const akDebugObject* object, std::vector<std::pair<const akDebugAttributeBase*, unsigned int>>& way,
               int& record) const;
    json result(const akDebugObject* object);

    std::optional<akDebugScene> m_scene;
    std::optional<akDebugDraw> m_draw;
    std::string m_fileName;
    bool m_complete = false;
    unsigned long long m_attributes = 0;
    std::vector<RecordView> m_records;
    // The record that holds each object at the top of a record's trees.
    std::unordered_map<const akDebugAttributeBase*, unsigned int> m_recordOf;
    std::vector<const akDebugAttributeBase*> m_byId;
    std::unordered_map<const akDebugAttributeBase*, unsigned int> m_ids;
};

}  // namespace view
