#include "akdebugtels.h"

int akDebugActiveMask::getValueString(char* buffer) const
{
    if (getValue() == kiSwitch::SELECT_NONE)
        return std::snprintf(buffer, s_stringBufferSize, "SELECT_NONE");
    if (getValue() == kiSwitch::SELECT_ALL)
        return std::snprintf(buffer, s_stringBufferSize, "SELECT_ALL");
    return akDebugAttribute<int>::getValueString(buffer);
}

int akDebugNumberOfLoops::getValueString(char* buffer) const
{
    if (getValue() == kiAnimation::LOOP_INFINITE)
        return std::snprintf(buffer, s_stringBufferSize, "LOOP_INFINITE");
    return akDebugAttribute<int>::getValueString(buffer);
}

int akDebugLastChildDuration::getValueString(char* buffer) const
{
    if (getValue() == kiAnimation::LAST_CHILD_DURATION_UNSPECIFIED)
        return std::snprintf(buffer, s_stringBufferSize, "LAST_CHILD_DURATION_UNSPECIFIED");
    return akDebugAttribute<double>::getValueString(buffer);
}
