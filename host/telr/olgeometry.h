// What is drawn: the raw vertex arrays of a draw function (olDrawFunc::Data) and the geometry
// classes (olGeometryBase with olGeometry, the shapes, text and light points).
//
// Queries without an exported host name (plain descriptive names, all virtual members of
// olGeometryBase):
//   getPrimitive, getNumPrimitives, getPrimitiveLengths,
//   getColors(Binding*), getNumColors, getNormals(Binding*), getNumNormals,
//   getTextureCoords(int stage, Binding*, Dimension*), getNumTextureCoords(int stage),
//   getVertices, getNumVertices, getIndices(Binding*), getNumIndices,
//   getRenderStrategy, getBoundingBox, getTextureCoordBoundingBox, getMaxActiveStage,
//   isTransparent, validate(int level, olMessageList&)
// (getFormat(unsigned int*) and getDisplayListEnable are the host's exported names.)
//
// Arrays are owned by the object holding them and are set through the setters, which copy. The
// primitive lengths are one block from emAllocRaw::mallocBlock, so emGetSizeRequested(block)
// gives its allocated size; the block may hold more ints than there are primitives.
#pragma once

#include <olelement.h>
#include <olrenderstrategy.h>
#include <olstateobjects.h>

#include <string>
#include <vector>

class olFont;

class olDrawFunc
{
public:
    enum Primitive : int {
        PRIMITIVE_POINT = 0,
        PRIMITIVE_LINE = 1,
        PRIMITIVE_LINE_STRIP = 2,
        PRIMITIVE_TRIANGLE = 3,
        PRIMITIVE_TRIANGLE_STRIP = 4,
        PRIMITIVE_TRIANGLE_FAN = 5,
        PRIMITIVE_QUAD = 6
    };
    enum Binding : int { BINDING_OFF = 0, BINDING_OVERALL = 1, BINDING_PRIMITIVE = 2, BINDING_VERTEX = 3 };
    // Floats per texture coordinate: 1 to 4.
    enum Dimension : int { DIMENSION_1 = 0, DIMENSION_2 = 1, DIMENSION_3 = 2, DIMENSION_4 = 3 };
    enum Format : int {
        FORMAT_IMMEDIATE_MODE = 0,
        FORMAT_INTERLEAVED_ARRAY = 1,
        FORMAT_VERTEX_ARRAY = 2,
        FORMAT_VERTEX_ARRAY_OBJECT = 3,
        FORMAT_VERTEX_BUFFER = 4,
        FORMAT_VERTEX_BUFFER_OBJECT = 5,
        FORMAT_WIREFRAME = 6
    };
    // Bits of the persistent attributes: arrays kept by the renderer between draws.
    enum Attribute : int {
        ATTRIBUTE_COLOR = 0x1,
        ATTRIBUTE_NORMAL = 0x2,
        ATTRIBUTE_VERTEX = 0x4,
        ATTRIBUTE_INDEX = 0x8,
        ATTRIBUTE_TEXTURE_COORD_0 = 0x10
    };

    // Floats per element of a texture coordinate array of dimension `dimension` (4 for any
    // value other than 0, 1 and 2).
    static int floatsPerTexCoord(int dimension);

    // The arrays a draw function receives. The public members are the data; the setters copy
    // the arrays into storage the structure owns and point the members at it. An array assigned
    // to a member directly stays its assigner's (a primitive lengths block assigned directly
    // must still come from emAllocRaw::mallocBlock).
    struct Data : public virtual emClassObject
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        Data();
        ~Data() override;
        Data(const Data&) = delete;
        Data& operator=(const Data&) = delete;

        // Copies `count` lengths into a new block of max(count, capacity) ints (the rest 0) and
        // sets numPrimitives to `count`. No block when both are 0 or less.
        void setPrimitiveLengths(const int* lengths, int count, int capacity = 0);
        // Copies the colors; sets `transparent` when one alpha is below 1.
        void setColors(Binding binding, const emVec4<float>* values, int count);
        void setNormals(Binding binding, const emVec3<float>* values, int count);
        // `count` elements of floatsPerTexCoord(dimension) floats each. Stages 0 to 7; also
        // updates maxActiveStage (the highest stage with coordinates, -1 when none).
        void setTexCoords(int stage, Binding binding, Dimension dimension, const float* values, int count);
        // Copies the vertices and sets the bounding box around them.
        void setVertices(const emVec3<float>* values, int count);
        void setIndices(Binding binding, const unsigned short* values, int count);

        // Messages reported by validation in addition to its own checks.
        void addValidationMessage(emNotify::Level level, const char* text);
        void clearValidationMessages() { m_injected.clear(); }
        const olMessageList& getValidationMessages() const { return m_injected; }

        Primitive primitive = PRIMITIVE_TRIANGLE;
        int numPrimitives = 0;
        int* primitiveLengths = nullptr;
        Binding colorBinding = BINDING_OFF;
        int numColors = 0;
        emVec4<float>* colors = nullptr;
        Binding normalBinding = BINDING_OFF;
        int numNormals = 0;
        emVec3<float>* normals = nullptr;
        Binding texCoordBinding[OL_NUM_STAGES];
        int numTexCoords[OL_NUM_STAGES];
        Dimension texCoordDimension[OL_NUM_STAGES];
        float* texCoords[OL_NUM_STAGES];
        int numVertices = 0;
        emVec3<float>* vertices = nullptr;
        Binding indexBinding = BINDING_OFF;
        int numIndices = 0;
        unsigned short* indices = nullptr;
        Format format = FORMAT_VERTEX_ARRAY;
        unsigned int persistentAttributes = 0;
        bool displayListEnable = false;
        emBox<float> boundingBox;
        emBox<float> texCoordBoundingBox;
        int maxActiveStage = -1;
        bool transparent = false;

    private:
        int* m_lengthsBlock = nullptr;
        std::vector<emVec4<float>> m_colors;
        std::vector<emVec3<float>> m_normals;
        std::vector<float> m_texCoords[OL_NUM_STAGES];
        std::vector<emVec3<float>> m_vertices;
        std::vector<unsigned short> m_indices;
        olMessageList m_injected;
    };

    // Appends the problems of `data`: no data, no vertices, an element count that does not fit
    // the primitive, lengths that run past the elements, indices past the vertices, bound arrays
    // too short for their binding, and the messages added to the data. See olMessageList for
    // `level`.
    static void validate(const Data* data, int level, olMessageList& messages);
};

class olGeometryBase : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Primitive : int {
        PRIMITIVE_POINT = 0,
        PRIMITIVE_LINE = 1,
        PRIMITIVE_LINE_STRIP = 2,
        PRIMITIVE_TRIANGLE = 3,
        PRIMITIVE_TRIANGLE_STRIP = 4,
        PRIMITIVE_TRIANGLE_FAN = 5,
        PRIMITIVE_QUAD = 6
    };
    enum Binding : int { BINDING_OFF = 0, BINDING_OVERALL = 1, BINDING_PRIMITIVE = 2, BINDING_VERTEX = 3 };
    enum Dimension : int { DIMENSION_1 = 0, DIMENSION_2 = 1, DIMENSION_3 = 2, DIMENSION_4 = 3 };
    enum Format : int {
        FORMAT_IMMEDIATE_MODE = 0,
        FORMAT_INTERLEAVED_ARRAY = 1,
        FORMAT_VERTEX_ARRAY = 2,
        FORMAT_VERTEX_ARRAY_OBJECT = 3,
        FORMAT_VERTEX_BUFFER = 4,
        FORMAT_VERTEX_BUFFER_OBJECT = 5,
        FORMAT_WIREFRAME = 6
    };

    olGeometryBase(const olGeometryBase&) = delete;
    olGeometryBase& operator=(const olGeometryBase&) = delete;

    virtual Primitive getPrimitive() const;
    virtual int getNumPrimitives() const;
    // The primitive lengths block (null when none); emGetSizeRequested gives its size.
    virtual const int* getPrimitiveLengths() const;
    virtual const emVec4<float>* getColors(Binding* binding) const;
    virtual int getNumColors() const;
    virtual const emVec3<float>* getNormals(Binding* binding) const;
    virtual int getNumNormals() const;
    // Stage 0 to 7; out of range gives null, BINDING_OFF and DIMENSION_2.
    virtual const float* getTextureCoords(int stage, Binding* binding, Dimension* dimension) const;
    virtual int getNumTextureCoords(int stage) const;
    virtual const emVec3<float>* getVertices() const;
    virtual int getNumVertices() const;
    virtual const unsigned short* getIndices(Binding* binding) const;
    virtual int getNumIndices() const;
    Format getFormat(unsigned int* persistentAttributes) const;
    bool getDisplayListEnable() const;
    virtual const olRenderStrategy* getRenderStrategy() const { return m_renderStrategy; }
    virtual emBox<float> getBoundingBox() const;
    virtual emBox<float> getTextureCoordBoundingBox() const;
    virtual int getMaxActiveStage() const;
    virtual bool isTransparent() const;
    // The checks of olDrawFunc::validate on the geometry's arrays, and the added messages.
    virtual void validate(int level, olMessageList& messages) const;

    // Setters: the array setters copy, as those of olDrawFunc::Data.
    void setPrimitive(Primitive primitive);
    void setNumPrimitives(int numPrimitives);
    void setPrimitiveLengths(const int* lengths, int count, int capacity = 0);
    void setColors(Binding binding, const emVec4<float>* values, int count);
    void setNormals(Binding binding, const emVec3<float>* values, int count);
    void setTextureCoords(int stage, Binding binding, Dimension dimension, const float* values, int count);
    void setVertices(const emVec3<float>* values, int count);
    void setIndices(Binding binding, const unsigned short* values, int count);
    void setFormat(Format format, unsigned int persistentAttributes);
    void setDisplayListEnable(bool enable);
    void setRenderStrategy(const olRenderStrategy* strategy) { m_renderStrategy = strategy; }
    void setBoundingBox(const emBox<float>& box);
    void setTextureCoordBoundingBox(const emBox<float>& box);
    void setMaxActiveStage(int stage);
    void setTransparent(bool transparent);
    void addValidationMessage(emNotify::Level level, const char* text);
    void clearValidationMessages();

protected:
    explicit olGeometryBase(const char* name = nullptr);

    olDrawFunc::Data m_data;
    const olRenderStrategy* m_renderStrategy = nullptr;
};

// A geometry made of the arrays set on it.
class olGeometry : public olGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olGeometry(const char* name = nullptr) : olGeometryBase(name) {}
};

class olBox : public olGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olBox(const char* name = nullptr) : olGeometryBase(name) {}

    emBox<float> getBox() const { return m_box; }
    // Also sets the bounding box.
    void setBox(const emBox<float>& box);

private:
    emBox<float> m_box;
};

class olFrustum : public olGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olFrustum(const char* name = nullptr) : olGeometryBase(name) {}

    emFrustum<float> getFrustum() const { return m_frustum; }
    void setFrustum(const emFrustum<float>& frustum) { m_frustum = frustum; }

private:
    emFrustum<float> m_frustum;
};

class olPlane : public olGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olPlane(const char* name = nullptr) : olGeometryBase(name) {}

    float getSize() const { return m_size; }
    emPlane<float> getPlane() const { return m_plane; }
    void setSize(float size) { m_size = size; }
    void setPlane(const emPlane<float>& plane) { m_plane = plane; }

private:
    float m_size = 1.0f;
    emPlane<float> m_plane{0.0f, 0.0f, 1.0f, 0.0f};
};

class olSphere : public olGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olSphere(const char* name = nullptr) : olGeometryBase(name) {}

    emSphere<float> getSphere() const { return m_sphere; }
    // Also sets the bounding box.
    void setSphere(const emSphere<float>& sphere);

private:
    emSphere<float> m_sphere{0.0f, 0.0f, 0.0f, 1.0f};
};

// Text drawn with a font (the font is owned by whoever created it).
class olString : public olGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olString(const char* name = nullptr) : olGeometryBase(name) {}

    const char* getString() const { return m_string.c_str(); }
    const olFont* getFont() const { return m_font; }
    void setString(const char* text) { m_string = text ? text : ""; }
    void setFont(const olFont* font) { m_font = font; }

private:
    std::string m_string;
    const olFont* m_font = nullptr;
};

// Light points: the vertices are the lights; back colours for bidirectional lights. The
// appearance and animation are owned by whoever created them.
class olLightPoint : public olGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olLightPoint(const char* name = nullptr) : olGeometryBase(name) {}

    const emVec4<float>* getColorsBack(Binding* binding) const;
    int getNumColorsBack() const { return static_cast<int>(m_colorsBack.size()); }
    const olLightPointAppearance* getLightPointAppearance() const { return m_appearance; }
    const olLightPointAnimation* getLightPointAnimation() const { return m_animation; }

    void setColorsBack(Binding binding, const emVec4<float>* values, int count);
    void setLightPointAppearance(const olLightPointAppearance* appearance) { m_appearance = appearance; }
    void setLightPointAnimation(const olLightPointAnimation* animation) { m_animation = animation; }

private:
    Binding m_colorsBackBinding = BINDING_OFF;
    std::vector<emVec4<float>> m_colorsBack;
    const olLightPointAppearance* m_appearance = nullptr;
    const olLightPointAnimation* m_animation = nullptr;
};
