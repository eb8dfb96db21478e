// Schemas of what is drawn and where: draw-function data, geometry, fonts, render strategies, the draw context, the
// channel and the pixel buffer.
#pragma once

#include "akdebugenums.h"
#include "akdebugregistration.h"
#include "akdebugtelrstate.h"
#include "akdebugtelu.h"

#include <telr.h>

#include <algorithm>
#include <cstddef>
#include <tuple>
#include <type_traits>

namespace akdebugschema {

// ---- Blocks shared by the draw-function data, the geometries and the light points ----

// The result and the I-th argument (pointer removed) of a getter lambda.
template <class F>
struct Signature : Signature<decltype(&F::operator())>
{};
template <class C, class R, class... A>
struct Signature<R (C::*)(A...) const>
{
    using Result = std::decay_t<R>;
    template <size_t I>
    using Arg = std::remove_pointer_t<std::tuple_element_t<I, std::tuple<A...>>>;
};
// The element type of an array getter's result.
template <class P>
using ElementOf = std::remove_cv_t<std::remove_pointer_t<P>>;

// A getter of no array, giving the element type T to a reader.
template <class T>
struct NoArray
{
    const T* operator()() const { return nullptr; }
};

// The count stored for an array: none when the host hands out no array, whatever count it gives.
inline int storedCount(const void* values, int count) { return values ? count : 0; }

// Vertex array block without binding: int n, then (n > 0) the address and n elements, each read
// into a Kind attribute. get() gives the array, count() its number of elements.
template <class Kind, class Io, class Get, class Count>
void vertexArray(Io& io, const char* name, Get get, Count count)
{
    using T = ElementOf<ValueType<Get>>;
    const int n = io.counted(elementBytes<T>(), [&] { return storedCount(get(), count()); });
    arrayElements<Kind>(io, name, n, get);
}

// Bound vertex array block: int binding (an enumeration attribute), then the array as above.
// get(Binding*) gives the array and fills its binding.
template <class Kind, class Io, class Get, class Count>
void boundArray(Io& io, const char* bindingName, const char* name, Get get, Count count)
{
    using Binding = typename Signature<Get>::template Arg<0>;
    using T = ElementOf<typename Signature<Get>::Result>;
    Binding binding{};
    const T* values = nullptr;
    if constexpr (!Io::reading)
        values = get(&binding);
    io.enumeration(bindingName, [&] { return binding; });
    const int n = io.counted(elementBytes<T>(), [&] { return storedCount(values, count()); });
    arrayElements<Kind>(io, name, n, [&] { return values; });
}

// Primitive lengths: n is the number of ints the lengths block was allocated for (not the number
// of primitives), 0 without a block; then the address and the n ints as one array write.
template <class Io, class Get>
void primitiveLengths(Io& io, const char* name, Get get)
{
    const int n = io.counted(sizeof(int), [&] {
        const size_t ints = get() ? emGetSizeRequested(get()) / sizeof(int) : 0;
        return static_cast<int>(std::min<size_t>(ints, 0x7FFFFFFF));
    });
    arrayElements<akDebugAttribute<int>>(io, name, n, get);
}

// Floats per texture coordinate of a stored dimension: 1 to 3 for 0 to 2, 4 for any other value.
inline int texCoordFloats(int dimension) { return dimension >= 0 && dimension <= 2 ? dimension + 1 : 4; }

// Texture coordinates of the 8 stages, each: int binding, int n, and when n > 0 the int dimension,
// the address and n elements of 1 to 4 floats. get(stage, Binding*, Dimension*) gives a stage's
// coordinates and fills its binding and dimension, count(stage) their number.
template <class Io, class Get, class Count>
void textureCoordinates(Io& io, Get get, Count count)
{
    using Binding = typename Signature<Get>::template Arg<1>;
    using Dimension = typename Signature<Get>::template Arg<2>;
    akDebug* stream = io.stream();
    for (int s = 0; s < OL_NUM_STAGES; ++s) {
        if constexpr (Io::reading) {
            const char* name = io.name("Texture Coordinates, Stage %d", s);
            io.add(new akDebugEnum<Binding>(io.name("Texture Coordinate Binding, Stage %d", s), stream->read<int>()));
            const int n = stream->readCount(sizeof(float));
            if (n <= 0) {
                io.add(new akDebugArray<void>(name, 0));
                continue;
            }
            const int dimension = stream->read<int>();
            io.add(new akDebugEnum<Dimension>(io.name("Texture Coordinate Dimension, Stage %d", s), dimension));
            // The reader needs only the element type of the coordinates.
            switch (texCoordFloats(dimension)) {
            case 1: arrayElements<akDebugAttribute<float>>(io, name, n, NoArray<float>()); break;
            case 2: arrayElements<akDebugST<float>>(io, name, n, NoArray<emVec2<float>>()); break;
            case 3: arrayElements<akDebugSTQ<float>>(io, name, n, NoArray<emVec3<float>>()); break;
            default: arrayElements<akDebugSTQR<float>>(io, name, n, NoArray<emVec4<float>>()); break;
            }
        } else {
            Binding binding{};
            Dimension dimension{};
            const float* values = get(s, &binding, &dimension);
            const int n = storedCount(values, count(s));
            stream->write<int>(static_cast<int>(binding));
            stream->write<int>(n);
            if (n <= 0)
                continue;
            stream->write<int>(static_cast<int>(dimension));
            stream->write<unsigned int>(stream->getAddress(values));
            const size_t floats = static_cast<size_t>(texCoordFloats(static_cast<int>(dimension)));
            for (size_t i = 0; i < static_cast<size_t>(n); ++i)
                stream->write(values + i * floats, static_cast<unsigned int>(floats));
        }
    }
}

// Tool tip of a persistent attributes mask: the names of its set bits joined by " |\n", empty
// when none is set.
void registerPersistentAttributesTip(akDebugAttributeBase* mask, unsigned int value);

// The format (an enumeration) and the persistent attributes mask, from one getter that returns the
// format and fills the mask. The reader reads both values before it builds the two attributes.
template <class Io, class Get>
void formatAndAttributes(Io& io, const char* formatName, const char* maskName, Get get)
{
    using Format = typename Signature<Get>::Result;
    akDebug* stream = io.stream();
    if constexpr (Io::reading) {
        const int format = stream->read<int>();
        const unsigned int mask = stream->read<unsigned int>();
        io.add(new akDebugEnum<Format>(formatName, format));
        registerPersistentAttributesTip(io.add(new akDebugBitmask<unsigned int>(maskName, mask)), mask);
    } else {
        unsigned int mask = 0;
        const Format format = get(&mask);
        stream->write<int>(static_cast<int>(format));
        stream->write<unsigned int>(mask);
    }
}

// ---- Blocks of the draw context ----

// A state written as a draw context's inherit state: the flag that the state's validation is
// given stays set for the duration of this one object write.
template <class Io, class Get>
void inheritState(Io& io, const char* name, Get get)
{
    if constexpr (Io::reading) {
        io.object(name, get);
    } else {
        const bool outer = s_writingInheritState;
        s_writingInheritState = true;
        io.object(name, get);
        s_writingInheritState = outer;
    }
}

// The element kinds of a draw context: int n = count(), then per kind id = idAt(i): the element
// (an object written under the kind's type definition, a null record when unset) into the group
// elementsName, under its type's name; the preserve flag into the group preserveName, named after
// that element object; and a validation block with the kind's messages, registered on the
// context's own group and kept off its copies.
template <class Io, class Count, class IdAt, class Element, class Preserve, class Validate>
void elementKinds(Io& io, const char* elementsName, const char* preserveName, Count count, IdAt idAt, Element element,
                  Preserve preserve, Validate validate)
{
    akDebug* stream = io.stream();
    if constexpr (Io::reading) {
        akDebugGroup* elements = io.add(new akDebugGroup(elementsName));
        akDebugGroup* enables = io.add(new akDebugGroup(preserveName));
        // At least a null record, a bool and a message count per kind.
        const int n = stream->readCount(OBJECT_BYTES + 2 * sizeof(int));
        for (int i = 0; i < n && !stream->hasReadFailed(); ++i) {
            akDebugObject* object = stream->readObject(nullptr);
            const bool enable = stream->read<bool>();
            if (object) {
                elements->insert_child(object);
                enables->insert_child(new akDebugAttribute<bool>(object->getName(), enable));
            }
            io.validation(validate, true);
        }
    } else {
        const int n = count();
        stream->write<int>(n);
        for (int i = 0; i < n; ++i) {
            const olElement::Id id = idAt(i);
            const olElement* object = element(id);
            stream->writeObject(object, findElementTypeDef(stream, id, object), false);
            stream->write<bool>(preserve(id));
            io.validation([&](Messages& messages) { validate(id, messages); }, true);
        }
    }
}

// ---- Schemas ----

struct OlDrawFuncData
{
    using Host = olDrawFunc::Data;
    using Base = void;
    using Binding = olDrawFunc::Binding;
    using Dimension = olDrawFunc::Dimension;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Primitive", [&] { return h->primitive; });
        io.value("Number of Primitives", [&] { return h->numPrimitives; });
        primitiveLengths(io, "Primitive Lengths", [&] { return h->primitiveLengths; });
        boundArray<akDebugRGBA>(
            io, "Color Binding", "Colors",
            [&](Binding* b) {
                *b = h->colorBinding;
                return h->colors;
            },
            [&] { return h->numColors; });
        boundArray<akDebugXYZ<float>>(
            io, "Normal Binding", "Normals",
            [&](Binding* b) {
                *b = h->normalBinding;
                return h->normals;
            },
            [&] { return h->numNormals; });
        textureCoordinates(
            io,
            [&](int s, Binding* b, Dimension* d) {
                *b = h->texCoordBinding[s];
                *d = h->texCoordDimension[s];
                return h->texCoords[s];
            },
            [&](int s) { return h->numTexCoords[s]; });
        vertexArray<akDebugXYZ<float>>(
            io, "Vertices", [&] { return h->vertices; }, [&] { return h->numVertices; });
        boundArray<akDebugAttribute<unsigned short>>(
            io, "Index Binding", "Indices",
            [&](Binding* b) {
                *b = h->indexBinding;
                return h->indices;
            },
            [&] { return h->numIndices; });
        formatAndAttributes(io, "Format", "Persistent Attributes", [&](unsigned int* mask) {
            *mask = h->persistentAttributes;
            return h->format;
        });
        io.value("Display List Enable", [&] { return h->displayListEnable; });
        io.box("Bounding Box", [&] { return h->boundingBox; });
        io.box("Texture Coordinate Bounding Box", [&] { return h->texCoordBoundingBox; });
        io.value(
            "Maximum Active Stage", [&] { return h->maxActiveStage; }, ADVANCED);
        io.value(
            "Transparent", [&] { return h->transparent; }, ADVANCED);
        io.validation([&](Messages& messages) { olDrawFunc::validate(h, 4, messages); });
    }
};

// A pixel buffer's record carries no payload.
struct OlWindowPixelBuffer : NoFields
{
    using Host = olWindow::PixelBuffer;
    using Base = void;
};

struct OlRenderStrategy : NoFields
{
    using Host = olRenderStrategy;
    using Base = EmMemBase;
};

struct OlChannel : NoFields
{
    using Host = olChannel;
    using Base = EmBase;
};

// Written in full every time it is met (its type does not share repeats).
struct OlDrawContext
{
    using Host = olDrawContext;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        inheritState(io, "Inherit State", [&] { return h->getInheritState(); });
        elementKinds(
            io, "Elements", "Preserve Enables", [] { return olElement::size_context(); },
            [](int i) { return olElement::begin_context()[i]; }, [&](olElement::Id id) { return h->getElement(id); },
            [&](olElement::Id id) { return h->getPreserveEnable(id); },
            [&](olElement::Id id, Messages& messages) { h->validateElement(id, 4, messages); });
    }
};

struct OlFont
{
    using Host = olFont;
    using Base = EmBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Italic", [&] { return h->getItalic(); });
        io.value("Underline", [&] { return h->getUnderline(); });
        io.value("Bold", [&] { return h->getBold(); });
    }
};

struct OlGeometryBase
{
    using Host = olGeometryBase;
    using Base = EmBase;
    using Binding = olGeometryBase::Binding;
    using Dimension = olGeometryBase::Dimension;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.enumeration("Primitive", [&] { return h->getPrimitive(); });
        io.value("Number of Primitives", [&] { return h->getNumPrimitives(); });
        primitiveLengths(io, "Primitive Lengths", [&] { return h->getPrimitiveLengths(); });
        boundArray<akDebugRGBA>(
            io, "Color Binding", "Colors", [&](Binding* b) { return h->getColors(b); },
            [&] { return h->getNumColors(); });
        boundArray<akDebugXYZ<float>>(
            io, "Normal Binding", "Normals", [&](Binding* b) { return h->getNormals(b); },
            [&] { return h->getNumNormals(); });
        textureCoordinates(
            io, [&](int s, Binding* b, Dimension* d) { return h->getTextureCoords(s, b, d); },
            [&](int s) { return h->getNumTextureCoords(s); });
        vertexArray<akDebugXYZ<float>>(
            io, "Vertices", [&] { return h->getVertices(); }, [&] { return h->getNumVertices(); });
        boundArray<akDebugAttribute<unsigned short>>(
            io, "Index Binding", "Indices", [&](Binding* b) { return h->getIndices(b); },
            [&] { return h->getNumIndices(); });
        formatAndAttributes(io, "Format", "Persistent Attributes",
                            [&](unsigned int* mask) { return h->getFormat(mask); });
        io.value("Display List Enable", [&] { return h->getDisplayListEnable(); });
        io.object("Render Strategy", [&] { return h->getRenderStrategy(); });
        io.box("Bounding Box", [&] { return h->getBoundingBox(); });
        io.box("Texture Coordinate Bounding Box", [&] { return h->getTextureCoordBoundingBox(); });
        io.value(
            "Maximum Active Stage", [&] { return h->getMaxActiveStage(); }, ADVANCED);
        io.value(
            "Transparent", [&] { return h->isTransparent(); }, ADVANCED);
        io.validation([&](Messages& messages) { h->validate(4, messages); });
    }
};

struct OlRenderStrategyBounds
{
    using Host = olRenderStrategyBounds;
    using Base = OlRenderStrategy;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Render Geometry Enable", [&] { return h->getRenderGeometryEnable(); });
        io.value("Wireframe Enable", [&] { return h->getWireframeEnable(); });
        io.value("Line Width", [&] { return h->getLineWidth(); });
        io.vector(RGBA, "Color", [&](float* v) { h->getColor(&v[0], &v[1], &v[2], &v[3]); });
    }
};

struct OlRenderStrategyHighlight
{
    using Host = olRenderStrategyHighlight;
    using Base = OlRenderStrategy;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Wireframe Enable", [&] { return h->getWireframeEnable(); });
        io.value("Line Width", [&] { return h->getLineWidth(); });
        io.vector(RGBA, "Color", [&](float* v) { h->getColor(&v[0], &v[1], &v[2], &v[3]); });
    }
};

struct OlRenderStrategyNormals
{
    using Host = olRenderStrategyNormals;
    using Base = OlRenderStrategy;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Length", [&] { return h->getLength(); });
        io.value("Line Width", [&] { return h->getLineWidth(); });
        io.vector(RGBA, "Color", [&](float* v) { h->getColor(&v[0], &v[1], &v[2], &v[3]); });
    }
};

struct OlFont2D : NoFields
{
    using Host = olFont2D;
    using Base = OlFont;
};

// The name of one of the 256 character codes of a 3D font, built at registration.
const char* characterName(int code);

struct OlFont3D
{
    using Host = olFont3D;
    using Base = OlFont;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Italic Shear", [&] { return h->getItalicShear(); });
        io.value("Bold Line Width", [&] { return h->getBoldLineWidth(); });
        io.value("Underline Offset", [&] { return h->getUnderlineOffset(); });
        io.group("Characters", [&] {
            for (int c = 0; c < olFont3D::NUM_CHARACTERS; ++c)
                io.group(characterName(c), [&] {
                    io.object("Geometry", [&] { return h->getGeometry(c); });
                    io.vector(XYZ, "Spacing", [&](float* v) { std::copy_n(h->getSpacing(c).data(), 3, v); });
                });
        });
    }
};

struct OlBox
{
    using Host = olBox;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.box("Box", [&] { return h->getBox(); });
    }
};

struct OlFrustum
{
    using Host = olFrustum;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.frustum("Frustum", [&] { return h->getFrustum(); });
    }
};

struct OlGeometry : NoFields
{
    using Host = olGeometry;
    using Base = OlGeometryBase;
};

struct OlLightPoint
{
    using Host = olLightPoint;
    using Base = OlGeometryBase;
    using Binding = olGeometryBase::Binding;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        boundArray<akDebugRGBA>(
            io, "Color Binding, Back", "Colors, Back", [&](Binding* b) { return h->getColorsBack(b); },
            [&] { return h->getNumColorsBack(); });
        io.object("Light Point Appearance", [&] { return h->getLightPointAppearance(); });
        io.object("Light Point Animation", [&] { return h->getLightPointAnimation(); });
    }
};

struct OlPlane
{
    using Host = olPlane;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Size", [&] { return h->getSize(); });
        io.plane("Plane", [&] { return h->getPlane(); });
    }
};

struct OlSphere
{
    using Host = olSphere;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.sphere("Sphere", [&] { return h->getSphere(); });
    }
};

struct OlString
{
    using Host = olString;
    using Base = OlGeometryBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.string("String", [&] { return h->getString(); });
        io.object("Font", [&] { return h->getFont(); });
    }
};

// The type definitions of the render library.
extern Registration renderTypes;

}  // namespace akdebugschema
