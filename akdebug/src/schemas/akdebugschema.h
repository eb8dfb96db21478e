// The machinery behind the type schemas. Each host class's own fields are declared once, in a
// function template `fields(Io& io, const Host* host)` that both directions run: the Writer calls
// the getters and writes the values; the Reader never calls them (host is null), reads the values
// and builds the named attributes. Small combinators cover the recurring blocks.
#pragma once

#include "akdebug.h"
#include "akdebugattributeenum.h"
#include "akdebugattributevalue.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

namespace akdebugschema {

// Attribute marks.
enum Flags : unsigned int { NONE = 0, ADVANCED = 1 };

// Tool tip of a bit mask: the default bit string, none, or the names of the set bits.
struct BitNames
{
    const char* const* names;  // bit i's name, null for bits without one
    int count;
};
constexpr BitNames DEFAULT_TIP{nullptr, -1};
constexpr BitNames NO_TIP{nullptr, 0};

// Names joined by " |\n", the first one alone; empty when there are none.
void appendName(std::vector<char>& text, const char* name);
const char* joinedText(std::vector<char>& text);

// Validation messages as the host hands them out.
using Messages = std::vector<std::pair<emNotify::Level, emString>>;

template <class C>
const C* hostCast(void* object)
{
    return dynamic_cast<const C*>(static_cast<emClassObject*>(object));
}

// Minimum bytes of one object record in a file (type index and tag).
constexpr unsigned int OBJECT_BYTES = 8;

// The group a class level reads into: the object itself when it is of this type, otherwise a new
// sub-object named after the type, inserted into the object.
akDebugObject* classLevel(akDebug* stream, akDebugObject* object, akDebugTypeDef* def);

// Deduction helpers: the element type a fill function takes, and the value type of a getter.
template <class F>
struct FillArg : FillArg<decltype(&F::operator())>
{};
template <class C, class R, class A>
struct FillArg<R (C::*)(A*) const>
{
    using type = A;
};
template <class F>
using FillType = typename FillArg<F>::type;
template <class Get>
using ValueType = std::decay_t<decltype(std::declval<Get>()())>;
template <class Get>
using PointeeType = std::remove_cv_t<std::remove_pointer_t<ValueType<Get>>>;

// Tag naming the attribute kind of a value whose kind is not the plain one.
template <class Kind>
struct As
{};

// Vector kinds, whose components' type comes from the fill function.
template <template <class> class Kind>
struct VectorKind
{};
constexpr VectorKind<akDebugRGBAValue> RGBA{};
constexpr VectorKind<akDebugRGBValue> RGB{};
constexpr VectorKind<akDebugXYZ> XYZ{};
constexpr VectorKind<akDebugHPR> HPR{};
constexpr VectorKind<akDebugLLE> LLE{};
constexpr VectorKind<akDebugST> ST{};
constexpr VectorKind<akDebugSTQ> STQ{};
constexpr VectorKind<akDebugSTQR> STQR{};

class Writer
{
public:
    static constexpr bool reading = false;

    explicit Writer(akDebug* stream) : m_stream(stream) {}
    akDebug* stream() const { return m_stream; }

    // Names are needed by the reader only.
    const char* index(int) const { return nullptr; }
    const char* name(const char*, int) const { return nullptr; }

    template <class Get>
    void value(const char*, Get get, unsigned int = NONE)
    {
        m_stream->write<ValueType<Get>>(get());
    }
    // A value shown by an attribute kind of its own, stored as that kind's value type.
    template <class Kind, class Get>
    void value(As<Kind>, const char*, Get get, unsigned int = NONE)
    {
        using T = std::decay_t<decltype(std::declval<Kind>().getValue())>;
        m_stream->write<T>(static_cast<T>(get()));
    }
    template <class Get>
    void enumeration(const char*, Get get, unsigned int = NONE)
    {
        m_stream->write<int>(static_cast<int>(get()));
    }
    // A value or an enumeration that later fields depend on: returns it.
    template <class Get>
    ValueType<Get> valueKept(const char*, Get get, unsigned int = NONE)
    {
        const ValueType<Get> value = get();
        m_stream->write<ValueType<Get>>(value);
        return value;
    }
    template <class Get>
    int enumerationKept(const char*, Get get, unsigned int = NONE)
    {
        const int value = static_cast<int>(get());
        m_stream->write<int>(value);
        return value;
    }
    // A count of elements of at least `bytesPerElement` bytes each, with no attribute of its own.
    template <class Count>
    int counted(unsigned int, Count count)
    {
        const int n = static_cast<int>(count());
        m_stream->write<int>(n);
        return n;
    }
    // Several attributes from one getter that fills them, stored as one array.
    template <class Fill>
    void values(std::initializer_list<const char*> names, Fill fill, unsigned int = NONE)
    {
        FillType<Fill> v[8] = {};
        fill(v);
        m_stream->write(v, static_cast<unsigned int>(names.size()));
    }
    template <class Fill>
    void enumerations(std::initializer_list<const char*> names, Fill fill, unsigned int = NONE)
    {
        FillType<Fill> v[8] = {};
        fill(v);
        int stored[8] = {};
        for (size_t i = 0; i < names.size(); ++i)
            stored[i] = static_cast<int>(v[i]);
        m_stream->write(stored, static_cast<unsigned int>(names.size()));
    }
    template <class Get>
    void bitmask(const char*, Get get, BitNames = DEFAULT_TIP, unsigned int = NONE)
    {
        m_stream->write<ValueType<Get>>(get());
    }
    // A vector kind from a getter that fills its components.
    template <template <class> class Kind, class Fill>
    void vector(VectorKind<Kind>, const char*, Fill fill, unsigned int = NONE)
    {
        using V = std::decay_t<decltype(std::declval<Kind<FillType<Fill>>>().getValue())>;
        typename V::value_type v[V::size] = {};
        fill(v);
        m_stream->write(v, V::size);
    }
    template <class Get>
    void matrix(const char*, Get get, unsigned int = NONE)
    {
        const auto m = get();
        for (int r = 0; r < 4; ++r)
            m_stream->write(m.m[r], 4);
    }
    template <class Get>
    void box(const char*, Get get, unsigned int = NONE)
    {
        const auto b = get();
        m_stream->write(b.minimum.data(), 3);
        m_stream->write(b.maximum.data(), 3);
    }
    // Planes and spheres: 3 components, then the fourth.
    template <class Get>
    void plane(const char*, Get get, unsigned int = NONE)
    {
        writeFour(get());
    }
    template <class Get>
    void sphere(const char*, Get get, unsigned int = NONE)
    {
        writeFour(get());
    }
    template <class Get>
    void frustum(const char*, Get get, unsigned int = NONE)
    {
        const auto f = get();
        for (const auto& p : f.planes)
            writeFour(p);
    }
    template <class Get>
    void string(const char*, Get get, unsigned int = NONE)
    {
        m_stream->writeString(get());
    }
    template <class Kind, class Get>
    void string(As<Kind>, const char*, Get get, unsigned int = NONE)
    {
        m_stream->writeString(get());
    }
    // A full reference, written under the referenced object's most derived registered class.
    template <class Get>
    void object(const char*, Get get)
    {
        m_stream->writeObject(static_cast<const PointeeType<Get>*>(get()), false);
    }
    // A reference that carries only the address.
    template <class Get>
    void reference(const char*, Get get)
    {
        m_stream->writeObject(static_cast<const PointeeType<Get>*>(get()), true);
    }
    // A full reference written under a fixed type definition.
    template <class Get>
    void object(const char*, akDebugTypeDef* typeDef, Get get)
    {
        const emClassObject* object = get();
        m_stream->writeObject(object, typeDef, false);
    }
    template <class Body>
    void group(const char*, Body body)
    {
        body();
    }
    // A count, then one body per element; the reader keeps the elements in the current group.
    template <class Count, class Body>
    void count(unsigned int, Count count, Body body)
    {
        int n = static_cast<int>(count());
        m_stream->write<int>(n);
        for (int i = 0; i < n; ++i)
            body(i);
    }
    // A group holding a counted list.
    template <class Count, class Body>
    void list(const char*, unsigned int bytesPerElement, Count count, Body body)
    {
        this->count(bytesPerElement, count, body);
    }
    // One block per channel representation, each read into "Representation %d".
    template <class Body>
    void representations(Body body)
    {
        for (int i = 0; i < m_stream->getNumRepresentations(); ++i)
            body(i);
    }
    // Validation messages: a count, then a level and a text each; read back as error marks of the
    // object being read.
    template <class Collect>
    void validation(Collect collect, bool = false)
    {
        Messages messages;
        collect(messages);
        m_stream->write<int>(static_cast<int>(messages.size()));
        for (const auto& message : messages) {
            m_stream->write<int>(static_cast<int>(message.first));
            m_stream->writeString(message.second.c_str());
        }
    }

private:
    template <class V>
    void writeFour(const V& v)
    {
        m_stream->write(v.data(), 3);
        m_stream->write(v.data() + 3, 1);
    }

    akDebug* m_stream;
};

class Reader
{
public:
    static constexpr bool reading = true;

    Reader(akDebug* stream, akDebugGroup* object) : m_stream(stream), m_object(object), m_group(object) {}
    akDebug* stream() const { return m_stream; }
    // The object group being read, and the group attributes go into now.
    akDebugGroup* objectGroup() const { return m_object; }
    akDebugGroup* current() const { return m_group; }

    const char* index(int i) const { return akDebugAttributeBase::getPersistentIndexName(i); }
    const char* name(const char* pattern, int i) const { return akDebugAttributeBase::getPersistentName(pattern, i); }

    // Inserts an attribute into the current group.
    template <class A>
    A* add(A* attribute, unsigned int flags = NONE)
    {
        m_group->insert_child(attribute);
        if (flags & ADVANCED)
            akDebugAttributeBase::registerAdvanced(attribute);
        return attribute;
    }

    template <class Get>
    void value(const char* name, Get, unsigned int flags = NONE)
    {
        using T = ValueType<Get>;
        add(new akDebugAttribute<T>(name, m_stream->read<T>()), flags);
    }
    template <class Kind, class Get>
    void value(As<Kind>, const char* name, Get, unsigned int flags = NONE)
    {
        using T = std::decay_t<decltype(std::declval<Kind>().getValue())>;
        add(new Kind(name, m_stream->read<T>()), flags);
    }
    template <class Get>
    void enumeration(const char* name, Get, unsigned int flags = NONE)
    {
        add(new akDebugEnum<ValueType<Get>>(name, m_stream->read<int>()), flags);
    }
    template <class Get>
    ValueType<Get> valueKept(const char* name, Get, unsigned int flags = NONE)
    {
        const ValueType<Get> value = m_stream->read<ValueType<Get>>();
        add(new akDebugAttribute<ValueType<Get>>(name, value), flags);
        return value;
    }
    template <class Get>
    int enumerationKept(const char* name, Get, unsigned int flags = NONE)
    {
        const int value = m_stream->read<int>();
        add(new akDebugEnum<ValueType<Get>>(name, value), flags);
        return value;
    }
    template <class Count>
    int counted(unsigned int bytesPerElement, Count)
    {
        return m_stream->readCount(bytesPerElement);
    }
    template <class Fill>
    void values(std::initializer_list<const char*> names, Fill, unsigned int flags = NONE)
    {
        using T = FillType<Fill>;
        T v[8] = {};
        m_stream->read(v, static_cast<unsigned int>(names.size()));
        int i = 0;
        for (const char* name : names)
            add(new akDebugAttribute<T>(name, v[i++]), flags);
    }
    template <class Fill>
    void enumerations(std::initializer_list<const char*> names, Fill, unsigned int flags = NONE)
    {
        int v[8] = {};
        m_stream->read(v, static_cast<unsigned int>(names.size()));
        int i = 0;
        for (const char* name : names)
            add(new akDebugEnum<FillType<Fill>>(name, v[i++]), flags);
    }
    template <class Get>
    void bitmask(const char* name, Get, BitNames tip = DEFAULT_TIP, unsigned int flags = NONE)
    {
        using T = ValueType<Get>;
        T value = m_stream->read<T>();
        akDebugBitmask<T>* mask = add(new akDebugBitmask<T>(name, value), flags);
        if (tip.count < 0) {
            char bits[8 * sizeof(T) + 1];
            akDebugBitmask<T>::getDefaultToolTip(bits, value);
            akDebugAttributeBase::registerToolTip(mask, bits);
        } else if (tip.names) {
            std::vector<char> text;
            for (int i = 0; i < tip.count && i < static_cast<int>(8 * sizeof(T)); ++i)
                if (((value >> i) & 1) && tip.names[i])
                    appendName(text, tip.names[i]);
            akDebugAttributeBase::registerToolTip(mask, joinedText(text));
        }
    }
    template <template <class> class Kind, class Fill>
    void vector(VectorKind<Kind>, const char* name, Fill, unsigned int flags = NONE)
    {
        using K = Kind<FillType<Fill>>;
        using V = std::decay_t<decltype(std::declval<K>().getValue())>;
        V v;
        m_stream->read(v.data(), V::size);
        add(new K(name, v), flags);
    }
    template <class Get>
    void matrix(const char* name, Get, unsigned int flags = NONE)
    {
        using M = ValueType<Get>;
        M m;
        for (int r = 0; r < 4; ++r)
            m_stream->read(m.m[r], 4);
        add(new akDebugMatrix<std::decay_t<decltype(m.m[0][0])>>(name, m), flags);
    }
    template <class Get>
    void box(const char* name, Get, unsigned int flags = NONE)
    {
        using B = ValueType<Get>;
        B b;
        m_stream->read(b.minimum.data(), 3);
        m_stream->read(b.maximum.data(), 3);
        add(new akDebugBox<typename decltype(b.minimum)::value_type>(name, b), flags);
    }
    template <class Get>
    void plane(const char* name, Get, unsigned int flags = NONE)
    {
        using V = ValueType<Get>;
        add(new akDebugPlane<typename V::value_type>(name, readFour<V>()), flags);
    }
    template <class Get>
    void sphere(const char* name, Get, unsigned int flags = NONE)
    {
        using V = ValueType<Get>;
        add(new akDebugSphere<typename V::value_type>(name, readFour<V>()), flags);
    }
    template <class Get>
    void frustum(const char* name, Get, unsigned int flags = NONE)
    {
        using F = ValueType<Get>;
        using P = std::decay_t<decltype(std::declval<F>().planes[0])>;
        F f;
        for (auto& p : f.planes)
            p = readFour<P>();
        add(new akDebugFrustum<typename P::value_type>(name, f), flags);
    }
    template <class Get>
    void string(const char* name, Get get, unsigned int flags = NONE)
    {
        string(As<akDebugString>(), name, get, flags);
    }
    template <class Kind, class Get>
    void string(As<Kind>, const char* name, Get, unsigned int flags = NONE)
    {
        char text[akDebug::s_maxArraySize];
        m_stream->readString(text, sizeof text);
        add(new Kind(name, text), flags);
    }
    template <class Get>
    void object(const char* name, Get)
    {
        readObject(name);
    }
    template <class Get>
    void reference(const char* name, Get)
    {
        readObject(name);
    }
    template <class Get>
    void object(const char* name, akDebugTypeDef*, Get)
    {
        readObject(name);
    }
    akDebugObject* readObject(const char* name)
    {
        akDebugObject* object = m_stream->readObject(name);
        if (object)
            m_group->insert_child(object);
        return object;
    }
    template <class Body>
    void group(const char* name, Body body)
    {
        akDebugGroup* group = add(new akDebugGroup(name));
        akDebugGroup* outer = m_group;
        m_group = group;
        body();
        m_group = outer;
    }
    template <class Count, class Body>
    void count(unsigned int bytesPerElement, Count, Body body)
    {
        int n = m_stream->readCount(bytesPerElement);
        if (n > 0)
            m_group->reserve_child(m_group->size_child() + static_cast<unsigned int>(n));
        for (int i = 0; i < n && !m_stream->hasReadFailed(); ++i)
            body(i);
    }
    template <class Count, class Body>
    void list(const char* name, unsigned int bytesPerElement, Count count, Body body)
    {
        group(name, [&] { this->count(bytesPerElement, count, body); });
    }
    template <class Body>
    void representations(Body body)
    {
        for (int i = 0; i < m_stream->getNumRepresentations() && !m_stream->hasReadFailed(); ++i)
            group(name("Representation %d", i), [&] { body(i); });
    }
    template <class Collect>
    void validation(Collect, bool keepLocal = false)
    {
        int n = m_stream->readCount(8);
        char text[akDebug::s_maxArraySize];
        for (int i = 0; i < n && !m_stream->hasReadFailed(); ++i) {
            int level = m_stream->read<int>();
            m_stream->readString(text, sizeof text);
            akDebugAttributeBase::registerError(m_object, static_cast<emNotify::Level>(level), text, keepLocal);
        }
    }

private:
    template <class V>
    V readFour()
    {
        V v;
        m_stream->read(v.data(), 3);
        m_stream->read(v.data() + 3, 1);
        return v;
    }

    akDebug* m_stream;
    akDebugGroup* m_object;
    akDebugGroup* m_group;
};

// ---- arrays of host values ----

template <class T, class = void>
struct IsVector : std::false_type
{};
template <class T>
struct IsVector<T, std::void_t<typename T::value_type>> : std::true_type
{};

// Bytes one array element takes in a file.
template <class T>
constexpr unsigned int elementBytes()
{
    if constexpr (IsVector<T>::value)
        return T::size * sizeof(typename T::value_type);
    else
        return sizeof(T);
}

// One array element: a vector is one array write of its components, a scalar a single value.
template <class T>
void writeElement(akDebug* stream, const T& value)
{
    if constexpr (IsVector<T>::value)
        stream->write(value.data(), T::size);
    else
        stream->write<T>(value);
}
// n array elements, or n zero elements for a missing array: the same values as n single element
// writes, in few calls when the host's elements are packed components.
template <class T>
constexpr bool isPacked()
{
    if constexpr (IsVector<T>::value)
        return sizeof(T) == T::size * sizeof(typename T::value_type);
    else
        return true;
}

template <class T>
void writeElements(akDebug* stream, const T* values, int n)
{
    if constexpr (isPacked<T>()) {
        if (values) {
            constexpr int chunk = 1 << 20;
            for (int done = 0; done < n; done += chunk) {
                const unsigned int count = static_cast<unsigned int>(std::min(chunk, n - done));
                if constexpr (IsVector<T>::value)
                    stream->write(values[done].data(), count * T::size);
                else
                    stream->write(values + done, count);
            }
            return;
        }
    }
    for (int i = 0; i < n; ++i)
        writeElement(stream, values ? values[i] : T{});
}

template <class T>
T readElement(akDebug* stream)
{
    if constexpr (IsVector<T>::value) {
        T value;
        stream->read(value.data(), T::size);
        return value;
    } else {
        return stream->read<T>();
    }
}

// An array of n host values, n known from an earlier field: the array's address in the writing
// process, then the n elements; nothing at all when n is zero or less. Read into an
// akDebugArray<T> with that address and one Kind child per element, named by its index; with no
// elements the array has address 0. A missing host array is written as zero elements.
template <class Kind, class Io, class Get>
void arrayElements(Io& io, const char* name, int n, Get get)
{
    using T = std::remove_cv_t<std::remove_pointer_t<ValueType<Get>>>;
    akDebug* stream = io.stream();
    if constexpr (Io::reading) {
        n = stream->checkCount(n, elementBytes<T>());
        if (n <= 0) {
            io.add(new akDebugArray<T>(name, 0));
            return;
        }
        akDebugArray<T>* array = io.add(new akDebugArray<T>(name, stream->template read<unsigned int>()));
        array->reserve_child(static_cast<unsigned int>(n));
        for (int i = 0; i < n && !stream->hasReadFailed(); ++i)
            array->insert_child(new Kind(io.index(i), readElement<T>(stream)));
    } else {
        if (n <= 0)
            return;
        const T* values = get();
        stream->template write<unsigned int>(stream->getAddress(values));
        writeElements(stream, values, n);
    }
}

// The fields of a class that stores nothing beyond its base.
struct NoFields
{
    template <class Io, class Host>
    static void fields(Io&, const Host*)
    {}
};

// The schema of a class's second host base, or void.
template <class S, class = void>
struct SecondOf
{
    using type = void;
};
template <class S>
struct SecondOf<S, std::void_t<typename S::Second>>
{
    using type = typename S::Second;
};

// Glue between a schema and its type definition. A schema is a struct with
//   using Host = <host class>;
//   using Base = <schema whose functions run first, or void>;
//   using Second = <schema of a second host base, run after Base>;   (only where there is one)
//   template <class Io> static void fields(Io& io, const Host* host);
template <class S>
struct Schema
{
    static int write(akDebug* stream, void* object)
    {
        const typename S::Host* host = hostCast<typename S::Host>(object);
        return host ? writeFields(stream, host) : telu::FAILURE;
    }

    // The base classes' fields first, then this class's own; the host object converts to each
    // base through the class hierarchy (for a second base, the pointer moves to that subobject).
    static int writeFields(akDebug* stream, const typename S::Host* host)
    {
        using Base = typename S::Base;
        using Second = typename SecondOf<S>::type;
        if constexpr (!std::is_void<Base>::value)
            if (Schema<Base>::writeFields(stream, host) == telu::FAILURE)
                return telu::FAILURE;
        if constexpr (!std::is_void<Second>::value)
            if (Schema<Second>::writeFields(stream, host) == telu::FAILURE)
                return telu::FAILURE;
        Writer io(stream);
        S::fields(io, host);
        return telu::SUCCESS;
    }

    static int read(akDebug* stream, akDebugObject* object)
    {
        akDebugObject* group = classLevel(stream, object, def);
        using Base = typename S::Base;
        using Second = typename SecondOf<S>::type;
        if constexpr (!std::is_void<Base>::value)
            if (Schema<Base>::read(stream, group) == telu::FAILURE)
                return telu::FAILURE;
        if constexpr (!std::is_void<Second>::value)
            if (Schema<Second>::read(stream, group) == telu::FAILURE)
                return telu::FAILURE;
        Reader io(stream, group);
        S::fields(io, static_cast<const typename S::Host*>(nullptr));
        return telu::SUCCESS;
    }

    // The type definition, while a registration has it in place (see akdebugregistration.h).
    static akDebugTypeDef* def;
};

template <class S>
akDebugTypeDef* Schema<S>::def = nullptr;

// Options words of the registrations.
constexpr unsigned int ALL = static_cast<unsigned int>(-1);
constexpr unsigned int ADDRESS_AND_REPEATS =
    akDebugTypeDef::OPTION_INDEX_ADDRESS | akDebugTypeDef::OPTION_SHARE_REPEATS;
constexpr unsigned int INDEXES = akDebugTypeDef::OPTION_INDEX_ADDRESS | akDebugTypeDef::OPTION_INDEX_NAME;

}  // namespace akdebugschema
