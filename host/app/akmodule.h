// Application modules: a module is created by the exported entry function of its shared library
// ("<name>Initialize") and kept in the host's module registry.
#pragma once

#include <embase.h>

class akModule : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akModule(const char* name);
    ~akModule() override;
    akModule(const akModule&) = delete;
    akModule& operator=(const akModule&) = delete;

    virtual int initialize(int argc, char** argv) = 0;
    virtual void preConfigure() {}
    virtual void configure() {}
    virtual void unconfigure() {}
    virtual bool isConfigured() const { return false; }
    virtual void onFirstFrame() {}
    virtual void onLastFrame() {}
    virtual int shutdown() = 0;
    virtual bool isOfClassType(const emClassType* type) const { return getClassType()->isOfClassType(type); }
    virtual bool isExactClassType(const emClassType* type) const { return getClassType() == type; }

    // The registered module with this name, or null.
    static akModule* find(const char* name);
    static unsigned int size();

    // Opens the shared library of the module `name` ("lib<name>.so", searched in the directories
    // of $AK_MODULE_PATH, then in the library directory beside the program's, then by the system)
    // and calls its entry function "<name>Initialize". Null on failure, with a level 5 message.
    static akModule* load(const char* name);
};
