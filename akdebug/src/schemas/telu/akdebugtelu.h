// Schemas of the host utility library: the roots of every other schema, and the name attribute
// that enters an object's name in its type's name indexes.
#pragma once

#include "akdebugattributename.h"
#include "akdebugregistration.h"
#include "akdebugschema.h"

namespace akdebugschema {

struct EmMemBase
{
    using Host = emMemBase;
    using Base = void;
    template <class Io>
    static void fields(Io& io, const emMemBase* h)
    {
        io.value("Reference Count", [&] { return h->getRef(); });
        io.value(
            "Size Requested", [&] { return h->getSizeRequested(); }, ADVANCED);
        io.value(
            "Size Allocated", [&] { return h->getSizeAllocated(); }, ADVANCED);
    }
};

// A user data list's record carries no payload at all.
struct EmUserDataList : NoFields
{
    using Host = emUserDataList;
    using Base = void;
};

struct EmBase
{
    using Host = emBase;
    using Base = EmMemBase;
    template <class Io>
    static void fields(Io& io, const emBase* h)
    {
        io.string(As<emBaseName>(), "Name", [&] { return h->getName(); });
        io.object("User Data List", Schema<EmUserDataList>::def,
                  [&] { return const_cast<emBase*>(h)->getUserDataList(false); });
    }
};

struct EmPalette : NoFields
{
    using Host = emPalette;
    using Base = EmMemBase;
};

// The type definitions of the utility library.
extern Registration utilityTypes;

}  // namespace akdebugschema
