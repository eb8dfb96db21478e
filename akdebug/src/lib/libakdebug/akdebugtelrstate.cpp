#include "akdebugtelrstate.h"

namespace akdebugschema {

bool s_writingInheritState = false;

akDebugTypeDef* findElementTypeDef(olElement::Id id)
{
    return id ? akDebugTypeDef::find(id->getName()) : nullptr;
}

}  // namespace akdebugschema
