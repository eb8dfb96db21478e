// The attribute tree that a debug file becomes when read: named, reference-counted attributes,
// groups, object and element nodes, and the process-wide registries of error marks, tool tips and
// persistent names.
#pragma once

#include "akdebugexport.h"

#include <telu.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

class akDebugObject;
class akDebugType;

// Copies a text into a buffer of akDebugAttributeBase::s_stringBufferSize bytes, cut to fit, and
// returns its length, as snprintf with "%s" does: type and value strings are made by the million.
AKDEBUG_API int akDebugPrintText(char* buffer, const char* text);

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

    const_iterator begin() const { return block() ? items() : nullptr; }
    const_iterator end() const { return block() ? items() + block()->size : nullptr; }
    unsigned int size() const { return block() ? block()->size : 0; }
    bool empty() const { return size() == 0; }
    akDebugAttributeBase* operator[](unsigned int i) const { return items()[i]; }

    void push_back(akDebugAttributeBase* child)
    {
        if (!block() || block()->size == block()->room)
            reserve(block() ? 2 * block()->room + 1 : 3);
        items()[block()->size++] = child;
    }
    // Makes room for at least this many children in all. Blocks hold an odd number of children,
    // so that with their count and room they fill a multiple of 16 bytes, the host allocator's
    // size classes.
    void reserve(unsigned int room);
    // Moves the children into the smallest block that holds them, when that is smaller.
    void shrink();
    void erase(unsigned int i);
    // Frees the block; the children are left to the caller.
    void clear();
    // Sixteen bits that the list keeps for its owner beside the block's address.
    unsigned short getSpare() const { return static_cast<unsigned short>(m_word >> 48); }
    void setSpare(unsigned short bits) { m_word = (m_word & s_blockMask) | (static_cast<uintptr_t>(bits) << 48); }

private:
    struct Block
    {
        unsigned int size;
        unsigned int room;
    };
    akDebugAttributeBase** items() const { return reinterpret_cast<akDebugAttributeBase**>(block() + 1); }
    static constexpr uintptr_t s_blockMask = (uintptr_t(1) << 48) - 1;
    Block* block() const { return reinterpret_cast<Block*>(m_word & s_blockMask); }
    void setBlock(Block* allocated) { m_word = (m_word & ~s_blockMask) | reinterpret_cast<uintptr_t>(allocated); }

    // The block's address in the low 48 bits; the high 16 are the owner's (getSpare).
    uintptr_t m_word = 0;
};

// The parents of an attribute, in the order they were entered.
class AKDEBUG_API akDebugParentIterator
{
public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = akDebugAttributeBase*;
    using difference_type = std::ptrdiff_t;
    using pointer = akDebugAttributeBase* const*;
    using reference = akDebugAttributeBase*;

    akDebugParentIterator() = default;
    akDebugParentIterator(const akDebugAttributeBase* owner, unsigned int index) : m_owner(owner), m_index(index) {}

    reference operator*() const;
    reference operator[](difference_type n) const { return *(*this + n); }
    unsigned int index() const { return m_index; }

    akDebugParentIterator& operator++()
    {
        ++m_index;
        return *this;
    }
    akDebugParentIterator operator++(int)
    {
        akDebugParentIterator old = *this;
        ++m_index;
        return old;
    }
    akDebugParentIterator& operator--()
    {
        --m_index;
        return *this;
    }
    akDebugParentIterator operator--(int)
    {
        akDebugParentIterator old = *this;
        --m_index;
        return old;
    }
    akDebugParentIterator& operator+=(difference_type n)
    {
        m_index = static_cast<unsigned int>(m_index + n);
        return *this;
    }
    akDebugParentIterator& operator-=(difference_type n) { return *this += -n; }
    akDebugParentIterator operator+(difference_type n) const { return akDebugParentIterator(*this) += n; }
    akDebugParentIterator operator-(difference_type n) const { return akDebugParentIterator(*this) -= n; }
    difference_type operator-(const akDebugParentIterator& other) const
    {
        return static_cast<difference_type>(m_index) - static_cast<difference_type>(other.m_index);
    }
    bool operator==(const akDebugParentIterator& other) const
    {
        return m_owner == other.m_owner && m_index == other.m_index;
    }
    bool operator!=(const akDebugParentIterator& other) const { return !(*this == other); }
    bool operator<(const akDebugParentIterator& other) const { return m_index < other.m_index; }
    bool operator>(const akDebugParentIterator& other) const { return other < *this; }
    bool operator<=(const akDebugParentIterator& other) const { return !(other < *this); }
    bool operator>=(const akDebugParentIterator& other) const { return !(*this < other); }

private:
    const akDebugAttributeBase* m_owner = nullptr;
    unsigned int m_index = 0;
};

class AKDEBUG_API akDebugAttributeBase
{
public:
    using const_iterator = akDebugChildList::const_iterator;
    using const_iterator_child = const_iterator;
    using const_iterator_parent = akDebugParentIterator;
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
        FLAG_ERROR_LOCAL = 0x8,
        FLAG_MANY_PARENTS = 0x10,  // the parent word holds a block of parents
        FLAG_HAS_ADDRESS = 0x20,   // an object that stands for a host object
        FLAG_BIT_TIP = 0x40        // the tool tip is the bit string of the mask value it holds
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

    const char* getName() const { return reinterpret_cast<const char*>(m_nameAndRef & s_pointerMask); }

    const_iterator_parent begin_parent() const { return {this, 0}; }
    const_iterator_parent end_parent() const { return {this, size_parent()}; }
    unsigned int size_parent() const
    {
        if (flags() & FLAG_MANY_PARENTS)
            return parentBlock()->size;
        return parentWord() ? 1 : 0;
    }
    bool empty_parent() const { return parentWord() == 0; }
    // The i-th parent, for i below size_parent().
    akDebugAttributeBase* getParent(unsigned int i) const
    {
        if (flags() & FLAG_MANY_PARENTS)
            return parentBlock()->items()[i];
        return reinterpret_cast<akDebugAttributeBase*>(parentWord());
    }
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

    unsigned short flags() const { return static_cast<unsigned short>(m_parentAndFlags >> s_pointerBits); }
    void setFlags(unsigned short on, bool set)
    {
        const uintptr_t bits = static_cast<uintptr_t>(on) << s_pointerBits;
        m_parentAndFlags = set ? (m_parentAndFlags | bits) : (m_parentAndFlags & ~bits);
    }

private:
    friend class akDebugGroup;
    akDebugAttributeBase(const akDebugAttributeBase&) = delete;
    akDebugAttributeBase& operator=(const akDebugAttributeBase&) = delete;

    // An attribute tree holds millions of attributes, so each keeps two words besides its table
    // pointer: the name with the reference count, and the parent with the flags. User-space
    // addresses fit in the low 48 bits; the high 16 hold the count or the flags.
    static constexpr int s_pointerBits = 48;
    static constexpr uintptr_t s_pointerMask = (uintptr_t(1) << s_pointerBits) - 1;
    static_assert(sizeof(uintptr_t) == 8, "attributes pack pointers into 64-bit words");

    // More than one parent: a block of the host allocator with the count, the room and the parents.
    struct ParentBlock
    {
        unsigned int size;
        unsigned int room;
        akDebugAttributeBase** items() { return reinterpret_cast<akDebugAttributeBase**>(this + 1); }
    };

    unsigned short refCount() const { return static_cast<unsigned short>(m_nameAndRef >> s_pointerBits); }
    void setRefCount(unsigned short count)
    {
        m_nameAndRef = (m_nameAndRef & s_pointerMask) | (static_cast<uintptr_t>(count) << s_pointerBits);
    }
    uintptr_t parentWord() const { return m_parentAndFlags & s_pointerMask; }
    void setParentWord(uintptr_t word) { m_parentAndFlags = (m_parentAndFlags & ~s_pointerMask) | word; }
    ParentBlock* parentBlock() const { return reinterpret_cast<ParentBlock*>(parentWord()); }
    // Enters a parent that is not in the list yet, at its end.
    void addParent(akDebugAttributeBase* parent);
    // Takes this parent out of the list, when it is in it.
    void removeParent(const akDebugAttributeBase* parent);
    // The tool tip and the errors of a copy's source.
    void copyMarks(const akDebugAttributeBase* source);

    uintptr_t m_nameAndRef = 0;
    uintptr_t m_parentAndFlags = 0;

    static thread_local unsigned long long s_numCreated __attribute__((tls_model("initial-exec")));
    static thread_local unsigned long long s_numDestroyed __attribute__((tls_model("initial-exec")));
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
    // Gives back the room that no child takes.
    void shrink_child() { m_children.shrink(); }
    int erase_child(const_iterator_child position);
    // The first child with this name (compared as text), or null.
    akDebugAttributeBase* findChild(const char* name) const;

protected:
    ~akDebugGroup() override;
    void copyLocal(const akDebugGroup* source);
    bool compareLocal(const akDebugGroup* other) const;
    // Sixteen bits beside the child list that a derived kind may keep a value in.
    unsigned short getChildSpare() const { return m_children.getSpare(); }
    void setChildSpare(unsigned short bits) { m_children.setSpare(bits); }

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
    akDebugType* getType() const override { return reinterpret_cast<akDebugType*>(m_typeWord & s_typeMask); }
    akDebugAttributeBase* makeCopy() const override;
    bool compare(const akDebugAttributeBase* other) const override;

    unsigned int getValue() const
    {
        return static_cast<unsigned int>(m_typeWord >> s_typeBits) << 16 | getChildSpare();
    }
    bool hasAddress() const { return (flags() & FLAG_HAS_ADDRESS) != 0; }

protected:
    void copyLocal(const akDebugObject* source);
    bool compareLocal(const akDebugObject* other) const;

private:
    void setTypeAndAddress(akDebugType* type, unsigned int address);

    // Objects are the most numerous groups, so they keep their type and host address in two words
    // with the child list (five words in all): the type's pointer with the address's high half,
    // and the low half beside the child list.
    static constexpr int s_typeBits = 48;
    static constexpr uintptr_t s_typeMask = (uintptr_t(1) << s_typeBits) - 1;
    uintptr_t m_typeWord = 0;
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
