// A host library's registration. One function adds the library's type definitions in the order of
// the type table, and builds what they need beside them; the registration records each addition,
// and removal undoes them, last first. Adding a type is one line in that function.
#pragma once

#include "akdebugschema.h"

namespace akdebugschema {

class Registration
{
public:
    using Body = void (*)(Registration&);

    constexpr explicit Registration(Body body) : m_body(body) {}
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

    // Runs the body unless its additions are in place already. A type definition that cannot be
    // registered (its schema or its name is registered already, or there is no registry) is
    // reported; the rest of the body adds nothing, what it added is removed again, and the result
    // is -32767.
    int registerTypes();
    // Removes what registerTypes added, last first; nothing when nothing is in place. Returns 1.
    int removeTypes();

    // In the body: registers the type definition of schema S with the base given here, keeps it
    // for the schemas that name it, and returns it; null once a registration of this body failed.
    template <class S>
    akDebugTypeDef* add(const char* name, akDebugTypeDef* base, unsigned int options,
                        akDebugTypeDef::CreateFunction create = akDebugObject::create)
    {
        akDebugTypeDef*& def = Schema<S>::def;
        if (!canAdd(def, name))
            return nullptr;
        def = new akDebugTypeDef(name, base, Schema<S>::read, Schema<S>::write, create, options);
        return added(def, name);
    }
    // In the body: builds something beside the type definitions; removal releases it in its place.
    void build(void (*make)(), void (*release)());

private:
    // One addition: a schema's type definition, or a release function; linked to the one before.
    struct Addition
    {
        akDebugTypeDef** def;
        void (*release)();
        Addition* previous;
    };

    bool canAdd(const akDebugTypeDef* def, const char* name);
    akDebugTypeDef* added(akDebugTypeDef*& def, const char* name);
    void fail(const char* name);
    void undo();

    Body m_body;
    Addition* m_last = nullptr;  // null when nothing is in place
    bool m_failed = false;
};

}  // namespace akdebugschema
