// The attribute tree that a debug file becomes when read: named, reference-counted attributes,
// groups, object and element nodes, and the process-wide registries of error marks, tool tips and
// persistent names.
#pragma once

#include "akdebugallocator.h"
#include "akdebugexport.h"

#include <telu.h>

#include <cstddef>
#include <map>
#include <utility>
#include <vector>

class akDebugObject;
class akDebugType;

class akDebugAttributeBase;

// The children of a group: one pointer to a block of the host allocator that holds the count, the
// room and the child pointers; no block while there are no children.
class AKDEBUG_API akDebugChildList
{
public:
    using const_iterator = akDebugAttributeBase* const*;

    akDebugChildList() = default;
    ~akDebugChildList() { clear(); }
    akDebugChildList(const akDebugChildList&) = delete;
    akDebugChildList& operator=(const akDebugChildList&) = delete;

    const_iterator begin() const { return m_block ? items() : nullptr; }
    const_iterator end() const { return m_block ? items() + m_block->size : nullptr; }
    unsigned int size() const { return m_block ? m_block->size : 0; }
    bool empty() const { return size() == 0; }
    akDebugAttributeBase* operator[](unsigned int i) const { return items()[i]; }

    void push_back(akDebugAttributeBase* child)
    {
        if (!m_block || m_block->size == m_block->room)
            reserve(m_block && m_block->room ? 2 * m_block->room : 4);
        items()[m_block->size++] = child;
    }
    // Makes room for this many children in all.
    void reserve(unsigned int room);
    void erase(unsigned int i);
    // Frees the block; the children are left to the caller.
    void clear();

private:
    struct Block
    {
        unsigned int size;
        unsigned int room;
    };
    akDebugAttributeBase** items() const { return reinterpret_cast<akDebugAttributeBase**>(m_block + 1); }

    Block* m_block = nullptr;
};

class AKDEBUG_API akDebugAttributeBase
{
public:
    using const_iterator = akDebugChildList::const_iterator;
    using const_iterator_child = const_iterator;
    using const_iterator_parent = akDebugAttributeBase* const*;
    using ErrorMap = std::multimap<const akDebugAttributeBase*, std::pair<emNotify::Level, char*>>;
    using const_iterator_error = ErrorMap::const_iterator;

    // Size of the buffers that callers hand to getValueString and getTypeString; longer texts are
    // cut to fit.
    static const unsigned int s_stringBufferSize = 2048;

    // Flag bits.
    enum Flags : unsigned short {
        FLAG_ADVANCED = 0x1,
        FLAG_TOOL_TIP = 0x2,
        FLAG_ERROR = 0x4,
        FLAG_ERROR_LOCAL = 0x8
    };

    explicit akDebugAttributeBase(const char* name);

    virtual int getValueString(char* buffer) const;
    virtual int getTypeString(char* buffer) const;
    virtual akDebugType* getType() const;
    virtual const_iterator_child begin_child() const;
    virtual const_iterator_child end_child() const;
    virtual unsigned int size_child() const;
    virtual bool empty_child() const;
    virtual akDebugAttributeBase* makeCopy() const = 0;
    virtual bool compare(const akDebugAttributeBase* other) const = 0;
    virtual unsigned short ref();
    virtual unsigned short unref();
    virtual unsigned short getRef() const;

    const char* getName() const { return m_name; }

    const_iterator_parent begin_parent() const { return m_numParents > 1 ? m_parents.many : &m_parents.one; }
    const_iterator_parent end_parent() const { return begin_parent() + m_numParents; }
    unsigned int size_parent() const { return m_numParents; }
    bool empty_parent() const { return m_numParents == 0; }
    int insert_parent(akDebugAttributeBase* parent);
    int erase_parent(const_iterator_parent position);
    bool hasParent(const akDebugAttributeBase* parent) const;

    // The nearest object or element on the first-parent chain, this one included.
    const akDebugObject* getParentObject() const;

    static void* operator new(size_t size);
    static void operator delete(void* block, size_t size);
    static void* operator new(size_t size, const char* file, unsigned int line);
    static void operator delete(void* block, const char* file, unsigned int line);
    static void* operator new(size_t, void* where) { return where; }
    static void operator delete(void*, void*) {}

    static int initializeClass();
    static int shutdownClass();

    static void registerAdvanced(akDebugAttributeBase* attribute);
    static bool isAdvanced(const akDebugAttributeBase* attribute);
    static void registerToolTip(akDebugAttributeBase* attribute, const char* text);
    static const char* getToolTip(const akDebugAttributeBase* attribute);
    static void registerError(akDebugAttributeBase* attribute, emNotify::Level level, const char* message,
                              bool keepLocal);
    static emNotify::Level getMaxErrorLevel(const akDebugAttributeBase* attribute);
    static const_iterator_error begin_error();
    static const_iterator_error end_error();
    static unsigned int size_error();
    static bool empty_error();
    // All error entries of one attribute, in registration order.
    static std::pair<const_iterator_error, const_iterator_error> range_error(const akDebugAttributeBase* attribute);

    static const char* getPersistentName(const char* name);
    // The persistent name of `pattern` formatted with `index` ("Representation %d" and 2 give
    // "Representation 2"); the pattern must be a text that lives as long as the process.
    static const char* getPersistentName(const char* pattern, int index);
    static const char* getPersistentIndexName(int index);

    // Attributes constructed and destroyed on the calling thread since it started: a reader
    // counts what it builds.
    static unsigned long long getNumCreated();
    static unsigned long long getNumDestroyed();

protected:
    virtual ~akDebugAttributeBase();
    bool compareLocal(const akDebugAttributeBase* other) const;
    void copyLocal(const akDebugAttributeBase* source);

private:
    friend class akDebugGroup;
    akDebugAttributeBase(const akDebugAttributeBase&) = delete;
    akDebugAttributeBase& operator=(const akDebugAttributeBase&) = delete;

    const char* m_name;
    unsigned short m_ref = 0;
    unsigned short m_flags = 0;
    // The parent list: almost every attribute has one parent, kept in place; more live in a block
    // of the host allocator.
    unsigned int m_numParents = 0;
    union {
        akDebugAttributeBase* one;
        akDebugAttributeBase** many;
    } m_parents{nullptr};

    static thread_local unsigned long long s_numCreated;
    static thread_local unsigned long long s_numDestroyed;
};

class AKDEBUG_API akDebugGroup : public akDebugAttributeBase
{
public:
    explicit akDebugGroup(const char* name);

    int getValueString(char* buffer) const override;
    int getTypeString(char* buffer) const override;
    const_iterator_child begin_child() const override { return m_children.begin(); }
    const_iterator_child end_child() const override { return m_children.end(); }
    unsigned int size_child() const override { return static_cast<unsigned int>(m_children.size()); }
    bool empty_child() const override { return m_children.empty(); }
    akDebugAttributeBase* makeCopy() const override;
    bool compare(const akDebugAttributeBase* other) const override;

    int insert_child(akDebugAttributeBase* child);
    // Makes room for this many children in all.
    void reserve_child(unsigned int count) { m_children.reserve(count); }
    int erase_child(const_iterator_child position);
    // The first child with this name (compared as text), or null.
    akDebugAttributeBase* findChild(const char* name) const;

protected:
    ~akDebugGroup() override;
    void copyLocal(const akDebugGroup* source);
    bool compareLocal(const akDebugGroup* other) const;

private:
    akDebugChildList m_children;
};

class AKDEBUG_API akDebugObject : public akDebugGroup
{
public:
    akDebugObject(const char* name, unsigned int address, akDebugType* type);
    akDebugObject(const char* name, akDebugType* type);

    static akDebugObject* create(const char* name, unsigned int address, akDebugType* type);

    int getValueString(char* buffer) const override;
    int getTypeString(char* buffer) const override;
    akDebugType* getType() const override { return m_type; }
    akDebugAttributeBase* makeCopy() const override;
    bool compare(const akDebugAttributeBase* other) const override;

    unsigned int getValue() const { return m_address; }
    bool hasAddress() const { return m_hasAddress; }

protected:
    void copyLocal(const akDebugObject* source);
    bool compareLocal(const akDebugObject* other) const;

private:
    bool m_hasAddress;
    unsigned int m_address;
    akDebugType* m_type;
};

class AKDEBUG_API akDebugElement : public akDebugObject
{
public:
    akDebugElement(const char* name, unsigned int address, akDebugType* type);
    akDebugElement(const char* name, akDebugType* type);

    static akDebugObject* create(const char* name, unsigned int address, akDebugType* type);

    int getValueString(char* buffer) const override;
    int getTypeString(char* buffer) const override;
    akDebugAttributeBase* makeCopy() const override;
    bool compare(const akDebugAttributeBase* other) const override;

protected:
    void copyLocal(const akDebugElement* source);
    bool compareLocal(const akDebugElement* other) const;
};
