// The name attribute of a host object: a string that also enters the object in its type's name
// indexes while the object's payload is read, so that viewers find the object by name.
#pragma once

#include "akdebugattributevalue.h"

class AKDEBUG_API emBaseName : public akDebugString
{
public:
    emBaseName(const char* name, const char* value);
    akDebugAttributeBase* makeCopy() const override;
    const char* getLowerCase() const { return m_lowerCase.c_str(); }

protected:
    ~emBaseName() override = default;

private:
    emString m_lowerCase;
};
