// Scene snapshot: writes everything reachable from a root node into a scene file, starts the scene
// viewer tool on request, and reads a scene file back into an attribute tree.
#pragma once

#include "akdebug.h"

class kiNode;

class AKDEBUG_API akDebugScene : public akDebug
{
public:
    static const unsigned int MAGIC_NUMBER = 0xFAFAFAFA;

    akDebugScene();
    ~akDebugScene();

    int write(const char* fileName, const kiNode* root, bool launchTool);
    int write(emFile* file, const kiNode* root);
    int read(const char* fileName);
    int read(emFile* file);

    // The tree read from the last file (one reference held by the scene), or null.
    akDebugObject* getRoot() const { return m_root; }

    static int initializeClass();
    static int shutdownClass();

    void reset();

private:
    akDebugObject* m_root = nullptr;
};

// Looks a tool up in the host's tool directory ("X.exe", then "XD.exe") and starts it on the file.
// Reports with the operation name given; 1 or -32767.
int akDebugLaunchTool(const char* operation, const char* release, const char* debug, const char* fileName);
