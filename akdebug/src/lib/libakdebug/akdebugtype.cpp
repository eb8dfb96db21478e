#include "akdebugtype.h"

#include "akdebugattribute.h"

akDebugObject* akDebugType::s_currentObject = nullptr;
akDebugType* akDebugType::s_currentType = nullptr;

akDebugType::akDebugType(akDebugTypeDef* typeDef, int index) : m_index(index), m_typeDef(typeDef) {}

akDebugType::~akDebugType()
{
    m_kept.forEach([](const akDebugObject* object, bool) {
        if (object)
            const_cast<akDebugObject*>(object)->unref();
    });
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
        m_written.insert(object, address);
    return telu::SUCCESS;
}

int akDebugType::read(akDebug* stream, akDebugObject* object, unsigned int address)
{
    // Every attribute made while the payload is read belongs to the object's subtree: its size is
    // what a copy of it makes.
    const unsigned long long before = akDebugAttributeBase::getNumCreated();
    if (m_typeDef->read(stream, object) == telu::FAILURE)
        return telu::FAILURE;
    if (!has(akDebugTypeDef::OPTION_SHARE_REPEATS))
        return telu::SUCCESS;
    Source& source = *m_sources.insert(address, Source()).first;
    if (m_keepSourcesOnly && source.object != object) {
        // An earlier source at the same address (a damaged file writes one address twice in
        // full) stays kept: it is in the indexes.
        object->ref();
        m_kept.set(object, true);
    }
    source.object = object;
    source.size = akDebugAttributeBase::getNumCreated() - before + 1;
    return telu::SUCCESS;
}

akDebugObject* akDebugType::getSourceObject(unsigned int address) const
{
    if (!has(akDebugTypeDef::OPTION_SHARE_REPEATS))
        return nullptr;
    const Source* found = m_sources.find(address);
    return found ? found->object : nullptr;
}

unsigned long long akDebugType::getSourceSize(unsigned int address) const
{
    const Source* found = has(akDebugTypeDef::OPTION_SHARE_REPEATS) ? m_sources.find(address) : nullptr;
    return found && found->object ? found->size : 0;
}

void akDebugType::finishRecord()
{
    if (m_recordIndexed.size() == 0)
        return;
    auto drop = [this](const akDebugObject* object) { return m_recordIndexed.find(object) && !m_kept.find(object); };
    m_addressIndex.removeNewIf(drop);
    m_nameIndex.removeNewIf(drop);
    m_lowerNameIndex.removeNewIf(drop);
    m_recordIndexed.clear();
}

void akDebugType::registerAddress(akDebugObject* object, unsigned int address)
{
    if (address == 0 || !has(akDebugTypeDef::OPTION_INDEX_ADDRESS))
        return;
    m_addressIndex.insert(address, object);
    if (m_keepSourcesOnly)
        m_recordIndexed.set(object, true);
    s_currentObject = object;
    s_currentType = this;
}

void akDebugType::registerName(akDebugObject* object, const char* name, const char* lowerCaseName)
{
    if (!name || !lowerCaseName || !has(akDebugTypeDef::OPTION_INDEX_NAME))
        return;
    m_nameIndex.insert(name, object);
    m_lowerNameIndex.insert(lowerCaseName, object);
    if (m_keepSourcesOnly)
        m_recordIndexed.set(object, true);
    s_currentObject = nullptr;
    s_currentType = nullptr;
}

template <class Key, class Less>
void akDebugType::Index<Key, Less>::insert(Key key, akDebugObject* object)
{
    if (!m_entries.empty() && Less()(key, m_entries.back().first))
        m_sorted = false;
    m_entries.emplace_back(key, object);
    m_positions.clear();
    m_keysValid = false;
}

template <class Key, class Less>
template <class Drop>
void akDebugType::Index<Key, Less>::removeNewIf(Drop drop)
{
    auto first = m_newAtEnd ? m_entries.begin() + static_cast<long>(std::min(m_newFrom, m_entries.size())) : m_entries.begin();
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
void akDebugType::Index<Key, Less>::sort() const
{
    if (m_sorted)
        return;
    m_newAtEnd = false;
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry& a, const Entry& b) { return Less()(a.first, b.first); });
    m_sorted = true;
}

template <class Key, class Less>
typename akDebugType::Index<Key, Less>::const_iterator akDebugType::Index<Key, Less>::find(const akDebugObject* object) const
{
    sort();
    if (m_positions.empty())
        for (size_t i = m_entries.size(); i-- > 0;)
            m_positions[m_entries[i].second] = i;
    auto found = m_positions.find(object);
    return found == m_positions.end() ? m_entries.end() : m_entries.begin() + static_cast<long>(found->second);
}

template <class Key, class Less>
const std::vector<Key>& akDebugType::Index<Key, Less>::keys() const
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
    auto it = m_addressIndex.begin();
    if (after) {
        it = m_addressIndex.find(after);
        if (it == m_addressIndex.end())
            return nullptr;
        ++it;
    }
    return it == m_addressIndex.end() ? nullptr : it->second;
}

akDebugObject* akDebugType::findObject(unsigned int address, const akDebugObject* after) const
{
    auto it = std::lower_bound(m_addressIndex.begin(), m_addressIndex.end(), address,
                               [](const auto& entry, unsigned int key) { return entry.first < key; });
    if (after) {
        it = m_addressIndex.find(after);
        if (it == m_addressIndex.end() || it->first != address)
            return nullptr;
        ++it;
    }
    return it == m_addressIndex.end() || it->first != address ? nullptr : it->second;
}

akDebugObject* akDebugType::findObject(const char* name, unsigned int flags, const akDebugObject* after) const
{
    if (!name)
        return nullptr;
    const auto& index = (flags & FIND_CASE_SENSITIVE) ? m_nameIndex : m_lowerNameIndex;
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

int akDebugType::initializeClass() { return telu::SUCCESS; }
int akDebugType::shutdownClass() { return telu::SUCCESS; }

template class akDebugType::Index<unsigned int, akDebugType::AddressLess>;
template class akDebugType::Index<const char*, akDebugType::NameLess>;
