// Enumeration attributes: a stored host enumeration shown by its qualified type name and by the
// name of its value.
#pragma once

#include "akdebugattributevalue.h"

// The name table of one enumeration: its qualified type name and the name of a value, null for a
// value without one. Specialised for every enumeration the module shows.
template <class E>
struct akDebugEnumTraits;

template <class E>
class AKDEBUG_API akDebugEnum : public akDebugAttribute<E>
{
public:
    akDebugEnum(const char* name, int value) : akDebugAttribute<E>(name, static_cast<E>(value)) {}

    int getValueString(char* buffer) const override
    {
        const char* text = akDebugEnumTraits<E>::name(static_cast<int>(this->getValue()));
        return akDebugPrintText(buffer, text ? text : "Undefined Enum");
    }
    int getTypeString(char* buffer) const override
    {
        return akDebugPrintText(buffer, akDebugEnumTraits<E>::typeName());
    }
    akDebugAttributeBase* makeCopy() const override
    {
        akDebugEnum* copy = new akDebugEnum(this->getName(), static_cast<int>(this->getValue()));
        copy->copyLocal(this);
        return copy;
    }
    bool compare(const akDebugAttributeBase* other) const override
    {
        return this->compareLocal(static_cast<const akDebugEnum*>(other));
    }
};

// Looks a value up in a table of (value, name) pairs.
struct akDebugEnumEntry
{
    int value;
    const char* name;
};

template <size_t N>
const char* akDebugEnumLookup(const akDebugEnumEntry (&table)[N], int value)
{
    for (const akDebugEnumEntry& entry : table)
        if (entry.value == value)
            return entry.name;
    return nullptr;
}
