#include "akdebugtelrstate.h"

namespace akdebugschema {

thread_local bool s_writingInheritState = false;

akDebugTypeDef* findElementTypeDef(akDebug* stream, olElement::Id id, const olElement* element)
{
    akDebugTypeDef* elementDef = Schema<OlElement>::def;
    // The usual case: an element of the kind's own class, whose nearest definition the stream keeps.
    if (!element || element->getClassType() == id) {
        if (akDebugTypeDef* const* cached = stream->findCachedTypeDef(id))
            return *cached;
        akDebugTypeDef* def = stream->findTypeDef(id);
        if (def && elementDef && def->isOfTypeDef(elementDef)) {
            stream->cacheTypeDef(id, def);
            return def;
        }
    }
    for (emClassType* type = id; type; type = type->getBase()) {
        akDebugTypeDef* def = akDebugTypeDef::find(type->getName());
        // Only an element definition that the element itself belongs to can write it in full.
        if (def && elementDef && def->isOfTypeDef(elementDef) &&
            (!element || element->getClassType()->isOfClassType(type)))
            return def;
    }
    return elementDef;
}

}  // namespace akdebugschema
