#include "akdebugscene.h"

#include <tels.h>

namespace {
bool s_initialized = false;
}

akDebugScene::akDebugScene() { reset(); }

akDebugScene::~akDebugScene() { reset(); }

void akDebugScene::reset()
{
    m_magicNumber = MAGIC_NUMBER;
    if (m_root)
        m_root->unref();
    m_root = nullptr;
    akDebug::reset();
}

int akDebugLaunchTool(const char* operation, const char* release, const char* debug, const char* fileName)
{
    emString directory;
    emCDO::getBinDir(directory, 6);
    emSearchPath path;
    path.set(directory.c_str());
    char found[1024];
    const char* tool = path.findFile(release, found, sizeof found);
    if (!tool)
        tool = path.findFile(debug, found, sizeof found);
    if (!tool) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "%s - unable to find tool", operation);
        return telu::FAILURE;
    }
    if (telu::spawnProcess(tool, fileName, nullptr, nullptr, nullptr, nullptr) == telu::FAILURE) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "%s - unable to launch tool", operation);
        return telu::FAILURE;
    }
    return telu::SUCCESS;
}

int akDebugScene::write(const char* fileName, const kiNode* root, bool launchTool)
{
    emFile* file = openFile(fileName, "wb", "akDebugScene::write");
    if (!file)
        return telu::FAILURE;
    int result = write(file, root);
    if (result != telu::SUCCESS || !launchTool)
        return result;
    return akDebugLaunchTool("akDebugScene::write", "DebugScene.exe", "DebugSceneD.exe", fileName);
}

int akDebugScene::write(emFile* file, const kiNode* root)
{
    if (!file || !file->isOpen()) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugScene::write - file is not open");
        return telu::FAILURE;
    }
    setFile(file);
    reset();
    if (writeFileHeader() == telu::FAILURE) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugScene::write - unable to write file header");
        return telu::FAILURE;
    }
    writeObject(root, false);
    // A file that could not be written completely is not reported as written.
    if (file->close() == telu::FAILURE || hasWriteFailed()) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugScene::write - unable to write file");
        return telu::FAILURE;
    }
    return telu::SUCCESS;
}

int akDebugScene::read(const char* fileName)
{
    emFile* file = openFile(fileName, "rb", "akDebugScene::read");
    if (!file)
        return telu::FAILURE;
    return read(file);
}

int akDebugScene::read(emFile* file)
{
    if (!file || !file->isOpen()) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugScene::read - file is not open");
        return telu::FAILURE;
    }
    setFile(file);
    reset();
    if (readFileHeader() == telu::FAILURE) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugScene::read - unable to read file header");
        return telu::FAILURE;
    }
    m_root = readObject("Root");
    if (m_root)
        m_root->ref();
    // What could be read is kept for the viewer; a damaged file is still reported as one.
    if (!m_root || hasReadFailed()) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr,
                        hasPassedAttributeLimit() ? "akDebugScene::read - file refused: too many attributes"
                                                  : "akDebugScene::read - file is damaged");
        return telu::FAILURE;
    }
    return telu::SUCCESS;
}

int akDebugScene::initializeClass()
{
    s_initialized = true;
    return telu::SUCCESS;
}

int akDebugScene::shutdownClass()
{
    s_initialized = false;
    return telu::SUCCESS;
}
