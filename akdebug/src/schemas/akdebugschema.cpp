#include "akdebugschema.h"

#include <cstring>

namespace akdebugschema {

void appendName(std::vector<char>& text, const char* name)
{
    if (!text.empty()) {
        text.pop_back();  // the NUL
        for (const char* p = " |\n"; *p; ++p)
            text.push_back(*p);
    }
    text.insert(text.end(), name, name + std::strlen(name));
    text.push_back('\0');
}

const char* joinedText(std::vector<char>& text)
{
    if (text.empty())
        text.push_back('\0');
    return text.data();
}

akDebugObject* classLevel(akDebug* stream, akDebugObject* object, akDebugTypeDef* def)
{
    akDebugType* type = stream->getType(def);
    if (object->getType() == type)
        return object;
    akDebugObject* level = new akDebugObject(type ? type->getName() : def->getName(), type);
    object->insert_child(level);
    return level;
}

}  // namespace akdebugschema
