// A host application: the module loaded by its name, a scene written and read back.
#include <akdebugmodule.h>
#include <akdebugscene.h>
#include <tels.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    const char* file = argc > 1 ? argv[1] : "consumer.akdebug";
    akModule* module = akModule::load("akdebug");
    if (!module || module->initialize(0, nullptr) != telu::SUCCESS)
        return 1;
    module->configure();
    int status = 1;
    {
        kiNode* root = new kiNode("consumer root");
        root->addChild(new kiTransform("consumer transform"));
        akDebugScene scene;
        if (scene.write(file, root, false) == telu::SUCCESS && scene.read(file) == telu::SUCCESS && scene.getRoot() &&
            scene.getRoot()->size_child() > 0)
            status = 0;
        kiNode::release(root);
        std::printf("%s: %s\n", file, status == 0 ? "written and read back" : "failed");
    }
    module->shutdown();
    delete module;
    return status;
}
