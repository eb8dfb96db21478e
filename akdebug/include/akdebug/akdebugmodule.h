// The module object that ties the library into the host: created by the exported entry function,
// it registers the capture core and every type definition when the host initialises it and tears
// them down in reverse order at shutdown.
#pragma once

#include "akdebugexport.h"

#include <akmodule.h>

class AKDEBUG_API akDebugModule : public akModule
{
public:
    ~akDebugModule() override;

    int initialize(int argc, char** argv) override;
    void preConfigure() override;
    void configure() override;
    void unconfigure() override;
    bool isConfigured() const override;
    void onFirstFrame() override;
    void onLastFrame() override;
    int shutdown() override;
    emClassType* getClassType() const override;
    bool isOfClassType(const emClassType* type) const override;
    bool isExactClassType(const emClassType* type) const override;

    static int initializeClass();
    static int shutdownClass();
    static emBase* create();
    static emClassType* getStaticClassType();

    static akDebugModule* find(const char* name);
    static akDebugModule* find(const char* name, int n);
    static emClassType::const_iterator_instance begin();
    static emClassType::const_iterator_instance end();
    static unsigned int size();
    static bool empty();

private:
    friend akModule* akdebugCreateModule();
    akDebugModule();

    bool m_configured = false;
    static emClassType* s_classType;
};

extern "C" AKDEBUG_API akModule* akdebugInitialize();
