// A draw file's records held whole (for the web page) at about the memory that reading them one at
// a time takes. The file is read record by record, and each record's trees are kept with what the
// file repeats shared instead of copied: a copy is replaced by its source, which the stream keeps,
// so that all records that repeat an object hold its one subtree. What they show is the same (a
// copy holds what its source holds); but first parents then lead into the record that read the
// source, so the places in a record are told by their way down from its objects, which the
// searches here give (Found::way).
#pragma once

#include "records.h"
#include "search.h"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace view {

class HeldRecords
{
public:
    HeldRecords() = default;
    ~HeldRecords();
    HeldRecords(const HeldRecords&) = delete;
    HeldRecords& operator=(const HeldRecords&) = delete;

    // Reads the file; false when no record could be read. The records together hold at most
    // `maxAttributes` attributes, each shared subtree counted in every record that holds it (as a
    // reading that keeps every copy builds them): the reading ends at the record that would pass
    // it, with a report of too many attributes.
    // `kept`, when given, sees each record as it is kept, while its trees are fresh from reading.
    bool read(const std::string& fileName, unsigned long long maxAttributes,
              const std::function<void(const RecordView& view)>& kept = nullptr);
    bool complete() const { return m_complete; }
    // When the reading ended at the limit (the stream's, or that of the records together): what to
    // say, as refusalOf says it (reading.h); empty otherwise.
    const std::string& refusal() const { return m_refusal; }
    // The attributes of the records together, counted as above.
    unsigned long long attributes() const { return m_attributes; }
    const akDebugDraw& stream() const { return m_draw; }
    // In file order; the views point to the records held here.
    const std::vector<RecordView>& records() const { return m_views; }
    // The objects of the records, each with its record.
    const Tops& tops() const { return m_tops; }

    // The objects whose name the query matches, as findByName gives them over the file read whole
    // (by record and object, by type, by name, those of one name in the order they were read),
    // each with its way. `visit` returns false to stop.
    void findByName(const NameQuery& query, const std::function<bool(const Found&)>& visit) const;

private:
    // Keeps the record; false, and nothing kept, when the records would pass the limit with it.
    bool keep(const RecordView& view, unsigned long long maxAttributes);
    // Notes the name entries of the record's objects (the stream forgets them after the record).
    void noteNames(const std::vector<const akDebugObject*>& tops, size_t firstTop);
    // Replaces the copies below `attribute` by their sources. Returns the attributes at and below
    // it, counted as a reading that keeps every copy builds them.
    unsigned long long share(akDebugAttributeBase* attribute);

    akDebugDraw m_draw;  // keeps the sources that the records share
    std::vector<akDebugDraw::Record*> m_held;
    std::vector<RecordView> m_views;
    Tops m_tops;
    bool m_complete = false;
    unsigned long long m_attributes = 0;
    std::string m_refusal;

    // A name entry of a record: its top, its type's place in the type table, its place among the
    // record's entries of that type, its names, and its way down from the top (as positions among
    // the children, m_positions[way] on).
    struct Named
    {
        unsigned int top, type, entered;
        const char* name;
        const char* lowerCaseName;
        unsigned int way, depth;
    };
    std::vector<Named> m_named;
    std::vector<unsigned int> m_positions;
    // The names, each once, as written and in lower case (which the name gives).
    std::pair<const char*, const char*> texts(const char* name, const char* lowerCaseName);
    std::deque<std::string> m_texts;
    std::unordered_map<std::string_view, std::pair<const char*, const char*>> m_names;
};

}  // namespace view
