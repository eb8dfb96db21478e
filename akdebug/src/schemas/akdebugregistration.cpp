#include "akdebugregistration.h"

namespace akdebugschema {

int Registration::registerTypes()
{
    if (m_last)
        return telu::SUCCESS;
    m_failed = false;
    m_body(*this);
    if (!m_failed)
        return telu::SUCCESS;
    undo();
    return telu::FAILURE;
}

int Registration::removeTypes()
{
    undo();
    return telu::SUCCESS;
}

void Registration::build(void (*make)(), void (*release)())
{
    if (m_failed)
        return;
    make();
    m_last = new Addition{nullptr, release, m_last};
}

bool Registration::canAdd(const akDebugTypeDef* def, const char* name)
{
    if (m_failed)
        return false;
    if (def)  // in place already: added twice, or not cleared by a removal
        fail(name);
    return !m_failed;
}

akDebugTypeDef* Registration::added(akDebugTypeDef*& def, const char* name)
{
    m_last = new Addition{&def, nullptr, m_last};
    // The registry refuses nothing itself: a definition it does not find under its name is not the
    // one a file's type table would resolve to.
    if (akDebugTypeDef::find(def->getName()) == def)
        return def;
    fail(name);
    return nullptr;
}

void Registration::fail(const char* name)
{
    m_failed = true;
    emNotify::print(emNotify::LEVEL_FAIL, nullptr,
                    "akdebugschema::Registration::registerTypes - unable to register type definition \"%s\"", name);
}

void Registration::undo()
{
    while (Addition* last = m_last) {
        m_last = last->previous;
        if (last->def) {
            delete *last->def;
            *last->def = nullptr;
        } else {
            last->release();
        }
        delete last;
    }
}

}  // namespace akdebugschema
