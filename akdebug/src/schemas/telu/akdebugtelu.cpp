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

// The utility library's type definitions, in the order of the type table.
void addUtilityTypes(Registration& r)
{
    akDebugTypeDef* memBase = r.add<EmMemBase>("emMemBase", nullptr, 0);
    r.add<EmBase>("emBase", memBase, 0);
    r.add<EmPalette>("emPalette", memBase, ADDRESS_AND_REPEATS);
    r.add<EmUserDataList>("emUserDataList", memBase, ADDRESS_AND_REPEATS);
}

}  // namespace

Registration utilityTypes(addUtilityTypes);

}  // namespace akdebugschema
