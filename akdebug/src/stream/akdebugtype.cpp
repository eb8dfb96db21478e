#include "akdebugtype.h"

#include "akdebugattribute.h"
#include "akdebughash.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace {

// An index of objects by key, filled while a file is read and sorted by key (entries with equal
// keys in the order they were entered) when it is first searched.
template <class Key, class Less>
class Index
{
public:
    using Entry = std::pair<Key, akDebugObject*>;
    using const_iterator = typename std::vector<Entry>::const_iterator;

    void insert(Key key, akDebugObject* object);
    // Removes the entries entered since the last call whose object `drop` is true for, keeping
    // the others in order.
    template <class Drop>
    void removeNewIf(Drop drop);
    bool empty() const { return m_entries.empty(); }
    const_iterator begin() const
    {
        sort();
        return m_entries.begin();
    }
    const_iterator end() const
    {
        sort();
        return m_entries.end();
    }
    // The entry of an object, or end().
    const_iterator find(const akDebugObject* object) const;
    // The distinct keys in order.
    const std::vector<Key>& keys() const;

private:
    void sort() const;
    mutable std::vector<Entry> m_entries;
    mutable bool m_sorted = true;
    mutable std::unordered_map<const akDebugObject*, size_t> m_positions;
    mutable std::vector<Key> m_keys;
    mutable bool m_keysValid = false;
    // Entries from here on were entered since the last removeNewIf, while no sort moved them.
    size_t m_newFrom = 0;
    mutable bool m_newAtEnd = true;
};

struct AddressLess
{
    bool operator()(unsigned int a, unsigned int b) const { return a < b; }
};

}  // namespace

struct akDebugType::Tables
{
    struct Source
    {
        akDebugObject* object = nullptr;
        unsigned long long size = 0;
    };
    akDebugHashMap<const void*, unsigned int> written;
    akDebugHashMap<unsigned int, Source> sources;
    // Record-by-record reading: the sources kept, the objects of the current record that the
    // indexes hold, and the names entered for them, in the order they were entered.
    akDebugHashMap<const akDebugObject*, bool> kept;
    akDebugHashMap<const akDebugObject*, bool> recordIndexed;
    std::vector<akDebugType::NameEntry> recordNames;
    Index<unsigned int, AddressLess> addressIndex;
    Index<const char*, NameLess> nameIndex;
    Index<const char*, NameLess> lowerNameIndex;
};

akDebugObject* akDebugType::s_currentObject = nullptr;
akDebugType* akDebugType::s_currentType = nullptr;

akDebugType::akDebugType(akDebugTypeDef* typeDef, int index) : m_index(index), m_typeDef(typeDef), m_tables(new Tables)
{}

akDebugType::~akDebugType()
{
    m_tables->kept.forEach([](const akDebugObject* object, bool) {
        if (object)
            const_cast<akDebugObject*>(object)->unref();
    });
    delete m_tables;
}

akDebugObject* akDebugType::create(const char* name, unsigned int address)
{
    return m_typeDef->create(name, address, this);
}

int akDebugType::write(akDebug* stream, void* object, unsigned int address)
{
    if (m_typeDef->write(stream, object) == telu::FAILURE)
        return telu::FAILURE;
    if (has(akDebugTypeDef::OPTION_SHARE_REPEATS))
        m_tables->written.insert(object, address);
    return telu::SUCCESS;
}

int akDebugType::read(akDebug* stream, akDebugObject* object, unsigned int address)
{
    // Every attribute made while the payload is read belongs to the object's subtree: its size is
    // what a copy of it makes.
    const unsigned long long before = akDebugAttributeBase::getNumCreated();
    const int result = m_typeDef->read(stream, object);
    // Child blocks grow by doubling while they are read: the object and its class levels (each
    // level the first child of the one below it) are fitted once it is complete.
    for (akDebugAttributeBase* level = object; level;) {
        akDebugGroup* group = static_cast<akDebugGroup*>(level);
        group->shrink_child();
        akDebugAttributeBase* first = group->empty_child() ? nullptr : *group->begin_child();
        level = first && first->getType() && !static_cast<akDebugObject*>(first)->hasAddress() ? first : nullptr;
    }
    if (result == telu::FAILURE)
        return telu::FAILURE;
    if (!has(akDebugTypeDef::OPTION_SHARE_REPEATS))
        return telu::SUCCESS;
    Tables::Source& source = *m_tables->sources.insert(address, Tables::Source()).first;
    if (m_keepSourcesOnly && source.object != object) {
        // An earlier source at the same address (a damaged file writes one address twice in
        // full) stays kept: it is in the indexes.
        object->ref();
        m_tables->kept.set(object, true);
    }
    source.object = object;
    source.size = akDebugAttributeBase::getNumCreated() - before + 1;
    return telu::SUCCESS;
}

const unsigned int* akDebugType::findWritten(const void* object) const
{
    return has(akDebugTypeDef::OPTION_SHARE_REPEATS) ? m_tables->written.find(object) : nullptr;
}

akDebugObject* akDebugType::getSourceObject(unsigned int address) const
{
    if (!has(akDebugTypeDef::OPTION_SHARE_REPEATS))
        return nullptr;
    const Tables::Source* found = m_tables->sources.find(address);
    return found ? found->object : nullptr;
}

unsigned long long akDebugType::getSourceSize(unsigned int address) const
{
    const Tables::Source* found = has(akDebugTypeDef::OPTION_SHARE_REPEATS) ? m_tables->sources.find(address) : nullptr;
    return found && found->object ? found->size : 0;
}

void akDebugType::finishRecord()
{
    m_tables->recordNames.clear();
    if (m_tables->recordIndexed.size() == 0)
        return;
    auto drop = [this](const akDebugObject* object) {
        return m_tables->recordIndexed.find(object) && !m_tables->kept.find(object);
    };
    m_tables->addressIndex.removeNewIf(drop);
    m_tables->nameIndex.removeNewIf(drop);
    m_tables->lowerNameIndex.removeNewIf(drop);
    m_tables->recordIndexed.clear();
}

void akDebugType::registerAddress(akDebugObject* object, unsigned int address)
{
    if (address == 0 || !has(akDebugTypeDef::OPTION_INDEX_ADDRESS))
        return;
    m_tables->addressIndex.insert(address, object);
    if (m_keepSourcesOnly)
        m_tables->recordIndexed.set(object, true);
    s_currentObject = object;
    s_currentType = this;
}

void akDebugType::registerName(akDebugObject* object, const char* name, const char* lowerCaseName)
{
    if (!name || !lowerCaseName || !has(akDebugTypeDef::OPTION_INDEX_NAME))
        return;
    m_tables->nameIndex.insert(name, object);
    m_tables->lowerNameIndex.insert(lowerCaseName, object);
    if (m_keepSourcesOnly) {
        m_tables->recordIndexed.set(object, true);
        m_tables->recordNames.push_back({object, name, lowerCaseName});
    }
    s_currentObject = nullptr;
    s_currentType = nullptr;
}

template <class Key, class Less>
void Index<Key, Less>::insert(Key key, akDebugObject* object)
{
    if (!m_entries.empty() && Less()(key, m_entries.back().first))
        m_sorted = false;
    m_entries.emplace_back(key, object);
    m_positions.clear();
    m_keysValid = false;
}

template <class Key, class Less>
template <class Drop>
void Index<Key, Less>::removeNewIf(Drop drop)
{
    auto first =
        m_newAtEnd ? m_entries.begin() + static_cast<long>(std::min(m_newFrom, m_entries.size())) : m_entries.begin();
    auto end = std::remove_if(first, m_entries.end(), [&](const Entry& entry) { return drop(entry.second); });
    if (end != m_entries.end()) {
        m_entries.erase(end, m_entries.end());
        m_positions.clear();
        m_keysValid = false;
    }
    m_newFrom = m_entries.size();
    m_newAtEnd = true;
}

template <class Key, class Less>
void Index<Key, Less>::sort() const
{
    if (m_sorted)
        return;
    m_newAtEnd = false;
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry& a, const Entry& b) { return Less()(a.first, b.first); });
    m_sorted = true;
}

template <class Key, class Less>
typename Index<Key, Less>::const_iterator Index<Key, Less>::find(const akDebugObject* object) const
{
    sort();
    if (m_positions.empty())
        for (size_t i = m_entries.size(); i-- > 0;)
            m_positions[m_entries[i].second] = i;
    auto found = m_positions.find(object);
    return found == m_positions.end() ? m_entries.end() : m_entries.begin() + static_cast<long>(found->second);
}

template <class Key, class Less>
const std::vector<Key>& Index<Key, Less>::keys() const
{
    if (!m_keysValid) {
        sort();
        m_keys.clear();
        for (const Entry& entry : m_entries)
            if (m_keys.empty() || Less()(m_keys.back(), entry.first))
                m_keys.push_back(entry.first);
        m_keysValid = true;
    }
    return m_keys;
}

akDebugObject* akDebugType::findObject(const akDebugObject* after) const
{
    auto it = m_tables->addressIndex.begin();
    if (after) {
        it = m_tables->addressIndex.find(after);
        if (it == m_tables->addressIndex.end())
            return nullptr;
        ++it;
    }
    return it == m_tables->addressIndex.end() ? nullptr : it->second;
}

akDebugObject* akDebugType::findObject(unsigned int address, const akDebugObject* after) const
{
    auto it = std::lower_bound(m_tables->addressIndex.begin(), m_tables->addressIndex.end(), address,
                               [](const auto& entry, unsigned int key) { return entry.first < key; });
    if (after) {
        it = m_tables->addressIndex.find(after);
        if (it == m_tables->addressIndex.end() || it->first != address)
            return nullptr;
        ++it;
    }
    return it == m_tables->addressIndex.end() || it->first != address ? nullptr : it->second;
}

akDebugObject* akDebugType::findObject(const char* name, unsigned int flags, const akDebugObject* after) const
{
    if (!name)
        return nullptr;
    const auto& index = (flags & FIND_CASE_SENSITIVE) ? m_tables->nameIndex : m_tables->lowerNameIndex;
    auto it = index.begin();
    if (after) {
        it = index.find(after);
        if (it == index.end())
            return nullptr;
        ++it;
    }
    for (; it != index.end(); ++it) {
        bool match = (flags & FIND_EXACT) ? std::strcmp(it->first, name) == 0 : std::strstr(it->first, name) != nullptr;
        if (match)
            return it->second;
    }
    return nullptr;
}

const std::vector<akDebugType::NameEntry>* akDebugType::getRecordNames() const
{
    return m_keepSourcesOnly ? &m_tables->recordNames : nullptr;
}

akDebugType::const_iterator_address akDebugType::begin_address() const { return m_tables->addressIndex.keys().begin(); }
akDebugType::const_iterator_address akDebugType::end_address() const { return m_tables->addressIndex.keys().end(); }
unsigned int akDebugType::size_address() const
{
    return static_cast<unsigned int>(m_tables->addressIndex.keys().size());
}
bool akDebugType::empty_address() const { return m_tables->addressIndex.empty(); }

int akDebugType::initializeClass() { return telu::SUCCESS; }
int akDebugType::shutdownClass() { return telu::SUCCESS; }
