#include "akmodule.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

EM_CLASS_TYPE_DEFINE(akModule, "akModule", emBase::getStaticClassType())

namespace {

std::vector<akModule*>& registry()
{
    static std::vector<akModule*> modules;
    return modules;
}

std::vector<std::string> searchDirectories()
{
    std::vector<std::string> directories;
    if (const char* path = std::getenv("AK_MODULE_PATH")) {
        std::string all = path;
        size_t start = 0;
        while (start <= all.size()) {
            size_t end = all.find(':', start);
            if (end == std::string::npos)
                end = all.size();
            if (end > start)
                directories.push_back(all.substr(start, end - start));
            start = end + 1;
        }
    }
    emString binDir;
    emCDO::getBinDir(binDir, 6);
    directories.push_back(std::string(binDir.c_str()) + "/../lib");
    return directories;
}

}  // namespace

akModule::akModule(const char* name) : emBase(name) { registry().push_back(this); }

akModule::~akModule()
{
    auto& modules = registry();
    modules.erase(std::remove(modules.begin(), modules.end(), this), modules.end());
}

akModule* akModule::find(const char* name)
{
    if (!name)
        return nullptr;
    for (akModule* module : registry())
        if (std::strcmp(module->getName(), name) == 0)
            return module;
    return nullptr;
}

unsigned int akModule::size() { return static_cast<unsigned int>(registry().size()); }

akModule* akModule::load(const char* name)
{
    if (!name || !*name)
        return nullptr;
    const std::string file = std::string("lib") + name + ".so";
    void* library = nullptr;
    for (std::string path : searchDirectories()) {
        path.append("/").append(file);
        if ((library = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL)))
            break;
    }
    if (!library)
        library = dlopen(file.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!library) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akModule::load - unable to open module \"%s\"", name);
        return nullptr;
    }
    using Entry = akModule* (*)();
    std::string entryName = std::string(name) + "Initialize";
    Entry entry = reinterpret_cast<Entry>(dlsym(library, entryName.c_str()));
    if (!entry) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akModule::load - module \"%s\" has no entry function", name);
        return nullptr;
    }
    return entry();
}
