#include "kinode.h"

#include <algorithm>
#include <unordered_set>

EM_CLASS_TYPE_DEFINE(kiNode, "kiNode", emBase::getStaticClassType())

namespace {

// Removes the first occurrence of `node` from `list`; false when it is not there.
bool eraseOne(std::vector<kiNode*>& list, const kiNode* node)
{
    auto it = std::find(list.begin(), list.end(), node);
    if (it == list.end())
        return false;
    list.erase(it);
    return true;
}

}  // namespace

kiNode::kiNode(const char* name) : emBase(name) {}

kiNode::~kiNode()
{
    // Leave the child lists of the parents that still list this node.
    for (kiNode* parent : m_parents)
        parent->m_children.erase(std::remove(parent->m_children.begin(), parent->m_children.end(), this),
                                 parent->m_children.end());
    m_parents.clear();

    std::vector<kiNode*> children;
    children.swap(m_children);
    for (kiNode* child : children) {
        eraseOne(child->m_parents, this);
        release(child);
    }
}

int kiNode::release(kiNode* node)
{
    if (!node)
        return 0;
    int count = node->unref();
    if (count <= 0)
        delete node;
    return count;
}

bool kiNode::isAncestor(const kiNode* node) const
{
    // Walks the parent links from this node; a visited set keeps shared subgraphs linear.
    std::vector<const kiNode*> pending{this};
    std::unordered_set<const kiNode*> visited;
    while (!pending.empty()) {
        const kiNode* current = pending.back();
        pending.pop_back();
        if (current == node)
            return true;
        if (!visited.insert(current).second)
            continue;
        pending.insert(pending.end(), current->m_parents.begin(), current->m_parents.end());
    }
    return false;
}

int kiNode::addChild(kiNode* child)
{
    if (!child) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "kiNode::addChild - child is null");
        return telu::FAILURE;
    }
    if (isAncestor(child)) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "kiNode::addChild - child would close a cycle");
        return telu::FAILURE;
    }
    child->ref();
    child->m_parents.push_back(this);
    m_children.push_back(child);
    return telu::SUCCESS;
}

int kiNode::removeChild(kiNode* child)
{
    if (!child || !eraseOne(m_children, child))
        return telu::FAILURE;
    eraseOne(child->m_parents, this);
    release(child);
    return telu::SUCCESS;
}
