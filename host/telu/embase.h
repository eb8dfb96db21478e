// Class types, instance lists and the utility host classes.
#pragma once

#include "telu.h"

class emBase;

// Root of every host class that has a class type. Inherited virtually, so an object has one root
// whatever its number of host bases, and a pointer to it identifies the object.
class emClassObject
{
public:
    virtual ~emClassObject() = default;
    virtual emClassType* getClassType() const = 0;
};

class emClassType
{
public:
    using Factory = emBase* (*)();

    emClassType(const char* name, emClassType* base, Factory factory = nullptr);
    virtual ~emClassType();
    emClassType(const emClassType&) = delete;
    emClassType& operator=(const emClassType&) = delete;

    const char* getName() const { return m_name.c_str(); }
    emClassType* getBase() const { return m_base; }
    Factory getFactory() const { return m_factory; }
    // True when `type` is this class type or one of its bases.
    bool isOfClassType(const emClassType* type) const;

    // Instance list, in registration order.
    using const_iterator_instance = std::vector<emBase*>::const_iterator;
    const_iterator_instance begin_instance() const { return m_instances.begin(); }
    const_iterator_instance end_instance() const { return m_instances.end(); }
    unsigned int size_instance() const { return static_cast<unsigned int>(m_instances.size()); }
    bool empty_instance() const { return m_instances.empty(); }
    void lock_instance() { m_lock.lock(); }
    void unlock_instance() { m_lock.unlock(); }
    // First instance with this name; `lock` takes the instance lock for the search.
    emBase* findInstance(const char* name, bool lock);

private:
    friend class emBase;
    emString m_name;
    emClassType* m_base;
    Factory m_factory;
    std::vector<emBase*> m_instances;
    std::recursive_mutex m_lock;
};

// Declares and defines the class-type accessors of a host class.
#define EM_CLASS_TYPE_DECLARE()               \
public:                                       \
    static emClassType* getStaticClassType(); \
    emClassType* getClassType() const override

#define EM_CLASS_TYPE_DEFINE(Class, Name, BaseTypeExpr) \
    emClassType* Class::getStaticClassType()            \
    {                                                   \
        static emClassType type(Name, BaseTypeExpr);    \
        return &type;                                   \
    }                                                   \
    emClassType* Class::getClassType() const { return getStaticClassType(); }

// Reference count and memory bookkeeping of host objects.
class emMemBase : public virtual emClassObject
{
    EM_CLASS_TYPE_DECLARE();

public:
    emMemBase() = default;
    emMemBase(const emMemBase&) : emClassObject() {}
    ~emMemBase() override = default;

    int getRef() const { return m_ref; }
    int ref() { return ++m_ref; }
    int unref() { return --m_ref; }
    unsigned int getSizeRequested() const { return m_sizeRequested; }
    unsigned int getSizeAllocated() const { return m_sizeAllocated; }
    void setSizes(unsigned int requested, unsigned int allocated)
    {
        m_sizeRequested = requested;
        m_sizeAllocated = allocated;
    }

private:
    int m_ref = 0;
    unsigned int m_sizeRequested = 0;
    unsigned int m_sizeAllocated = 0;
};

class emUserDataList : public emMemBase
{
    EM_CLASS_TYPE_DECLARE();
};

class emPalette : public emMemBase
{
    EM_CLASS_TYPE_DECLARE();
};

// Named host object with an optional user data list.
class emBase : public emMemBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    class ClassType : public emClassType
    {
    public:
        ClassType(const char* name, emClassType* base, Factory factory, bool, bool) : emClassType(name, base, factory)
        {}
    };

    explicit emBase(const char* name = nullptr) : m_name(name) {}
    emBase(const emBase& other);
    ~emBase() override;
    emBase& operator=(const emBase&) = delete;

    const char* getName() const { return m_name.c_str(); }
    void setName(const char* name) { m_name.assign(name); }
    // The user data list; made on demand when `create` is true, else null when there is none.
    emUserDataList* getUserDataList(bool create);

    static void registerInstance(emBase* instance, emClassType* type);
    static void unregisterInstance(emBase* instance, emClassType* type);

private:
    emString m_name;
    emUserDataList* m_userDataList = nullptr;
};
