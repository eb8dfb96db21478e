// The viewer's searches: objects by name through the module's name indexes, and every place where
// the host object at an address stands. The text output, JSON and the web page's data all search
// through these, and show what they found with the same paths.
#pragma once

#include "core.h"

#include <unordered_map>

namespace view {

// The trees a search looks in: the attributes at their tops (a scene's root, or the objects of a
// draw file's records, each with its record's index).
class Tops
{
public:
    // One attribute may be the top of several records (what a file repeats, held once); topOf
    // gives the first.
    void add(const akDebugAttributeBase* top, int record = -1);
    size_t size() const { return m_tops.size(); }
    const akDebugAttributeBase* top(size_t i) const { return m_tops[i].first; }
    int record(size_t i) const { return m_tops[i].second; }
    // The top that `attribute` stands below (or is), followed up its first parents; -1 for none.
    long topOf(const akDebugAttributeBase* attribute) const;

private:
    std::vector<std::pair<const akDebugAttributeBase*, int>> m_tops;
    std::unordered_map<const akDebugAttributeBase*, size_t> m_index;
};

// An object a search found, and the top it stands below. In trees whose subtrees are shared (a
// draw file's records held for the web page), first parents need not lead to the top: a search
// that walked down gives its way, the attributes from the top down to the object.
struct Found
{
    const akDebugObject* object = nullptr;
    size_t top = 0;
    const std::vector<const akDebugAttributeBase*>* way = nullptr;
};

// The path of what a search found, as every output shows it: the names below the top joined with
// "/" ("kiNode/Children/8"), or the object's own name for the top itself; below a record's object,
// "Record 3/Geometry/" and the names below it ("Record 3/Geometry" for the object itself).
std::string pathOf(const Tops& tops, const Found& found);

// What a name search looks for: any part of the name in any case, unless `exact` (the whole name)
// or `caseSensitive`.
struct NameQuery
{
    std::string text;
    bool exact = false;
    bool caseSensitive = false;
};

// A name query as the name indexes take it: whether a name (as written, and in lower case)
// matches, and what names are ordered by.
class NameMatch
{
public:
    explicit NameMatch(const NameQuery& query);
    bool operator()(const char* name, const char* lowerCaseName) const;
    // The name that the query compares and the index orders by.
    const char* keyOf(const char* name, const char* lowerCaseName) const
    {
        return m_query.caseSensitive ? name : lowerCaseName;
    }
    // The query's text in that form, and its akDebugType::FindFlags.
    const std::string& text() const { return m_text; }
    unsigned int flags() const;

private:
    NameQuery m_query;
    std::string m_text;
};

// The objects whose name the stream's name indexes hold and the query matches, by top in the
// order of the tops, and by type and name order below each. Objects below none of the tops (the
// sources of repeats kept from earlier records of a draw file) are left out. While a draw file is
// read record by record, the tops are the objects of the record being read, and the search looks
// at that record's entries only (its cost does not grow with the records before). `visit` returns
// false to stop.
void findByName(const akDebug& stream, const NameQuery& query, const Tops& tops,
                const std::function<bool(const Found&)>& visit);

// Every place below the tops where an object stands for a host object (a record read in full, a
// repeat, a reference by address only; not a null reference), tops in order, each in the order of
// a walk. `visit` returns false to stop.
void findPlaces(const Tops& tops, const std::function<bool(const Found&)>& visit);

// Every place below the tops where the host object at `address` stands (its records, their
// repeats, the references to it by address only), tops in order, each in the order of a walk.
// Address 0 (a null reference) stands for no object. `visit` returns false to stop.
void findByAddress(const Tops& tops, unsigned int address, const std::function<bool(const Found&)>& visit);

// The same, searched again and again (in each record of a draw file read record by record): a
// copy that the file repeats holds what its source holds, so below a source that holds no place of
// the address, no copy of it is looked into again.
class AddressSearch
{
public:
    explicit AddressSearch(unsigned int address) : m_address(address) {}
    void find(const Tops& tops, const std::function<bool(const Found&)>& visit);

private:
    // True when a place of the address stands at or below `attribute`.
    bool placesIn(const akDebugAttributeBase* attribute, size_t top);

    unsigned int m_address;
    const std::function<bool(const Found&)>* m_visit = nullptr;
    std::vector<const akDebugAttributeBase*> m_way;
    bool m_stopped = false;
    // Per source of repeats (which lives as long as its stream): whether a place stands below it.
    std::unordered_map<const akDebugObject*, bool> m_holdsBelow;
};

// A text read as an address: one to eight hexadecimal digits, with or without "0x" first. `only`
// tells that the "0x" was there, so that the text is no name.
bool parseAddress(const std::string& text, unsigned int& address, bool& only);

}  // namespace view
