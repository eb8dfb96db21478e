// Draw-function data, its validation, and the geometry classes built on the same storage.
#include "olgeometry.h"

#include <algorithm>
#include <cstdio>

int olDrawFunc::floatsPerTexCoord(int dimension)
{
    return dimension >= DIMENSION_1 && dimension <= DIMENSION_3 ? dimension + 1 : 4;
}

// ---- olDrawFunc::Data

EM_CLASS_TYPE_DEFINE(olDrawFunc::Data, "olDrawFunc::Data", nullptr)

namespace {

// Copies `count` elements into `storage` and returns its data, or null when there are none.
template <class T>
T* copyInto(std::vector<T>& storage, const T* values, int count)
{
    if (!values || count <= 0) {
        storage.clear();
        return nullptr;
    }
    storage.assign(values, values + count);
    return storage.data();
}

}  // namespace

olDrawFunc::Data::Data()
{
    for (int s = 0; s < OL_NUM_STAGES; ++s) {
        texCoordBinding[s] = BINDING_OFF;
        numTexCoords[s] = 0;
        texCoordDimension[s] = DIMENSION_2;
        texCoords[s] = nullptr;
    }
}

olDrawFunc::Data::~Data() { emAllocRaw::freeBlock(m_lengthsBlock, __FILE__, __LINE__); }

void olDrawFunc::Data::setPrimitiveLengths(const int* lengths, int count, int capacity)
{
    if (primitiveLengths == m_lengthsBlock)
        primitiveLengths = nullptr;
    emAllocRaw::freeBlock(m_lengthsBlock, __FILE__, __LINE__);
    m_lengthsBlock = nullptr;
    count = std::max(count, 0);
    numPrimitives = count;
    const int size = std::max(count, capacity);
    if (size <= 0)
        return;
    m_lengthsBlock =
        static_cast<int*>(emAllocRaw::mallocBlock(sizeof(int) * static_cast<size_t>(size), __FILE__, __LINE__));
    if (!m_lengthsBlock)
        return;
    for (int i = 0; i < size; ++i)
        m_lengthsBlock[i] = lengths && i < count ? lengths[i] : 0;
    primitiveLengths = m_lengthsBlock;
}

void olDrawFunc::Data::setColors(Binding binding, const emVec4<float>* values, int count)
{
    colorBinding = binding;
    colors = copyInto(m_colors, values, count);
    numColors = static_cast<int>(m_colors.size());
    transparent = std::any_of(m_colors.begin(), m_colors.end(), [](const emVec4<float>& c) { return c[3] < 1.0f; });
}

void olDrawFunc::Data::setNormals(Binding binding, const emVec3<float>* values, int count)
{
    normalBinding = binding;
    normals = copyInto(m_normals, values, count);
    numNormals = static_cast<int>(m_normals.size());
}

void olDrawFunc::Data::setTexCoords(int stage, Binding binding, Dimension dimension, const float* values, int count)
{
    if (stage < 0 || stage >= OL_NUM_STAGES)
        return;
    texCoordBinding[stage] = binding;
    texCoordDimension[stage] = dimension;
    const int floats = count > 0 ? count * floatsPerTexCoord(dimension) : 0;
    texCoords[stage] = copyInto(m_texCoords[stage], values, floats);
    numTexCoords[stage] = texCoords[stage] ? count : 0;
    maxActiveStage = -1;
    for (int s = 0; s < OL_NUM_STAGES; ++s)
        if (numTexCoords[s] > 0)
            maxActiveStage = s;
}

void olDrawFunc::Data::setVertices(const emVec3<float>* values, int count)
{
    vertices = copyInto(m_vertices, values, count);
    numVertices = static_cast<int>(m_vertices.size());
    boundingBox = emBox<float>();
    for (int i = 0; i < numVertices; ++i)
        for (int c = 0; c < 3; ++c) {
            const float v = m_vertices[i][c];
            boundingBox.minimum[c] = i == 0 ? v : std::min(boundingBox.minimum[c], v);
            boundingBox.maximum[c] = i == 0 ? v : std::max(boundingBox.maximum[c], v);
        }
}

void olDrawFunc::Data::setIndices(Binding binding, const unsigned short* values, int count)
{
    indexBinding = binding;
    indices = copyInto(m_indices, values, count);
    numIndices = static_cast<int>(m_indices.size());
}

void olDrawFunc::Data::addValidationMessage(emNotify::Level level, const char* text)
{
    m_injected.emplace_back(level, emString(text));
}

// ---- validation

namespace {

const char* bindingName(int binding)
{
    switch (binding) {
    case olDrawFunc::BINDING_OVERALL: return "overall";
    case olDrawFunc::BINDING_PRIMITIVE: return "per primitive";
    case olDrawFunc::BINDING_VERTEX: return "per vertex";
    default: return "off";
    }
}

// A bound array must hold one element overall, one per primitive or one per vertex.
void checkBinding(const char* owner, const char* what, int binding, int count, const void* array, int numPrimitives,
                  int numVertices, int level, olMessageList& messages)
{
    if (count > 0 && !array)
        olAppendMessage(messages, level, emNotify::LEVEL_FAIL, "%s - %d %s without an array", owner, count, what);
    int needed = 0;
    switch (binding) {
    case olDrawFunc::BINDING_OFF: return;
    case olDrawFunc::BINDING_OVERALL: needed = 1; break;
    case olDrawFunc::BINDING_PRIMITIVE: needed = numPrimitives; break;
    case olDrawFunc::BINDING_VERTEX: needed = numVertices; break;
    default:
        olAppendMessage(messages, level, emNotify::LEVEL_FAIL, "%s - %s have binding %d", owner, what, binding);
        return;
    }
    if (count < needed)
        olAppendMessage(messages, level, emNotify::LEVEL_WARN, "%s - %s bound %s hold %d of %d", owner, what,
                        bindingName(binding), count, needed);
}

int minimumLength(int primitive) { return primitive == olDrawFunc::PRIMITIVE_LINE_STRIP ? 2 : 3; }

// Vertices per primitive of the list primitives; 0 for strips and fans.
int verticesPerPrimitive(int primitive)
{
    switch (primitive) {
    case olDrawFunc::PRIMITIVE_POINT: return 1;
    case olDrawFunc::PRIMITIVE_LINE: return 2;
    case olDrawFunc::PRIMITIVE_TRIANGLE: return 3;
    case olDrawFunc::PRIMITIVE_QUAD: return 4;
    default: return 0;
    }
}

void validateArrays(const char* owner, const olDrawFunc::Data& d, int level, olMessageList& messages)
{
    if (d.primitive < olDrawFunc::PRIMITIVE_POINT || d.primitive > olDrawFunc::PRIMITIVE_QUAD)
        olAppendMessage(messages, level, emNotify::LEVEL_FAIL, "%s - unknown primitive %d", owner,
                        static_cast<int>(d.primitive));
    if (d.numVertices <= 0 || !d.vertices)
        olAppendMessage(messages, level, emNotify::LEVEL_WARN, "%s - no vertices", owner);

    const bool indexed = d.indexBinding != olDrawFunc::BINDING_OFF;
    if (indexed && d.numIndices > 0 && !d.indices)
        olAppendMessage(messages, level, emNotify::LEVEL_FAIL, "%s - %d indices without an array", owner, d.numIndices);
    if (indexed && d.indices)
        for (int i = 0; i < d.numIndices; ++i)
            if (d.indices[i] >= d.numVertices) {
                olAppendMessage(messages, level, emNotify::LEVEL_FAIL, "%s - index %d refers to vertex %d of %d", owner,
                                i, d.indices[i], d.numVertices);
                break;
            }
    const int elements = indexed ? d.numIndices : d.numVertices;

    if (const int per = verticesPerPrimitive(d.primitive)) {
        if (elements % per != 0)
            olAppendMessage(messages, level, emNotify::LEVEL_WARN,
                            "%s - %d elements do not make whole primitives of %d", owner, elements, per);
    } else if (d.numPrimitives > 0 && !d.primitiveLengths) {
        olAppendMessage(messages, level, emNotify::LEVEL_WARN, "%s - %d strips without primitive lengths", owner,
                        d.numPrimitives);
    } else if (d.primitiveLengths) {
        const int capacity = static_cast<int>(emGetSizeRequested(d.primitiveLengths) / sizeof(int));
        if (capacity < d.numPrimitives)
            olAppendMessage(messages, level, emNotify::LEVEL_FAIL,
                            "%s - primitive lengths block holds %d of %d lengths", owner, capacity, d.numPrimitives);
        long long total = 0;
        for (int i = 0; i < std::min(capacity, d.numPrimitives); ++i) {
            const int length = d.primitiveLengths[i];
            if (length < minimumLength(d.primitive))
                olAppendMessage(messages, level, emNotify::LEVEL_WARN, "%s - primitive %d has length %d", owner, i,
                                length);
            total += std::max(length, 0);
        }
        if (total > elements)
            olAppendMessage(messages, level, emNotify::LEVEL_FAIL, "%s - primitive lengths need %lld elements of %d",
                            owner, total, elements);
    }

    checkBinding(owner, "colors", d.colorBinding, d.numColors, d.colors, d.numPrimitives, d.numVertices, level,
                 messages);
    checkBinding(owner, "normals", d.normalBinding, d.numNormals, d.normals, d.numPrimitives, d.numVertices, level,
                 messages);
    static const char* const stages[OL_NUM_STAGES] = {
        "texture coordinates of stage 0", "texture coordinates of stage 1", "texture coordinates of stage 2",
        "texture coordinates of stage 3", "texture coordinates of stage 4", "texture coordinates of stage 5",
        "texture coordinates of stage 6", "texture coordinates of stage 7"};
    for (int s = 0; s < OL_NUM_STAGES; ++s)
        checkBinding(owner, stages[s], d.texCoordBinding[s], d.numTexCoords[s], d.texCoords[s], d.numPrimitives,
                     d.numVertices, level, messages);
    for (const auto& message : d.getValidationMessages())
        if (olValidationReports(level, message.first))
            messages.push_back(message);
}

}  // namespace

void olDrawFunc::validate(const Data* data, int level, olMessageList& messages)
{
    if (!data) {
        olAppendMessage(messages, level, emNotify::LEVEL_FAIL, "olDrawFunc::validate - no data");
        return;
    }
    validateArrays("olDrawFunc::validate", *data, level, messages);
}

// ---- olGeometryBase

EM_CLASS_TYPE_DEFINE(olGeometryBase, "olGeometryBase", emBase::getStaticClassType())

olGeometryBase::olGeometryBase(const char* name) : emBase(name) {}

olGeometryBase::Primitive olGeometryBase::getPrimitive() const { return static_cast<Primitive>(m_data.primitive); }

int olGeometryBase::getNumPrimitives() const { return m_data.numPrimitives; }
const int* olGeometryBase::getPrimitiveLengths() const { return m_data.primitiveLengths; }

const emVec4<float>* olGeometryBase::getColors(Binding* binding) const
{
    *binding = static_cast<Binding>(m_data.colorBinding);
    return m_data.colors;
}

int olGeometryBase::getNumColors() const { return m_data.numColors; }

const emVec3<float>* olGeometryBase::getNormals(Binding* binding) const
{
    *binding = static_cast<Binding>(m_data.normalBinding);
    return m_data.normals;
}

int olGeometryBase::getNumNormals() const { return m_data.numNormals; }

const float* olGeometryBase::getTextureCoords(int stage, Binding* binding, Dimension* dimension) const
{
    if (stage < 0 || stage >= OL_NUM_STAGES) {
        *binding = BINDING_OFF;
        *dimension = DIMENSION_2;
        return nullptr;
    }
    *binding = static_cast<Binding>(m_data.texCoordBinding[stage]);
    *dimension = static_cast<Dimension>(m_data.texCoordDimension[stage]);
    return m_data.texCoords[stage];
}

int olGeometryBase::getNumTextureCoords(int stage) const
{
    return stage >= 0 && stage < OL_NUM_STAGES ? m_data.numTexCoords[stage] : 0;
}

const emVec3<float>* olGeometryBase::getVertices() const { return m_data.vertices; }
int olGeometryBase::getNumVertices() const { return m_data.numVertices; }

const unsigned short* olGeometryBase::getIndices(Binding* binding) const
{
    *binding = static_cast<Binding>(m_data.indexBinding);
    return m_data.indices;
}

int olGeometryBase::getNumIndices() const { return m_data.numIndices; }

olGeometryBase::Format olGeometryBase::getFormat(unsigned int* persistentAttributes) const
{
    *persistentAttributes = m_data.persistentAttributes;
    return static_cast<Format>(m_data.format);
}

bool olGeometryBase::getDisplayListEnable() const { return m_data.displayListEnable; }
emBox<float> olGeometryBase::getBoundingBox() const { return m_data.boundingBox; }
emBox<float> olGeometryBase::getTextureCoordBoundingBox() const { return m_data.texCoordBoundingBox; }
int olGeometryBase::getMaxActiveStage() const { return m_data.maxActiveStage; }
bool olGeometryBase::isTransparent() const { return m_data.transparent; }

void olGeometryBase::validate(int level, olMessageList& messages) const
{
    validateArrays("olGeometryBase::validate", m_data, level, messages);
}

void olGeometryBase::setPrimitive(Primitive primitive)
{
    m_data.primitive = static_cast<olDrawFunc::Primitive>(primitive);
}

void olGeometryBase::setNumPrimitives(int numPrimitives) { m_data.numPrimitives = numPrimitives; }

void olGeometryBase::setPrimitiveLengths(const int* lengths, int count, int capacity)
{
    m_data.setPrimitiveLengths(lengths, count, capacity);
}

void olGeometryBase::setColors(Binding binding, const emVec4<float>* values, int count)
{
    m_data.setColors(static_cast<olDrawFunc::Binding>(binding), values, count);
}

void olGeometryBase::setNormals(Binding binding, const emVec3<float>* values, int count)
{
    m_data.setNormals(static_cast<olDrawFunc::Binding>(binding), values, count);
}

void olGeometryBase::setTextureCoords(int stage, Binding binding, Dimension dimension, const float* values, int count)
{
    m_data.setTexCoords(stage, static_cast<olDrawFunc::Binding>(binding), static_cast<olDrawFunc::Dimension>(dimension),
                        values, count);
}

void olGeometryBase::setVertices(const emVec3<float>* values, int count) { m_data.setVertices(values, count); }

void olGeometryBase::setIndices(Binding binding, const unsigned short* values, int count)
{
    m_data.setIndices(static_cast<olDrawFunc::Binding>(binding), values, count);
}

void olGeometryBase::setFormat(Format format, unsigned int persistentAttributes)
{
    m_data.format = static_cast<olDrawFunc::Format>(format);
    m_data.persistentAttributes = persistentAttributes;
}

void olGeometryBase::setDisplayListEnable(bool enable) { m_data.displayListEnable = enable; }
void olGeometryBase::setBoundingBox(const emBox<float>& box) { m_data.boundingBox = box; }

void olGeometryBase::setTextureCoordBoundingBox(const emBox<float>& box) { m_data.texCoordBoundingBox = box; }

void olGeometryBase::setMaxActiveStage(int stage) { m_data.maxActiveStage = stage; }
void olGeometryBase::setTransparent(bool transparent) { m_data.transparent = transparent; }

void olGeometryBase::addValidationMessage(emNotify::Level level, const char* text)
{
    m_data.addValidationMessage(level, text);
}

void olGeometryBase::clearValidationMessages() { m_data.clearValidationMessages(); }

// ---- shapes

EM_CLASS_TYPE_DEFINE(olGeometry, "olGeometry", olGeometryBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olBox, "olBox", olGeometryBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olFrustum, "olFrustum", olGeometryBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olPlane, "olPlane", olGeometryBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olSphere, "olSphere", olGeometryBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olString, "olString", olGeometryBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olLightPoint, "olLightPoint", olGeometryBase::getStaticClassType())

void olBox::setBox(const emBox<float>& box)
{
    m_box = box;
    setBoundingBox(box);
}

void olSphere::setSphere(const emSphere<float>& sphere)
{
    m_sphere = sphere;
    emBox<float> box;
    for (int c = 0; c < 3; ++c) {
        box.minimum[c] = sphere[c] - sphere[3];
        box.maximum[c] = sphere[c] + sphere[3];
    }
    setBoundingBox(box);
}

const emVec4<float>* olLightPoint::getColorsBack(Binding* binding) const
{
    *binding = m_colorsBackBinding;
    return m_colorsBack.empty() ? nullptr : m_colorsBack.data();
}

void olLightPoint::setColorsBack(Binding binding, const emVec4<float>* values, int count)
{
    m_colorsBackBinding = binding;
    copyInto(m_colorsBack, values, count);
}
