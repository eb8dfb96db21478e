#include "akdebugmodule.h"

#include "akdebug.h"
#include "akdebugapp.h"
#include "akdebugdraw.h"
#include "akdebugenv.h"
#include "akdebugfx.h"
#include "akdebugscene.h"
#include "akdebugtelrdraw.h"
#include "akdebugtels.h"
#include "akdebugtelu.h"

#include <cstring>

emClassType* akDebugModule::s_classType = nullptr;

namespace {

const std::vector<emBase*> s_noInstances;

// A host library's registration as a step of the class chain.
template <akdebugschema::Registration& types>
int registerTypes()
{
    return types.registerTypes();
}
template <akdebugschema::Registration& types>
int removeTypes()
{
    return types.removeTypes();
}

// The class chain, in initialisation order; shutdown runs the shutdown functions in reverse.
struct Step
{
    int (*initialize)();
    int (*shutdown)();
};
const Step s_chain[] = {
    {akDebugTypeDef::initializeClass, akDebugTypeDef::shutdownClass},
    {akDebugType::initializeClass, akDebugType::shutdownClass},
    {akDebugAttributeBase::initializeClass, akDebugAttributeBase::shutdownClass},
    {akDebug::initializeClass, akDebug::shutdownClass},
    {akDebugDraw::initializeClass, akDebugDraw::shutdownClass},
    {akDebugScene::initializeClass, akDebugScene::shutdownClass},
    {registerTypes<akdebugschema::utilityTypes>, removeTypes<akdebugschema::utilityTypes>},
    {registerTypes<akdebugschema::renderTypes>, removeTypes<akdebugschema::renderTypes>},
    {registerTypes<akdebugschema::sceneGraphTypes>, removeTypes<akdebugschema::sceneGraphTypes>},
    {registerTypes<akdebugschema::applicationTypes>, removeTypes<akdebugschema::applicationTypes>},
    {registerTypes<akdebugschema::environmentTypes>, removeTypes<akdebugschema::environmentTypes>},
    {registerTypes<akdebugschema::effectsTypes>, removeTypes<akdebugschema::effectsTypes>},
};

}  // namespace

akModule* akdebugCreateModule() { return new akDebugModule; }

extern "C" akModule* akdebugInitialize()
{
    if (akModule* module = akModule::find("akdebug"))
        return module;
    telu::initializeClassSessionBegin("ak_base_rtl");
    int result = akDebugModule::initializeClass();
    telu::initializeClassSessionEnd();
    if (result != telu::SUCCESS) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr,
                        "akdebugInitialize - initialization failed! Unable to initialize akDebug.");
        TELU_ASSERT(result == telu::SUCCESS, AKDEBUG_SOURCE_MODULE);
    }
    akModule* module = akdebugCreateModule();
    emNotify::print(emNotify::LEVEL_INFO, nullptr, "akdebugInitialize - akDebugModule instance: 0x%x",
                    static_cast<unsigned int>(reinterpret_cast<uintptr_t>(module)));
    return module;
}

akDebugModule::akDebugModule() : akModule("akdebug") { emBase::registerInstance(this, s_classType); }

akDebugModule::~akDebugModule()
{
    unconfigure();
    emBase::unregisterInstance(this, s_classType);
    if (shutdownClass() == telu::FAILURE)
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebugModule::~akDebugModule - unable to shutdown class");
}

int akDebugModule::initialize(int, char**)
{
    if (m_configured)
        return telu::SUCCESS;
    if (telu::initializeClassSessionBegin("ak_base_rtl") != telu::SUCCESS) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr,
                        "akDebugModule::initialize - class initialization session failed");
        TELU_ASSERT(false, AKDEBUG_SOURCE_MODULE);
    }
    int result = telu::SUCCESS;
    for (const Step& step : s_chain)
        if ((result = step.initialize()) == telu::FAILURE)
            break;
    telu::initializeClassSessionEnd();
    if (result == telu::FAILURE) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebugModule::initialize - unable to initialize");
        return telu::FAILURE;
    }
    return telu::SUCCESS;
}

int akDebugModule::shutdown()
{
    for (size_t i = sizeof s_chain / sizeof s_chain[0]; i-- > 0;)
        if (s_chain[i].shutdown() == telu::FAILURE) {
            emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebugModule::shutdown - unable to shutdown");
            return telu::FAILURE;
        }
    m_configured = false;
    return telu::SUCCESS;
}

void akDebugModule::preConfigure() {}
void akDebugModule::configure() { m_configured = true; }
void akDebugModule::unconfigure() { m_configured = false; }
bool akDebugModule::isConfigured() const { return m_configured; }
void akDebugModule::onFirstFrame() {}
void akDebugModule::onLastFrame() {}

emClassType* akDebugModule::getClassType() const { return s_classType; }
emClassType* akDebugModule::getStaticClassType() { return s_classType; }

bool akDebugModule::isOfClassType(const emClassType* type) const
{
    return s_classType && s_classType->isOfClassType(type);
}

bool akDebugModule::isExactClassType(const emClassType* type) const { return s_classType && s_classType == type; }

int akDebugModule::initializeClass()
{
    if (!telu::inInitializeClassSession())
        return telu::FAILURE;
    if (s_classType)
        return telu::SUCCESS;
    emClassType* base = akModule::getStaticClassType();
    if (!base) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "%s::initializeClass - class type for \"%s\" does not exist",
                        "akDebugModule", "akModule");
        TELU_ASSERT(base != 0, AKDEBUG_SOURCE_MODULE);
    }
    s_classType = new emBase::ClassType("akDebugModule", base, akDebugModule::create, true, false);
    return telu::SUCCESS;
}

int akDebugModule::shutdownClass()
{
    delete s_classType;
    s_classType = nullptr;
    return telu::SUCCESS;
}

emBase* akDebugModule::create() { return nullptr; }

akDebugModule* akDebugModule::find(const char* name)
{
    if (!s_classType)
        return nullptr;
    return static_cast<akDebugModule*>(s_classType->findInstance(name, true));
}

akDebugModule* akDebugModule::find(const char* name, int n)
{
    if (!s_classType || !name)
        return nullptr;
    s_classType->lock_instance();
    akDebugModule* found = nullptr;
    for (auto it = s_classType->begin_instance(); it != s_classType->end_instance() && !found; ++it)
        if (std::strcmp((*it)->getName(), name) == 0 && n-- == 0)
            found = static_cast<akDebugModule*>(*it);
    s_classType->unlock_instance();
    return found;
}

emClassType::const_iterator_instance akDebugModule::begin()
{
    return s_classType ? s_classType->begin_instance() : s_noInstances.begin();
}

emClassType::const_iterator_instance akDebugModule::end()
{
    return s_classType ? s_classType->end_instance() : s_noInstances.end();
}

unsigned int akDebugModule::size() { return s_classType ? s_classType->size_instance() : 0; }
bool akDebugModule::empty() { return size() == 0; }
