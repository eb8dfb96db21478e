#include "akdebugtypedef.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

namespace {

struct Registry
{
    std::vector<akDebugTypeDef*> definitions;
    std::map<std::string, akDebugTypeDef*, std::less<>> byName;
};

Registry* s_registry = nullptr;
const std::vector<akDebugTypeDef*> s_none;

}  // namespace

akDebugTypeDef::akDebugTypeDef(const char* name, akDebugTypeDef* baseTypeDef, ReadFunction read, WriteFunction write,
                               CreateFunction create, unsigned int options)
    : m_options(options), m_name(name), m_baseTypeDef(baseTypeDef), m_read(read), m_write(write), m_create(create)
{
    if (!name) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebugTypeDef::akDebugTypeDef - null name");
        TELU_ASSERT(name != 0, AKDEBUG_SOURCE_TYPEDEF);
    }
    m_name.replace("_", "::");
    TELU_ASSERT(s_registry != 0, AKDEBUG_SOURCE_TYPEDEF);
    if (s_registry) {
        m_slot = static_cast<unsigned int>(s_registry->definitions.size());
        s_registry->definitions.push_back(this);
        s_registry->byName.emplace(m_name.c_str(), this);
    }
}

akDebugTypeDef::~akDebugTypeDef()
{
    if (!s_registry)
        return;
    auto& defs = s_registry->definitions;
    defs.erase(std::remove(defs.begin(), defs.end(), this), defs.end());
    auto found = s_registry->byName.find(m_name.c_str());
    if (found != s_registry->byName.end() && found->second == this)
        s_registry->byName.erase(found);
}

akDebugTypeDef* akDebugTypeDef::find(const char* name)
{
    if (!name || !s_registry)
        return nullptr;
    auto found = s_registry->byName.find(name);
    return found == s_registry->byName.end() ? nullptr : found->second;
}

akDebugTypeDef::const_iterator akDebugTypeDef::begin()
{
    return s_registry ? s_registry->definitions.begin() : s_none.begin();
}

akDebugTypeDef::const_iterator akDebugTypeDef::end()
{
    return s_registry ? s_registry->definitions.end() : s_none.end();
}

unsigned int akDebugTypeDef::size()
{
    return s_registry ? static_cast<unsigned int>(s_registry->definitions.size()) : 0;
}

bool akDebugTypeDef::empty() { return size() == 0; }

int akDebugTypeDef::read(akDebug* stream, akDebugObject* object) const
{
    return m_read ? m_read(stream, object) : telu::SUCCESS;
}

int akDebugTypeDef::write(akDebug* stream, void* object) const
{
    return m_write ? m_write(stream, object) : telu::SUCCESS;
}

akDebugObject* akDebugTypeDef::create(const char* name, unsigned int address, akDebugType* type) const
{
    return m_create ? m_create(name, address, type) : nullptr;
}

bool akDebugTypeDef::isOfTypeDef(const akDebugTypeDef* other) const
{
    for (const akDebugTypeDef* def = this; def; def = def->m_baseTypeDef)
        if (def == other)
            return true;
    return false;
}

int akDebugTypeDef::initializeClass()
{
    if (!s_registry)
        s_registry = new Registry;
    return telu::SUCCESS;
}

int akDebugTypeDef::shutdownClass()
{
    delete s_registry;
    s_registry = nullptr;
    return telu::SUCCESS;
}
