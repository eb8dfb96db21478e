// Class types with their instance lists, and the utility host classes.
#include "embase.h"

#include <algorithm>
#include <cstring>

emClassType::emClassType(const char* name, emClassType* base, Factory factory)
    : m_name(name), m_base(base), m_factory(factory)
{}

emClassType::~emClassType() = default;

bool emClassType::isOfClassType(const emClassType* type) const
{
    if (!type)
        return false;
    for (const emClassType* t = this; t; t = t->m_base)
        if (t == type)
            return true;
    return false;
}

emBase* emClassType::findInstance(const char* name, bool lock)
{
    if (!name)
        return nullptr;
    std::unique_lock<std::recursive_mutex> guard(m_lock, std::defer_lock);
    if (lock)
        guard.lock();
    for (emBase* instance : m_instances)
        if (std::strcmp(instance->getName(), name) == 0)
            return instance;
    return nullptr;
}

EM_CLASS_TYPE_DEFINE(emMemBase, "emMemBase", nullptr)
EM_CLASS_TYPE_DEFINE(emUserDataList, "emUserDataList", emMemBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(emPalette, "emPalette", emMemBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(emBase, "emBase", emMemBase::getStaticClassType())

// A copy has the original's name but no user data: the list belongs to the original.
emBase::emBase(const emBase& other) : emClassObject(), emMemBase(other), m_name(other.m_name) {}

emBase::~emBase() { delete m_userDataList; }

emUserDataList* emBase::getUserDataList(bool create)
{
    if (!m_userDataList && create)
        m_userDataList = new emUserDataList;
    return m_userDataList;
}

void emBase::registerInstance(emBase* instance, emClassType* type)
{
    if (!instance || !type)
        return;
    std::lock_guard<std::recursive_mutex> guard(type->m_lock);
    type->m_instances.push_back(instance);
}

// Removes the most recent registration of the instance; objects tend to go in reverse order.
void emBase::unregisterInstance(emBase* instance, emClassType* type)
{
    if (!instance || !type)
        return;
    std::lock_guard<std::recursive_mutex> guard(type->m_lock);
    std::vector<emBase*>& list = type->m_instances;
    auto found = std::find(list.rbegin(), list.rend(), instance);
    if (found != list.rend())
        list.erase(std::next(found).base());
}
