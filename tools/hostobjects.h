// What the sample world and the demo's place build from: the host objects a builder owns until it
// ends, and nodes added under a parent, which holds them from then on.
#pragma once

#include <tels.h>

#include <memory>
#include <utility>
#include <vector>

class HostObjects
{
protected:
    // A host object kept until the builder ends (or releases what it owns).
    template <class T, class... Args>
    T* own(Args&&... args)
    {
        T* object = new T(std::forward<Args>(args)...);
        m_owned.emplace_back(object);
        return object;
    }
    // A node added under `parent`, which holds it from then on.
    template <class T>
    T* node(kiNode* parent, const char* name)
    {
        T* child = new T(name);
        parent->addChild(child);
        return child;
    }

    std::vector<std::unique_ptr<emClassObject>> m_owned;
};
