// Render drawables and context: every type written and read back (names, types, values, marks,
// exact consumption), and the irregular blocks at byte level: vertex arrays, texture coordinate
// stages, primitive lengths, 3D font characters and draw contexts.
#include "schemasupport.h"

#include <akdebugtypedef.h>
#include <telr.h>

#include <algorithm>

using namespace schemasupport;

namespace {

class TelrDrawTest : public ModuleTest
{};

Rows messageRows(const olMessageList& messages)
{
    Rows out;
    for (const auto& message : messages)
        out.push_back(std::to_string(message.first) + ": " + message.second.c_str());
    return out;
}

akDebugTypeDef* def(const char* name) { return akDebugTypeDef::find(name); }

// ---- One sample of drawn arrays, set on draw-function data and on a geometry alike ----

const int kLengths[3] = {5, 4, 7};
const emVec4<float> kColors[2] = {{1, 0.5f, 0.25f, 0.75f}, {0, 0.125f, 0.375f, 0.5f}};
const emVec3<float> kNormal[1] = {{0.25f, 0.5f, 1}};
const float kStage0[2] = {0.5f, 0.75f};
const float kStage1[2] = {0.25f, 0.5f};
const float kStage2[3] = {1, 2, 3};
const float kStage3[4] = {1, 2, 3, 4};
const float* const kStages[4] = {kStage0, kStage1, kStage2, kStage3};
const int kStageCounts[4] = {2, 1, 1, 1};
const emVec3<float> kVertices[3] = {{0.5f, 1.5f, 2.5f}, {3, 4, 5}, {6, 7, 8}};
const unsigned short kIndices[3] = {2, 1, 0};
const emBox<float> kBox{{-1, -2, -3}, {4, 5, 6}};
const emBox<float> kTexBox{{0.125f, 0.25f, 0.375f}, {1.5f, 2.5f, 3.5f}};

// The display list flag and the transparent flag are the pattern's bools 0 and 1.
void fillSample(olDrawFunc::Data& d, const Flags& on)
{
    d.primitive = olDrawFunc::PRIMITIVE_TRIANGLE_STRIP;
    d.setPrimitiveLengths(kLengths, 3, 4);
    d.setColors(olDrawFunc::BINDING_VERTEX, kColors, 2);
    d.setNormals(olDrawFunc::BINDING_PRIMITIVE, kNormal, 1);
    for (int s = 0; s < 4; ++s)
        d.setTexCoords(s, olDrawFunc::BINDING_VERTEX, static_cast<olDrawFunc::Dimension>(s), kStages[s],
                       kStageCounts[s]);
    d.setTexCoords(5, olDrawFunc::BINDING_OVERALL, olDrawFunc::DIMENSION_2, nullptr, 0);
    d.setVertices(kVertices, 3);
    d.setIndices(olDrawFunc::BINDING_VERTEX, kIndices, 3);
    d.format = olDrawFunc::FORMAT_VERTEX_BUFFER_OBJECT;
    d.persistentAttributes = 0x15;
    d.displayListEnable = on[0];
    d.boundingBox = kBox;
    d.texCoordBoundingBox = kTexBox;
    d.maxActiveStage = 6;
    d.addValidationMessage(emNotify::LEVEL_NOTICE, "sample note");
    d.transparent = on[1];
}

void fillSample(olGeometryBase& g, const Flags& on)
{
    using G = olGeometryBase;
    g.setPrimitive(G::PRIMITIVE_TRIANGLE_STRIP);
    g.setPrimitiveLengths(kLengths, 3, 4);
    g.setColors(G::BINDING_VERTEX, kColors, 2);
    g.setNormals(G::BINDING_PRIMITIVE, kNormal, 1);
    for (int s = 0; s < 4; ++s)
        g.setTextureCoords(s, G::BINDING_VERTEX, static_cast<G::Dimension>(s), kStages[s], kStageCounts[s]);
    g.setTextureCoords(5, G::BINDING_OVERALL, G::DIMENSION_2, nullptr, 0);
    g.setVertices(kVertices, 3);
    g.setIndices(G::BINDING_VERTEX, kIndices, 3);
    g.setFormat(G::FORMAT_VERTEX_BUFFER_OBJECT, 0x15);
    g.setDisplayListEnable(on[0]);
    g.setBoundingBox(kBox);
    g.setTextureCoordBoundingBox(kTexBox);
    g.setMaxActiveStage(6);
    g.addValidationMessage(emNotify::LEVEL_NOTICE, "sample note");
    g.setTransparent(on[1]);
}

// Addresses of the sample's arrays in one file.
struct Arrays
{
    const void* lengths;
    const void* colors;
    const void* normals;
    const void* stages[4];
    const void* vertices;
    const void* indices;
};

Arrays arraysOf(const olDrawFunc::Data& d)
{
    return {d.primitiveLengths, d.colors, d.normals, {d.texCoords[0], d.texCoords[1], d.texCoords[2], d.texCoords[3]},
            d.vertices,         d.indices};
}

Arrays arraysOf(const olGeometryBase& g)
{
    olGeometryBase::Binding b;
    olGeometryBase::Dimension d;
    return {g.getPrimitiveLengths(),
            g.getColors(&b),
            g.getNormals(&b),
            {g.getTextureCoords(0, &b, &d), g.getTextureCoords(1, &b, &d), g.getTextureCoords(2, &b, &d),
             g.getTextureCoords(3, &b, &d)},
            g.getVertices(),
            g.getIndices(&b)};
}

// The sample's rows, with the enumerations of class `c`; `strategy` is the geometry's extra row.
Rows sampleRows(RoundTrip& rt, const Flags& on, const std::string& c, const Arrays& a, const std::string& strategy = "")
{
    auto address = [&](const void* p) { return rt.address(p); };
    Rows r = {
        "Primitive: " + c + "::Primitive = PRIMITIVE_TRIANGLE_STRIP",
        "Number of Primitives: int = 3",
        "Primitive Lengths: int * = " + address(a.lengths),
        "Primitive Lengths/0: int = 5",
        "Primitive Lengths/1: int = 4",
        "Primitive Lengths/2: int = 7",
        "Primitive Lengths/3: int = 0",
        "Color Binding: " + c + "::Binding = BINDING_VERTEX",
        "Colors: emVec4<float> * = " + address(a.colors),
        "Colors/0: emVec4<float> = r=1, g=0.5, b=0.25, a=0.75",
        "Colors/1: emVec4<float> = r=0, g=0.125, b=0.375, a=0.5",
        "Normal Binding: " + c + "::Binding = BINDING_PRIMITIVE",
        "Normals: emVec3<float> * = " + address(a.normals),
        "Normals/0: emVec3<float> = x=0.25, y=0.5, z=1",
    };
    const char* arrayTypes[4] = {"float *", "emVec2<float> *", "emVec3<float> *", "emVec4<float> *"};
    const char* elements[4] = {"float = 0.5", "emVec2<float> = s=0.25, t=0.5", "emVec3<float> = s=1, t=2, q=3",
                               "emVec4<float> = s=1, t=2, q=3, r=4"};
    for (int s = 0; s < 8; ++s) {
        const std::string stage = ", Stage " + std::to_string(s);
        const char* binding = s < 4 ? "BINDING_VERTEX" : s == 5 ? "BINDING_OVERALL" : "BINDING_OFF";
        r.push_back("Texture Coordinate Binding" + stage + ": " + c + "::Binding = " + binding);
        if (s >= 4) {
            r.push_back("Texture Coordinates" + stage + ": Unknown = 0x0");
            continue;
        }
        r.push_back("Texture Coordinate Dimension" + stage + ": " + c + "::Dimension = DIMENSION_" +
                    std::to_string(s + 1));
        r.push_back("Texture Coordinates" + stage + ": " + arrayTypes[s] + " = " + address(a.stages[s]));
        r.push_back("Texture Coordinates" + stage + "/0: " + elements[s]);
        if (s == 0)
            r.push_back("Texture Coordinates" + stage + "/1: float = 0.75");
    }
    Rows rest = {
        "Vertices: emVec3<float> * = " + address(a.vertices),
        "Vertices/0: emVec3<float> = x=0.5, y=1.5, z=2.5",
        "Vertices/1: emVec3<float> = x=3, y=4, z=5",
        "Vertices/2: emVec3<float> = x=6, y=7, z=8",
        "Index Binding: " + c + "::Binding = BINDING_VERTEX",
        "Indices: unsigned short * = " + address(a.indices),
        "Indices/0: unsigned short = 2",
        "Indices/1: unsigned short = 1",
        "Indices/2: unsigned short = 0",
        "Format: " + c + "::Format = FORMAT_VERTEX_BUFFER_OBJECT",
        "Persistent Attributes: unsigned int = 0x15 [tip: ATTRIBUTE_COLOR |\nATTRIBUTE_VERTEX |\n"
        "ATTRIBUTE_TEXTURE_COORD_0]",
        "Display List Enable: bool = " + on(0),
    };
    if (!strategy.empty())
        rest.push_back(strategy);
    Rows tail = {
        "Bounding Box: emBox<float> = ",
        "Bounding Box/Minimum: emVec3<float> = x=-1, y=-2, z=-3",
        "Bounding Box/Maximum: emVec3<float> = x=4, y=5, z=6",
        "Texture Coordinate Bounding Box: emBox<float> = ",
        "Texture Coordinate Bounding Box/Minimum: emVec3<float> = x=0.125, y=0.25, z=0.375",
        "Texture Coordinate Bounding Box/Maximum: emVec3<float> = x=1.5, y=2.5, z=3.5",
        "Maximum Active Stage: int = 6 [advanced]",
        "Transparent: bool = " + on(1) + " [advanced]",
    };
    r.insert(r.end(), rest.begin(), rest.end());
    r.insert(r.end(), tail.begin(), tail.end());
    return r;
}

// ---- Round trip of every type ----

// Every type, written one after the other into one file: the own rows of each record (its base
// level as one row, referenced objects as their address), its error marks, and its last byte.
void everyTypeRoundTrip(const Flags& on, FieldValues& fields)
{
    olDrawFunc::Data data;
    fillSample(data, on);
    olMessageList dataMessages;
    olDrawFunc::validate(&data, 4, dataMessages);

    olRenderStrategyHighlight highlight;
    highlight.setWireframeEnable(on[0]);
    highlight.setLineWidth(3.5f);
    highlight.setColor(0.25f, 0.5f, 0.75f, 0.125f);
    olGeometry geometry("sample");
    fillSample(geometry, on);
    geometry.setRenderStrategy(&highlight);
    olMessageList geometryMessages;
    geometry.validate(4, geometryMessages);

    olWindow::PixelBuffer pixels(64, 32);
    olRenderStrategy strategy;
    olChannel channel("channel");
    olFont font("font");
    font.setItalic(on[0]);
    font.setUnderline(on[1]);
    font.setBold(on[2]);
    olRenderStrategyBounds bounds;
    bounds.setRenderGeometryEnable(on[0]);
    bounds.setWireframeEnable(on[1]);
    bounds.setLineWidth(2.5f);
    bounds.setColor(0.5f, 0.25f, 0.125f, 0.75f);
    olRenderStrategyNormals normals;
    normals.setLength(4.5f);
    normals.setLineWidth(1.5f);
    normals.setColor(1, 0.5f, 0, 0.25f);
    olFont2D font2D("flat");
    olFont3D font3D("solid");
    font3D.setItalicShear(0.5f);
    font3D.setBoldLineWidth(2.5f);
    font3D.setUnderlineOffset(-0.25f);
    olBox box;
    box.setBox(emBox<float>{{-1, -2, -3}, {1, 2, 3}});
    olFrustum frustum;
    emFrustum<float> planes;
    for (int i = 0; i < 6; ++i)
        planes.planes[i] = emPlane<float>(i + 1.0f, i + 2.0f, i + 3.0f, i + 10.0f);
    frustum.setFrustum(planes);
    olGeometry plain;
    olLightPoint lights;
    lights.setColorsBack(olGeometryBase::BINDING_PRIMITIVE, kColors + 1, 1);
    olLightPointAppearance appearance;
    olLightPointAnimation animation;
    lights.setLightPointAppearance(&appearance);
    lights.setLightPointAnimation(&animation);
    olPlane plane;
    plane.setSize(2.5f);
    plane.setPlane(emPlane<float>(0.5f, 1, 2, -4));
    olSphere sphere;
    sphere.setSphere(emSphere<float>(1, 2, 3, 0.5f));
    olString text;
    text.setString("hello");
    text.setFont(&font2D);
    olState inherit;
    olFog::Element fog;
    fog.enable = true;
    olDrawContext context("context");
    context.setInheritState(&inherit);
    context.setElement(&fog);
    for (auto id = olElement::begin_context(); id != olElement::end_context(); ++id)
        context.setPreserveEnable(*id, on[static_cast<int>(id - olElement::begin_context())]);

    // The record's type, the host object (written under `typeDef` when given) and its base level.
    struct Object
    {
        const char* type;
        const void* object;
        const char* typeDef;
        std::string base;
    };
    const std::vector<Object> objects = {
        {"olDrawFunc::Data", static_cast<const emClassObject*>(&data), nullptr, ""},
        {"olWindow::PixelBuffer", static_cast<const emClassObject*>(&pixels), nullptr, ""},
        {"olRenderStrategy", &strategy, nullptr, "emMemBase"},
        {"olChannel", &channel, nullptr, "emBase"},
        {"olDrawContext", &context, nullptr, "emBase"},
        {"olFont", &font, nullptr, "emBase"},
        {"olGeometryBase", &geometry, "olGeometryBase", "emBase"},
        {"olRenderStrategyBounds", &bounds, nullptr, "olRenderStrategy"},
        {"olRenderStrategyHighlight", &highlight, nullptr, "olRenderStrategy"},
        {"olRenderStrategyNormals", &normals, nullptr, "olRenderStrategy"},
        {"olFont3D", &font3D, nullptr, "olFont"},
        {"olBox", &box, nullptr, "olGeometryBase"},
        {"olFrustum", &frustum, nullptr, "olGeometryBase"},
        {"olGeometry", &plain, nullptr, "olGeometryBase"},
        {"olLightPoint", &lights, nullptr, "olGeometryBase"},
        {"olPlane", &plane, nullptr, "olGeometryBase"},
        {"olSphere", &sphere, nullptr, "olGeometryBase"},
        {"olString", &text, nullptr, "olGeometryBase"},
        {"olFont2D", &font2D, nullptr, "olFont"},  // after the string: its full record is there
    };
    RoundTrip rt;
    std::vector<uint64_t> ends;
    for (const Object& o : objects) {
        rt.write(static_cast<const emClassObject*>(o.object), def(o.typeDef ? o.typeDef : o.type));
        ends.push_back(rt.position());
    }

    // The inherit state is validated as one.
    olMessageList inherited;
    inherit.validate(4, inherited, true);
    std::string inheritState = "Inherit State: olState * = " + rt.address(&inherit);
    for (const std::string& message : messageRows(inherited))
        inheritState += " [error " + message + "]";
    Rows contextRows = {inheritState, "Elements:  = "}, enables = {"Preserve Enables:  = "};
    for (auto id = olElement::begin_context(); id != olElement::end_context(); ++id) {
        const std::string kind = (*id)->getName();
        const bool isFog = *id == olFog::Element::getStaticClassType();
        contextRows.push_back("Elements/" + kind + ": " + kind + " = " + (isFog ? "" : "Inherited"));
        enables.push_back("Preserve Enables/" + kind +
                          ": bool = " + on(static_cast<int>(id - olElement::begin_context())));
    }
    contextRows.insert(contextRows.end(), enables.begin(), enables.end());
    Rows frustumRows = {"Frustum: emFrustum<float> = "};
    for (int i = 0; i < 6; ++i) {
        const std::string plane = std::string("Frustum/") + akDebugCompoundNames::frustumPlanes[i];
        frustumRows.insert(frustumRows.end(),
                           {plane + ": emPlane<float> = ",
                            plane + "/Normal: emVec3<float> = x=" + std::to_string(i + 1) +
                                ", y=" + std::to_string(i + 2) + ", z=" + std::to_string(i + 3),
                            plane + "/Offset: float = " + std::to_string(i + 10)});
    }
    olGeometryBase::Binding binding;
    const std::string fogWarning =
        std::to_string(emNotify::LEVEL_WARN) + ": olFog::Element - fog is enabled without a fog object";
    // Own rows and error marks of each record.
    const std::vector<std::pair<Rows, Rows>> expected = {
        {sampleRows(rt, on, "olDrawFunc", arraysOf(data)), messageRows(dataMessages)},
        {{}, {}},
        {{}, {}},
        {{}, {}},
        {contextRows, {fogWarning}},
        {{"Italic: bool = " + on(0), "Underline: bool = " + on(1), "Bold: bool = " + on(2)}, {}},
        {sampleRows(rt, on, "olGeometryBase", arraysOf(geometry),
                    "Render Strategy: olRenderStrategyHighlight * = " + rt.address(&highlight)),
         messageRows(geometryMessages)},
        {{"Render Geometry Enable: bool = " + on(0), "Wireframe Enable: bool = " + on(1), "Line Width: float = 2.5",
          "Color: emVec4<float> = r=0.5, g=0.25, b=0.125, a=0.75"},
         {}},
        {{"Wireframe Enable: bool = " + on(0), "Line Width: float = 3.5",
          "Color: emVec4<float> = r=0.25, g=0.5, b=0.75, a=0.125"},
         {}},
        {{"Length: float = 4.5", "Line Width: float = 1.5", "Color: emVec4<float> = r=1, g=0.5, b=0, a=0.25"}, {}},
        {{"Italic Shear: float = 0.5", "Bold Line Width: float = 2.5", "Underline Offset: float = -0.25",
          "Characters:  = "},
         {}},
        {{"Box: emBox<float> = ", "Box/Minimum: emVec3<float> = x=-1, y=-2, z=-3",
          "Box/Maximum: emVec3<float> = x=1, y=2, z=3"},
         {}},
        {frustumRows, {}},
        {{}, {}},
        {{"Color Binding, Back: olGeometryBase::Binding = BINDING_PRIMITIVE",
          "Colors, Back: emVec4<float> * = " + rt.address(lights.getColorsBack(&binding)),
          "Colors, Back/0: emVec4<float> = r=0, g=0.125, b=0.375, a=0.5",
          "Light Point Appearance: olLightPointAppearance * = " + rt.address(&appearance),
          "Light Point Animation: olLightPointAnimation * = " + rt.address(&animation)},
         {}},
        {{"Size: float = 2.5", "Plane: emPlane<float> = ", "Plane/Normal: emVec3<float> = x=0.5, y=1, z=2",
          "Plane/Offset: float = -4"},
         {}},
        {{"Sphere: emSphere<float> = ", "Sphere/Center: emVec3<float> = x=1, y=2, z=3", "Sphere/Radius: float = 0.5"},
         {}},
        {{"String: emString = \"hello\"", "Font: olFont2D * = " + rt.address(&font2D)}, {}},
        {{}, {}},
    };
    ASSERT_EQ(expected.size(), objects.size());
    rt.finish();
    for (size_t i = 0; i < objects.size(); ++i) {
        SCOPED_TRACE(objects[i].type);
        const akDebugObject* read = rt.read();
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(rt.position(), ends[i]);
        EXPECT_EQ(typeOf(read), std::string(objects[i].type) + " *");
        Rows actual;
        for (const std::string& row : objectRows(read))
            if (row.rfind("Characters/", 0) != 0)  // the 3D font's characters have a test of their own
                actual.push_back(row);
        // The base level comes first, with the marks of its own level.
        const std::string base = objects[i].base + ": " + objects[i].base + " = ";
        if (!objects[i].base.empty()) {
            ASSERT_FALSE(actual.empty());
            EXPECT_EQ(actual.front().compare(0, base.size(), base), 0) << actual.front();
            actual.erase(actual.begin());
        }
        EXPECT_TRUE(sameRows(actual, expected[i].first));
        EXPECT_EQ(errors(read), expected[i].second);
        // The stage loops hold more bindings than there are values; absent arrays are alike.
        fields.add(on.pattern, objects[i].type, expected[i].first,
                   {"olDrawFunc::Binding", "olGeometryBase::Binding", "Unknown"});
    }
    EXPECT_TRUE(rt.consumedAll());
}

TEST_F(TelrDrawTest, EveryTypeRoundTripsItsOwnFields) { underEveryPattern(everyTypeRoundTrip); }

// ---- Byte level ----

TEST_F(TelrDrawTest, DrawFunctionDataStoresEveryArrayBlockExactly)
{
    olDrawFunc::Data d;
    d.primitive = olDrawFunc::PRIMITIVE_LINE;
    const int lengths[3] = {2, 2, 2};
    d.setPrimitiveLengths(lengths, 3, 10);  // a block for 10 ints holds 3 primitives
    d.setColors(olDrawFunc::BINDING_OVERALL, nullptr, 0);
    const emVec3<float> normals[2] = {{1, 2, 3}, {4, 5, 6}};
    d.setNormals(olDrawFunc::BINDING_VERTEX, normals, 2);
    const float coords[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int s = 0; s < 4; ++s)
        d.setTexCoords(s, olDrawFunc::BINDING_VERTEX, static_cast<olDrawFunc::Dimension>(s), coords, 2);
    d.setTexCoords(4, olDrawFunc::BINDING_OVERALL, olDrawFunc::DIMENSION_3, nullptr, 0);
    const emVec3<float> vertices[2] = {{0, 0, 0}, {1, 1, 1}};
    d.setVertices(vertices, 2);
    const unsigned short indices[2] = {1, 0};
    d.setIndices(olDrawFunc::BINDING_VERTEX, indices, 2);
    d.format = olDrawFunc::FORMAT_VERTEX_BUFFER_OBJECT;
    d.persistentAttributes = 0x15;
    d.maxActiveStage = 3;

    RoundTrip rt;
    rt.begin();
    const uint64_t payload = rt.position() + 12;  // after the type index, tag and address
    rt.write(&d, def("olDrawFunc::Data"));
    auto address = [&](const void* p) { return rt.getAddress(p); };

    Bytes e;
    e.i(1).i(3);                                            // primitive, number of primitives
    e.i(10).u(address(d.primitiveLengths)).i(2).i(2).i(2);  // the block's size, not the count
    for (int i = 3; i < 10; ++i)
        e.i(0);
    e.i(1).i(0);  // colors bound overall, none: nothing more
    e.i(3).i(2).u(address(d.normals)).f({1, 2, 3, 4, 5, 6});
    e.i(3).i(2).i(0).u(address(d.texCoords[0])).f({1, 2});
    e.i(3).i(2).i(1).u(address(d.texCoords[1])).f({1, 2, 3, 4});
    e.i(3).i(2).i(2).u(address(d.texCoords[2])).f({1, 2, 3, 4, 5, 6});
    e.i(3).i(2).i(3).u(address(d.texCoords[3])).f({1, 2, 3, 4, 5, 6, 7, 8});
    e.i(1).i(0);  // a stage without coordinates: binding and 0
    for (int s = 5; s < 8; ++s)
        e.i(0).i(0);
    e.i(2).u(address(d.vertices)).f({0, 0, 0, 1, 1, 1});  // vertices carry no binding
    e.i(3).i(2).u(address(d.indices)).put<unsigned short>(1).put<unsigned short>(0);
    e.i(5).u(0x15).i(0);                            // format, persistent attributes, display list
    e.f({0, 0, 0, 1, 1, 1}).f({0, 0, 0, 0, 0, 0});  // bounding boxes
    e.i(3).i(0);                                    // maximum active stage, transparent
    olMessageList messages;
    olDrawFunc::validate(&d, 4, messages);
    e.u(static_cast<unsigned int>(messages.size()));  // then the validation block

    rt.finish();
    const std::vector<uint8_t> bytes = rt.bytes();
    ASSERT_GE(bytes.size(), payload + e.data.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + static_cast<long>(payload),
                                   bytes.begin() + static_cast<long>(payload + e.data.size())),
              e.data);

    const akDebugObject* read = rt.read();
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(rt.consumedAll());
    EXPECT_EQ(at(read, "Primitive Lengths")->size_child(), 10u);
    EXPECT_EQ(valueOf(at(read, "Color Binding")), "BINDING_OVERALL");
    EXPECT_EQ(valueOf(at(read, "Colors")), "0x0");
    EXPECT_TRUE(at(read, "Colors")->empty_child());
    EXPECT_EQ(typeOf(at(read, "Texture Coordinates, Stage 4")), "Unknown");
    EXPECT_EQ(at(read, "Texture Coordinate Dimension, Stage 4"), nullptr);
    EXPECT_EQ(valueOf(at(read, "Texture Coordinates, Stage 1/1")), "s=3, t=4");
    EXPECT_EQ(typeOf(at(read, "Texture Coordinates, Stage 1/1")), "emVec2<float>");
    EXPECT_EQ(valueOf(at(read, "Texture Coordinates, Stage 3/1")), "s=5, t=6, q=7, r=8");
    EXPECT_EQ(errors(read), messageRows(messages));
}

// A count that the host hands out without its array stores no elements: the record stays
// readable instead of reading through a null pointer.
TEST_F(TelrDrawTest, CountWithoutArrayStoresNoElements)
{
    olDrawFunc::Data d;
    d.colorBinding = olDrawFunc::BINDING_VERTEX;
    d.numColors = 4;
    d.numVertices = 3;
    d.texCoordBinding[2] = olDrawFunc::BINDING_VERTEX;
    d.numTexCoords[2] = 5;

    RoundTrip rt;
    rt.write(&d, def("olDrawFunc::Data"));
    rt.finish();
    const akDebugObject* read = rt.read();
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(rt.consumedAll());
    EXPECT_EQ(valueOf(at(read, "Color Binding")), "BINDING_VERTEX");
    EXPECT_EQ(valueOf(at(read, "Colors")), "0x0");
    EXPECT_TRUE(at(read, "Vertices")->empty_child());
    EXPECT_EQ(typeOf(at(read, "Texture Coordinates, Stage 2")), "Unknown");
}

// Counts read from a damaged file are checked against the rest of the file before any element is
// built: a huge count fails the stream at once.
TEST_F(TelrDrawTest, HugeArrayCountsStopTheRead)
{
    // Payload offsets of the colors' count and of stage 0's count of an empty record.
    for (size_t offset : {size_t(16), size_t(32)}) {
        SCOPED_TRACE(offset);
        testsupport::clear();
        olDrawFunc::Data d;
        RoundTrip rt;
        rt.begin();
        const size_t at = static_cast<size_t>(rt.position()) + 12 + offset;
        rt.write(&d, def("olDrawFunc::Data"));
        rt.finish();
        std::vector<uint8_t> bytes = rt.bytes();
        ASSERT_EQ(word(bytes, at), 0u);
        const uint32_t huge = 0x7FFFFFFF;
        std::memcpy(bytes.data() + at, &huge, 4);
        rt.reread(bytes);
        const akDebugObject* read = rt.read();
        EXPECT_TRUE(rt.hasReadFailed());
        EXPECT_TRUE(
            testsupport::printed(emNotify::LEVEL_FAIL, "akDebug::readCount - count exceeds the rest of the file"));
        ASSERT_NE(read, nullptr);
        EXPECT_LT(rows(read).size(), 40u);
    }
}

// ---- Fonts and draw contexts ----

TEST_F(TelrDrawTest, Font3DStoresAllCharacterCodesUnderTheirNames)
{
    olFont3D font;
    olGeometry glyph("A");
    font.setGeometry(65, &glyph);
    font.setSpacing(65, emVec3<float>(1, 2, 3));
    RoundTrip rt;
    rt.write(&font);
    rt.finish();
    const akDebugObject* read = rt.read();
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(rt.consumedAll());

    const akDebugAttributeBase* characters = at(read, "Characters");
    ASSERT_NE(characters, nullptr);
    ASSERT_EQ(characters->size_child(), 256u);
    EXPECT_EQ(std::string(child(characters, 0)->getName()), std::string("0 '", 3));
    EXPECT_STREQ(child(characters, 65)->getName(), "65 'A'");
    EXPECT_STREQ(child(characters, 255)->getName(), "255 '\xFF'");
    EXPECT_EQ(objectRows(child(characters, 65)),
              (Rows{"Geometry: olGeometry * = " + rt.address(static_cast<const emClassObject*>(&glyph)),
                    "Spacing: emVec3<float> = x=1, y=2, z=3"}));
    EXPECT_EQ(objectRows(child(characters, 66)),
              (Rows{"Geometry: olGeometry * = 0x0", "Spacing: emVec3<float> = x=0, y=0, z=0"}));
}

// A context setting nothing: the null inherit state, then per element kind a null record (type
// index, tag 0), a false preserve flag and no messages.
TEST_F(TelrDrawTest, UnsetContextWritesNullRecordsFlagsAndEmptyValidations)
{
    olDrawContext context("empty");
    RoundTrip rt;
    rt.write(&context);
    Bytes tail;
    tail.i(typeIndex(rt, "olState")).i(0).i(olElement::size_context());
    Rows expected = {"Inherit State: olState * = 0x0", "Elements:  = "}, enables = {"Preserve Enables:  = "};
    for (auto id = olElement::begin_context(); id != olElement::end_context(); ++id) {
        const std::string kind = (*id)->getName();
        ASSERT_NE(def(kind.c_str()), nullptr) << kind;
        tail.i(typeIndex(rt, kind.c_str())).i(0).i(0).i(0);
        expected.push_back("Elements/" + kind + ": " + kind + " = Inherited");
        enables.push_back("Preserve Enables/" + kind + ": bool = false");
    }
    expected.insert(expected.end(), enables.begin(), enables.end());
    rt.finish();
    EXPECT_TRUE(endsWith(rt.bytes(), tail.data));

    const akDebugObject* read = rt.read();
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(rt.consumedAll());
    Rows actual = objectRows(read);
    ASSERT_FALSE(actual.empty());
    actual.erase(actual.begin());  // the emBase level
    EXPECT_TRUE(sameRows(actual, expected));
    EXPECT_TRUE(errors(read).empty());
}

// The context's own messages stay on the context (not on its copies); its inherit state is
// validated as one and carries those messages with its copies; the flag ends with that write.
TEST_F(TelrDrawTest, ContextMessagesStayOnTheContextAndItsStateIsValidatedAsInherited)
{
    olState inherit;
    olFog::Element fog;
    fog.enable = true;
    olDrawContext context("context");
    context.setInheritState(&inherit);
    context.setElement(&fog);
    context.addValidationMessage(olLine::Element::getStaticClassType(), emNotify::LEVEL_NOTICE, "line note");
    olState alone;

    RoundTrip rt;
    rt.write(&context);
    rt.write(&alone);
    rt.finish();
    akDebugObject* read = rt.read();
    const akDebugObject* readAlone = rt.read();
    ASSERT_NE(read, nullptr);
    ASSERT_NE(readAlone, nullptr);
    EXPECT_TRUE(rt.consumedAll());

    EXPECT_EQ(errors(read),
              (Rows{std::to_string(emNotify::LEVEL_WARN) + ": olFog::Element - fog is enabled without a fog object",
                    std::to_string(emNotify::LEVEL_NOTICE) + ": line note"}));
    const Rows inherited = errors(at(read, "Inherit State"));
    EXPECT_FALSE(inherited.empty());
    EXPECT_TRUE(errors(readAlone).empty());

    akDebugAttributeBase* copy = read->makeCopy();
    copy->ref();
    EXPECT_TRUE(errors(copy).empty());
    EXPECT_EQ(errors(at(copy, "Inherit State")), inherited);
    copy->unref();
}

// A draw context does not share repeats: reached twice, it is written in full twice.
TEST_F(TelrDrawTest, ContextReachedTwiceIsWrittenInFullBothTimes)
{
    olState inherit;
    olDrawContext context("twice");
    context.setInheritState(&inherit);
    RoundTrip rt;
    rt.begin();
    rt.write(&context);
    const size_t second = static_cast<size_t>(rt.position());
    rt.write(&context);
    rt.finish();
    EXPECT_EQ(word(rt.bytes(), second + 4), static_cast<uint32_t>(akDebug::OBJECT_FULL));

    const akDebugObject* first = rt.read();
    const akDebugObject* again = rt.read();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(rt.consumedAll());
    EXPECT_EQ(rt.getNumRecords(akDebug::OBJECT_REPEAT), 1u);  // the shared inherit state only
    EXPECT_EQ(rows(first), rows(again));
}

}  // namespace
