#include "akdebugtype.h"

akDebugObject* akDebugType::s_currentObject = nullptr;
akDebugType* akDebugType::s_currentType = nullptr;

akDebugType::akDebugType(akDebugTypeDef* typeDef, int index) : m_index(index), m_typeDef(typeDef) {}

akDebugObject* akDebugType::create(const char* name, unsigned int address)
{
    return m_typeDef->create(name, address, this);
}

int akDebugType::write(akDebug* stream, void* object)
{
    if (m_typeDef->write(stream, object) == telu::FAILURE)
        return telu::FAILURE;
    if (has(akDebugTypeDef::OPTION_SHARE_REPEATS))
        m_written.insert(object);
    return telu::SUCCESS;
}

bool akDebugType::hasAlreadyBeenWritten(const void* object) const
{
    return has(akDebugTypeDef::OPTION_SHARE_REPEATS) && m_written.count(object) != 0;
}

int akDebugType::read(akDebug* stream, akDebugObject* object, unsigned int address)
{
    if (m_typeDef->read(stream, object) == telu::FAILURE)
        return telu::FAILURE;
    if (has(akDebugTypeDef::OPTION_SHARE_REPEATS))
        m_sources[address] = object;
    return telu::SUCCESS;
}

akDebugObject* akDebugType::getSourceObject(unsigned int address) const
{
    if (!has(akDebugTypeDef::OPTION_SHARE_REPEATS))
        return nullptr;
    auto found = m_sources.find(address);
    return found == m_sources.end() ? nullptr : found->second;
}

void akDebugType::registerAddress(akDebugObject* object, unsigned int address)
{
    if (address == 0 || !has(akDebugTypeDef::OPTION_INDEX_ADDRESS))
        return;
    m_addressIndex.emplace(address, object);
    s_currentObject = object;
    s_currentType = this;
    m_addresses.insert(address);
}

void akDebugType::registerName(akDebugObject* object, const char* name, const char* lowerCaseName)
{
    if (!name || !lowerCaseName || !has(akDebugTypeDef::OPTION_INDEX_NAME))
        return;
    m_nameIndex.emplace(name, object);
    m_lowerNameIndex.emplace(lowerCaseName, object);
    s_currentObject = nullptr;
    s_currentType = nullptr;
}

namespace {

const char* keyOf(const akDebugType::NameIndex& index, const akDebugObject* object)
{
    for (const auto& entry : index)
        if (entry.second == object)
            return entry.first;
    return nullptr;
}

}  // namespace

void akDebugType::registerAddressRepeat(akDebugObject* object, unsigned int address, akDebugObject* source)
{
    registerAddress(object, address);
    const char* name = keyOf(m_nameIndex, source);
    const char* lower = keyOf(m_lowerNameIndex, source);
    if (name && lower)
        registerName(object, name, lower);
}

akDebugObject* akDebugType::findObject(const akDebugObject* after) const
{
    auto it = m_addressIndex.begin();
    if (after) {
        while (it != m_addressIndex.end() && it->second != after)
            ++it;
        if (it == m_addressIndex.end())
            return nullptr;
        ++it;
    }
    return it == m_addressIndex.end() ? nullptr : it->second;
}

akDebugObject* akDebugType::findObject(unsigned int address, const akDebugObject* after) const
{
    auto range = m_addressIndex.equal_range(address);
    auto it = range.first;
    if (after) {
        while (it != range.second && it->second != after)
            ++it;
        if (it == range.second)
            return nullptr;
        ++it;
    }
    return it == range.second ? nullptr : it->second;
}

akDebugObject* akDebugType::findObject(const char* name, unsigned int flags, const akDebugObject* after) const
{
    if (!name)
        return nullptr;
    const NameIndex& index = (flags & FIND_CASE_SENSITIVE) ? m_nameIndex : m_lowerNameIndex;
    auto it = index.begin();
    if (after) {
        while (it != index.end() && it->second != after)
            ++it;
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
