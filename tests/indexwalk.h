// Every object that the type indexes of a stream hold, by address and by name, visited as a
// viewer's search meets them. Each must still be alive: the sanitizer builds catch one that is not.
#pragma once

#include <akdebug.h>
#include <akdebugattribute.h>
#include <akdebugtype.h>

#include <set>

namespace indexwalk {

inline unsigned int touchIndexedObjects(const akDebug& stream)
{
    unsigned int touched = 0;
    for (auto type = stream.begin_type(); type != stream.end_type(); ++type) {
        // An object indexed twice leads back to its first entry: each is visited once.
        std::set<const akDebugObject*> seen;
        for (const akDebugObject* object = (*type)->findObject(nullptr); object && seen.insert(object).second;
             object = (*type)->findObject(object))
            touched += object->getValue() != 0 && object->getName() != nullptr;
        seen.clear();
        for (const akDebugObject* object = (*type)->findObject("", 0, nullptr); object && seen.insert(object).second;
             object = (*type)->findObject("", 0, object))
            touched += object->getName() != nullptr;
    }
    return touched;
}

}  // namespace indexwalk
