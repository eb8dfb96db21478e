#include "akdebugtelrdraw.h"

#include <iterator>
#include <vector>

namespace akdebugschema {

namespace {

// Bit i of a persistent attributes mask.
const char* const s_persistentAttributeNames[] = {
    "ATTRIBUTE_COLOR",           "ATTRIBUTE_NORMAL",          "ATTRIBUTE_VERTEX",          "ATTRIBUTE_INDEX",
    "ATTRIBUTE_TEXTURE_COORD_0", "ATTRIBUTE_TEXTURE_COORD_1", "ATTRIBUTE_TEXTURE_COORD_2", "ATTRIBUTE_TEXTURE_COORD_3",
    "ATTRIBUTE_TEXTURE_COORD_4", "ATTRIBUTE_TEXTURE_COORD_5", "ATTRIBUTE_TEXTURE_COORD_6", "ATTRIBUTE_TEXTURE_COORD_7",
};

}  // namespace

void registerPersistentAttributesTip(akDebugAttributeBase* mask, unsigned int value)
{
    std::vector<char> text;
    for (int bit = 0; bit < static_cast<int>(std::size(s_persistentAttributeNames)); ++bit)
        if ((value >> bit) & 1u)
            appendName(text, s_persistentAttributeNames[bit]);
    akDebugAttributeBase::registerToolTip(mask, joinedText(text));
}

}  // namespace akdebugschema
