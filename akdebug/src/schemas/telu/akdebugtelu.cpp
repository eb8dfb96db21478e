#include "akdebugtelu.h"

emBaseName::emBaseName(const char* name, const char* value) : akDebugString(name, value)
{
    // Registered for the object whose record is being read when its type indexes it; objects of
    // unindexed types, and copies made outside reading, have no current object.
    if (!value || !*value || !akDebugType::s_currentObject || !akDebugType::s_currentType)
        return;
    m_lowerCase = getValue();
    m_lowerCase.toLower();
    // The indexes keep the pointers: both texts live as long as this attribute.
    akDebugType::s_currentType->registerName(akDebugType::s_currentObject, getValue().c_str(), m_lowerCase.c_str());
}

akDebugAttributeBase* emBaseName::makeCopy() const
{
    emBaseName* copy = new emBaseName(getName(), getValue().c_str());
    copy->copyLocal(this);
    if (copy->m_lowerCase.empty())
        copy->m_lowerCase = m_lowerCase;
    return copy;
}

namespace akdebugschema {

namespace {
bool s_registered = false;
}

int registerUtilityTypes()
{
    if (s_registered)
        return telu::SUCCESS;
    akDebugTypeDef* memBase = Schema<EmMemBase>::add("emMemBase", nullptr, 0);
    Schema<EmBase>::add("emBase", memBase, 0);
    Schema<EmPalette>::add("emPalette", memBase, ADDRESS_AND_REPEATS);
    Schema<EmUserDataList>::add("emUserDataList", memBase, ADDRESS_AND_REPEATS);
    s_registered = true;
    return telu::SUCCESS;
}

int removeUtilityTypes()
{
    if (!s_registered)
        return telu::SUCCESS;
    Schema<EmUserDataList>::remove();
    Schema<EmPalette>::remove();
    Schema<EmBase>::remove();
    Schema<EmMemBase>::remove();
    s_registered = false;
    return telu::SUCCESS;
}

}  // namespace akdebugschema
