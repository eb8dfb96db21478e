#include "akdebugattributevalue.h"

const char* const akDebugCompoundNames::rows[4] = {"Row 0", "Row 1", "Row 2", "Row 3"};
const char* const akDebugCompoundNames::columns[4] = {"Column 0", "Column 1", "Column 2", "Column 3"};
const char* const akDebugCompoundNames::frustumPlanes[6] = {"Plane, Left", "Plane, Right", "Plane, Bottom",
                                                            "Plane, Top",  "Plane, Near",  "Plane, Far"};

akDebugArrayBase::~akDebugArrayBase() = default;

int akDebugArrayBase::getValueString(char* buffer) const
{
    return std::snprintf(buffer, s_stringBufferSize, "0x%X", m_address);
}
