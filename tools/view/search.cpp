#include "search.h"

#include "compare.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_set>

namespace view {

void Tops::add(const akDebugAttributeBase* top, int record)
{
    m_index.emplace(top, m_tops.size());
    m_tops.emplace_back(top, record);
}

long Tops::topOf(const akDebugAttributeBase* attribute) const
{
    for (const akDebugAttributeBase* at = attribute; at; at = *at->begin_parent()) {
        auto found = m_index.find(at);
        if (found != m_index.end())
            return static_cast<long>(found->second);
        if (at->empty_parent())
            break;
    }
    return -1;
}

std::string pathOf(const Tops& tops, const Found& found)
{
    const akDebugAttributeBase* top = tops.top(found.top);
    std::string below;
    if (found.way)
        for (size_t i = 1; i < found.way->size(); ++i)
            below += (i > 1 ? "/" : "") + std::string((*found.way)[i]->getName());
    else
        below = pathOf(found.object, top);
    if (tops.record(found.top) < 0)
        return below.empty() ? found.object->getName() : below;
    return "Record " + std::to_string(tops.record(found.top)) + "/" + top->getName() + (below.empty() ? "" : "/") +
        below;
}

NameMatch::NameMatch(const NameQuery& query) : m_query(query), m_text(query.text)
{
    if (!query.caseSensitive)
        for (char& c : m_text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool NameMatch::operator()(const char* name, const char* lowerCaseName) const
{
    const char* key = keyOf(name, lowerCaseName);
    return m_query.exact ? m_text == key : std::strstr(key, m_text.c_str()) != nullptr;
}

unsigned int NameMatch::flags() const
{
    return (m_query.caseSensitive ? akDebugType::FIND_CASE_SENSITIVE : 0u) |
        (m_query.exact ? akDebugType::FIND_EXACT : 0u);
}

void findByName(const akDebug& stream, const NameQuery& query, const Tops& tops,
                const std::function<bool(const Found&)>& visit)
{
    const NameMatch match(query);
    std::vector<Found> found;
    // An index that would lead round again (a damaged file) ends where it does.
    std::unordered_set<const akDebugObject*> seen;
    const auto note = [&](const akDebugObject* object) {
        if (!seen.insert(object).second)
            return false;
        const long top = tops.topOf(object);
        if (top >= 0)
            found.push_back({object, static_cast<size_t>(top)});
        return true;
    };
    std::vector<const akDebugType::NameEntry*> inRecord;
    for (auto it = stream.begin_type(); it != stream.end_type(); ++it) {
        // Read record by record, the tops are the record's objects: only its entries can be below them.
        if (const std::vector<akDebugType::NameEntry>* entries = (*it)->getRecordNames()) {
            inRecord.clear();
            for (const akDebugType::NameEntry& entry : *entries)
                if (match(entry.name, entry.lowerCaseName))
                    inRecord.push_back(&entry);
            // In the order of the index: by name, those of one name in the order they were entered.
            std::stable_sort(inRecord.begin(), inRecord.end(), [&](const auto* a, const auto* b) {
                return std::strcmp(match.keyOf(a->name, a->lowerCaseName), match.keyOf(b->name, b->lowerCaseName)) < 0;
            });
            for (size_t i = 0; i < inRecord.size() && note(inRecord[i]->object); ++i) {}
            continue;
        }
        for (akDebugObject* object = nullptr;
             (object = (*it)->findObject(match.text().c_str(), match.flags(), object)) && note(object);) {}
    }
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.top < b.top; });
    for (const Found& each : found)
        if (!visit(each))
            return;
}

namespace {

// False once `visit` asked to stop. `way` holds the attributes from the top down to `attribute`'s
// parent.
bool placesIn(const akDebugAttributeBase* attribute, size_t top, std::vector<const akDebugAttributeBase*>& way,
              const std::function<bool(const Found&)>& visit)
{
    way.push_back(attribute);
    const akDebugObject* object = typedObject(attribute);
    bool more = !object || !object->hasAddress() || object->getValue() == 0 || visit({object, top, &way});
    for (auto it = attribute->begin_child(); it != attribute->end_child() && more; ++it)
        more = placesIn(*it, top, way, visit);
    way.pop_back();
    return more;
}

}  // namespace

void findPlaces(const Tops& tops, const std::function<bool(const Found&)>& visit)
{
    std::vector<const akDebugAttributeBase*> way;
    for (size_t i = 0; i < tops.size(); ++i)
        if (!placesIn(tops.top(i), i, way, visit))
            return;
}

void AddressSearch::find(const Tops& tops, const std::function<bool(const Found&)>& visit)
{
    m_visit = &visit;
    m_stopped = false;
    for (size_t i = 0; i < tops.size() && !m_stopped; ++i)
        placesIn(tops.top(i), i);
}

bool AddressSearch::placesIn(const akDebugAttributeBase* attribute, size_t top)
{
    m_way.push_back(attribute);
    const akDebugObject* object = typedObject(attribute);
    const bool here = object && object->hasAddress() && object->getValue() == m_address && m_address != 0;
    if (here)
        m_stopped = !(*m_visit)({object, top, &m_way});
    // What the file repeats holds what its source holds: looked into below once.
    const akDebugObject* source = object ? sourceOf(object) : nullptr;
    auto known = source ? m_holdsBelow.find(source) : m_holdsBelow.end();
    bool below = false;
    if (known == m_holdsBelow.end() || known->second) {
        for (auto it = attribute->begin_child(); it != attribute->end_child() && !m_stopped; ++it)
            below = placesIn(*it, top) || below;
        if (source && !m_stopped)
            m_holdsBelow.emplace(source, below);
    }
    m_way.pop_back();
    return here || below;
}

void findByAddress(const Tops& tops, unsigned int address, const std::function<bool(const Found&)>& visit)
{
    AddressSearch(address).find(tops, visit);
}

bool parseAddress(const std::string& text, unsigned int& address, bool& only)
{
    only = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = only ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 8 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return false;
    address = static_cast<unsigned int>(std::stoul(digits, nullptr, 16));
    return true;
}

}  // namespace view
