#include "webdata.h"

#include <akdebugattributename.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unordered_set>

namespace view {

namespace {

using json = nlohmann::json;

std::string hex(unsigned int address)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", address);
    return text;
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

unsigned int positionIn(const akDebugAttributeBase* parent, const akDebugAttributeBase* child)
{
    unsigned int position = 0;
    for (auto it = parent->begin_child(); it != parent->end_child() && *it != child; ++it)
        ++position;
    return position;
}

}  // namespace

WebData::WebData() = default;

WebData::~WebData() = default;

bool WebData::read(const std::string& fileName, unsigned long long maxAttributes)
{
    m_fileName = fileName;
    if (kindOf(fileName.c_str()) == FileKind::Draw) {
        m_draw.emplace();
        m_draw->setMaxAttributes(maxAttributes);
        const int result = m_draw->read(fileName.c_str());
        m_complete = result == telu::SUCCESS && !m_draw->hasReadFailed();
        m_attributes = m_draw->getNumAttributesHeld();
        m_records = recordViews(*m_draw);
        for (const RecordView& view : m_records)
            for (const akDebugObject* object : view.objects())
                m_recordOf.emplace(object, view.index);
        return result == telu::SUCCESS || !m_records.empty();
    }
    m_scene.emplace();
    m_scene->setMaxAttributes(maxAttributes);
    m_scene->read(fileName.c_str());
    m_complete = !m_scene->hasReadFailed() && m_scene->getRoot();
    m_attributes = m_scene->getNumAttributesHeld();
    return m_scene->getRoot() != nullptr;
}

const akDebug& WebData::stream() const
{
    if (m_draw)
        return *m_draw;
    return *m_scene;
}

unsigned int WebData::idOf(const akDebugAttributeBase* attribute)
{
    auto found = m_ids.emplace(attribute, static_cast<unsigned int>(m_byId.size()));
    if (found.second)
        m_byId.push_back(attribute);
    return found.first->second;
}

json WebData::node(const akDebugAttributeBase* attribute)
{
    const Node described = describe(attribute);
    json out = {
        {"id", idOf(attribute)}, {"name", described.name}, {"type", described.type}, {"value", described.value}};
    if (described.advanced)
        out["adv"] = true;
    if (described.toolTip)
        out["tip"] = described.toolTip;
    if (!described.errors.empty()) {
        json& errors = out["errors"] = json::array();
        for (const Error& error : described.errors)
            errors.push_back({error.level, error.message ? error.message : ""});
    }
    if (described.hasAddress && described.address != 0)
        out["addr"] = hex(described.address);
    if (!attribute->empty_child()) {
        unsigned int basic = 0;
        for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
            basic += !akDebugAttributeBase::isAdvanced(*it);
        out["n"] = attribute->size_child();
        out["nb"] = basic;
    }
    return out;
}

json WebData::info()
{
    json out = {{"kind", m_draw ? "draw" : "scene"},
                {"file", m_fileName},
                {"complete", m_complete},
                {"attributes", m_attributes}};
    if (m_scene) {
        out["root"] = node(m_scene->getRoot());
        return out;
    }
    out["records"] = m_records.size();
    json& frames = out["frames"] = json::array();
    for (const RecordView& view : m_records) {
        if (frames.empty() || frames.back()[0] != view.record->frame)
            frames.push_back({view.record->frame, view.index, 0});
        json& count = frames.back()[2];
        count = count.get<unsigned int>() + 1;
    }
    return out;
}

bool WebData::children(unsigned int id, size_t offset, size_t limit, json& out)
{
    if (id >= m_byId.size())
        return false;
    const akDebugAttributeBase* parent = m_byId[id];
    const size_t total = parent->size_child();
    out = {{"id", id}, {"total", total}, {"offset", offset}, {"children", json::array()}};
    for (size_t i = offset; i < total && i - offset < limit; ++i)
        out["children"].push_back(node(parent->begin_child()[i]));
    return true;
}

bool WebData::parseAddress(const std::string& text, unsigned int& address, bool& only)
{
    only = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = only ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 8 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return false;
    address = static_cast<unsigned int>(std::stoul(digits, nullptr, 16));
    return true;
}

bool WebData::wayTo(const akDebugObject* object, std::vector<std::pair<const akDebugAttributeBase*, unsigned int>>& way,
                    int& record) const
{
    way.clear();
    record = -1;
    const akDebugAttributeBase* top = m_scene ? m_scene->getRoot() : nullptr;
    for (const akDebugAttributeBase* at = object;;) {
        if (m_scene ? at == top : at->empty_parent()) {
            if (m_draw) {
                auto found = m_recordOf.find(at);
                if (found == m_recordOf.end())
                    return false;
                record = static_cast<int>(found->second);
            }
            way.emplace_back(at, 0);
            break;
        }
        if (at->empty_parent())
            return false;  // not below the root
        const akDebugAttributeBase* parent = at->getParent(0);
        way.emplace_back(at, positionIn(parent, at));
        at = parent;
    }
    std::reverse(way.begin(), way.end());
    return true;
}

json WebData::result(const akDebugObject* object)
{
    std::vector<std::pair<const akDebugAttributeBase*, unsigned int>> way;
    int record = -1;
    if (!wayTo(object, way, record))
        return nullptr;
    const Node described = describe(object);
    const emBaseName* name = nameOf(object);
    std::string path = m_scene ? pathOf(object, m_scene->getRoot())
                               : "Record " + std::to_string(record) + "/" + way.front().first->getName();
    if (m_draw && way.size() > 1)
        path += "/" + pathOf(object, way.front().first);
    json out = {{"name", name ? name->getValue().c_str() : ""},
                {"type", described.type},
                {"value", described.value},
                {"path", path},
                {"way", json::array()}};
    if (record >= 0)
        out["record"] = record;
    for (const auto& step : way)
        out["way"].push_back({idOf(step.first), step.second});
    return out;
}

json WebData::find(const std::string& text, size_t limit)
{
    json out = {{"results", json::array()}, {"more", false}};
    json& results = out["results"];
    std::unordered_set<const akDebugObject*> seen;
    // False once the limit is reached.
    auto add = [&](const akDebugObject* object) {
        if (!seen.insert(object).second)
            return true;
        json found = result(object);
        if (found.is_null())
            return true;
        if (results.size() >= limit) {
            out["more"] = true;
            return false;
        }
        results.push_back(std::move(found));
        return true;
    };
    const akDebug& from = stream();
    unsigned int address = 0;
    bool addressOnly = false;
    if (parseAddress(text, address, addressOnly) && address != 0)
        for (auto type = from.begin_type(); type != from.end_type(); ++type) {
            std::unordered_set<const akDebugObject*> visited;  // a walk that came round again ends
            for (akDebugObject* object = nullptr;
                 (object = (*type)->findObject(address, object)) && visited.insert(object).second;)
                if (!add(object))
                    return out;
        }
    if (addressOnly || text.empty())
        return out;
    std::string lower = text;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (auto type = from.begin_type(); type != from.end_type(); ++type) {
        std::unordered_set<const akDebugObject*> visited;
        for (akDebugObject* object = nullptr;
             (object = (*type)->findObject(lower.c_str(), 0, object)) && visited.insert(object).second;)
            if (!add(object))
                return out;
    }
    return out;
}

json WebData::recordSummary(size_t index) const
{
    const RecordView& view = m_records[index];
    return {{"index", view.index},
            {"frame", view.record->frame},
            {"kind", view.kind},
            {"name", view.record->name.c_str()},
            {"redundant", view.redundant}};
}

json WebData::records(size_t offset, size_t limit) const
{
    json out = {{"total", m_records.size()}, {"offset", offset}, {"records", json::array()}};
    for (size_t i = offset; i < m_records.size() && i - offset < limit; ++i)
        out["records"].push_back(recordSummary(i));
    return out;
}

bool WebData::record(size_t index, json& out)
{
    if (index >= m_records.size())
        return false;
    out = recordSummary(index);
    json& objects = out["objects"] = json::array();
    for (const akDebugObject* object : m_records[index].objects())
        objects.push_back(node(object));
    return true;
}

json WebData::whole()
{
    // Every attribute once, in the order of a walk from the tops; the page finds them by id. Names
    // and type strings repeat a lot, so nodes refer to them in one table.
    std::vector<const akDebugAttributeBase*> tops;
    if (m_scene)
        tops.push_back(m_scene->getRoot());
    for (const RecordView& view : m_records)
        for (const akDebugObject* object : view.objects())
            tops.push_back(object);
    std::vector<const akDebugAttributeBase*> stack(tops.rbegin(), tops.rend());
    while (!stack.empty()) {
        const akDebugAttributeBase* at = stack.back();
        stack.pop_back();
        if (m_ids.count(at))
            continue;
        idOf(at);
        for (auto it = at->end_child(); it != at->begin_child();)
            stack.push_back(*--it);
    }

    json out = {{"info", info()}};
    std::unordered_map<std::string, unsigned int> strings;
    json& table = out["strings"] = json::array();
    auto text = [&](const std::string& value) {
        auto found = strings.emplace(value, static_cast<unsigned int>(table.size()));
        if (found.second)
            table.push_back(value);
        return found.first->second;
    };
    // [name, type, value, flags (1 advanced, 2 the value is a host address), children, first
    // parent's id + 1 (0: none), tool tip, errors]; zeros and empty lists at the end are left out.
    json& nodes = out["nodes"] = json::array();
    for (size_t id = 0; id < m_byId.size(); ++id) {
        const akDebugAttributeBase* attribute = m_byId[id];
        const Node described = describe(attribute);
        json children = json::array();
        for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
            children.push_back(m_ids.at(*it));
        json errors = json::array();
        for (const Error& error : described.errors)
            errors.push_back({error.level, error.message ? error.message : ""});
        json entry = {text(described.name),
                      text(described.type),
                      described.value,
                      (described.advanced ? 1 : 0) | (described.hasAddress && described.address ? 2 : 0),
                      children,
                      attribute->empty_parent() ? 0u : m_ids.at(attribute->getParent(0)) + 1,
                      described.toolTip ? json(described.toolTip) : json(0),
                      errors};
        while (entry.size() > 3 && (entry.back() == 0 || (entry.back().is_array() && entry.back().empty())))
            entry.erase(entry.size() - 1);
        nodes.push_back(std::move(entry));
    }

    // The indexes as the server searches them: type by type, names in name order ([lower case
    // name, id, name]) and addresses in address order ([address, id]), each object that the page
    // can lead to.
    json& names = out["names"] = json::array();
    json& addresses = out["addresses"] = json::array();
    std::vector<std::pair<const akDebugAttributeBase*, unsigned int>> way;
    int record = -1;
    const akDebug& from = stream();
    for (auto type = from.begin_type(); type != from.end_type(); ++type) {
        std::unordered_set<const akDebugObject*> visited;
        for (akDebugObject* object = nullptr;
             (object = (*type)->findObject("", 0, object)) && visited.insert(object).second;) {
            const emBaseName* name = nameOf(object);
            if (name && m_ids.count(object) && wayTo(object, way, record))
                names.push_back({name->getLowerCase(), m_ids.at(object), name->getValue().c_str()});
        }
        visited.clear();
        for (akDebugObject* object = nullptr; (object = (*type)->findObject(object)) && visited.insert(object).second;)
            if (object->getValue() != 0 && m_ids.count(object) && wayTo(object, way, record))
                addresses.push_back({object->getValue(), m_ids.at(object)});
    }
    if (m_draw) {
        json& records = out["records"] = json::array();
        for (size_t i = 0; i < m_records.size(); ++i) {
            json entry = recordSummary(i);
            json& objects = entry["objects"] = json::array();
            for (const akDebugObject* object : m_records[i].objects())
                objects.push_back(m_ids.at(object));
            records.push_back(std::move(entry));
        }
    }
    return out;
}

}  // namespace view
