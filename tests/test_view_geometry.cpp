// The viewer's geometry: drawables written by the module and read back, expanded into vertices and
// indices by primitive kind and binding; shapes and text; the state a recorded draw was drawn
// with; and a scene's transforms placing its geometry, against values worked out by hand.
#include "schemasupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <compressed.h>
#include <demoplace.h>
#include <drawpack.h>

#include <cmath>
#include <cstring>
#include <set>

namespace {

using namespace view::geometry;
using schemasupport::RoundTrip;

class GeometryTest : public schemasupport::ModuleTest
{
protected:
    // The drawable as the viewer gets it from a file.
    Mesh extracted(const olGeometryBase* geometry, bool expectDrawable = true)
    {
        trips.emplace_back(new RoundTrip);
        trips.back()->write(geometry);
        trips.back()->finish();
        Mesh mesh;
        EXPECT_EQ(extract(trips.back()->read("Geometry"), mesh), expectDrawable);
        return mesh;
    }
    Mesh extracted(const olDrawFunc::Data* data)
    {
        trips.emplace_back(new RoundTrip);
        trips.back()->write(data, akDebugTypeDef::find("olDrawFunc::Data"));
        trips.back()->finish();
        Mesh mesh;
        EXPECT_TRUE(extract(trips.back()->read("Geometry"), mesh));
        return mesh;
    }
    std::vector<std::unique_ptr<RoundTrip>> trips;
};

std::vector<emVec3<float>> line(int n)
{
    std::vector<emVec3<float>> vertices;
    for (int i = 0; i < n; ++i)
        vertices.emplace_back(static_cast<float>(i), static_cast<float>(i * i), 0.0f);
    return vertices;
}

using Indices = std::vector<uint32_t>;

TEST_F(GeometryTest, PrimitiveKindsExpandIntoTrianglesLinesAndPoints)
{
    const auto vertices = line(8);
    struct Case
    {
        olDrawFunc::Primitive primitive;
        std::vector<int> lengths;
        Primitive kind;
        Indices indices;
    };
    const Case cases[] = {
        {olDrawFunc::PRIMITIVE_POINT, {}, Primitive::Points, {0, 1, 2, 3, 4, 5, 6, 7}},
        {olDrawFunc::PRIMITIVE_LINE, {}, Primitive::Lines, {0, 1, 2, 3, 4, 5, 6, 7}},
        {olDrawFunc::PRIMITIVE_LINE_STRIP, {3, 2}, Primitive::Lines, {0, 1, 1, 2, 3, 4}},
        // Six vertices make two triangles; the two left over make none.
        {olDrawFunc::PRIMITIVE_TRIANGLE, {}, Primitive::Triangles, {0, 1, 2, 3, 4, 5}},
        // Strips alternate their winding; a second strip starts after the first one's length.
        {olDrawFunc::PRIMITIVE_TRIANGLE_STRIP, {5, 3}, Primitive::Triangles, {0, 1, 2, 2, 1, 3, 2, 3, 4, 5, 6, 7}},
        {olDrawFunc::PRIMITIVE_TRIANGLE_FAN, {5}, Primitive::Triangles, {0, 1, 2, 0, 2, 3, 0, 3, 4}},
        {olDrawFunc::PRIMITIVE_QUAD, {}, Primitive::Triangles, {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}},
    };
    for (const Case& c : cases) {
        olDrawFunc::Data data;
        data.primitive = c.primitive;
        data.setVertices(vertices.data(), 8);
        if (!c.lengths.empty())
            data.setPrimitiveLengths(c.lengths.data(), static_cast<int>(c.lengths.size()), 10);
        const Mesh mesh = extracted(&data);
        EXPECT_EQ(mesh.primitive, c.kind) << c.primitive;
        EXPECT_EQ(mesh.indices, c.indices) << c.primitive;
        ASSERT_EQ(mesh.positions.size(), 24u) << c.primitive;
        EXPECT_EQ(mesh.positions[3 * 7 + 1], 49.0f) << "vertex 7 keeps its place";
        EXPECT_TRUE(mesh.normals.empty() && mesh.colors.empty() && !mesh.standIn);
    }
}

TEST_F(GeometryTest, IndicesSelectVerticesAndIndicesPastTheVerticesDropTheirPrimitive)
{
    const auto vertices = line(4);
    const unsigned short indices[] = {2, 1, 0, 0, 9, 2, 0, 3, 2};
    olGeometry geometry;
    geometry.setPrimitive(olGeometryBase::PRIMITIVE_TRIANGLE);
    geometry.setVertices(vertices.data(), 4);
    geometry.setIndices(olGeometryBase::BINDING_VERTEX, indices, 9);
    const Mesh mesh = extracted(&geometry);
    EXPECT_EQ(mesh.indices, (Indices{2, 1, 0, 0, 3, 2}));
    EXPECT_EQ(mesh.vertexCount(), 4u);
}

TEST_F(GeometryTest, BindingsBecomePerVertexAttributes)
{
    // Two triangles sharing an edge, through indices.
    const auto vertices = line(4);
    const unsigned short indices[] = {0, 1, 2, 2, 1, 3};
    const emVec4<float> red(1, 0, 0, 1), green(0, 1, 0, 1), blue(0, 0, 1, 0.5f), white(1, 1, 1, 1);
    const emVec3<float> up(0, 0, 1), side(1, 0, 0);

    {  // Overall: one colour for every vertex; the vertices stay shared.
        olGeometry g;
        g.setPrimitive(olGeometryBase::PRIMITIVE_TRIANGLE);
        g.setVertices(vertices.data(), 4);
        g.setIndices(olGeometryBase::BINDING_VERTEX, indices, 6);
        g.setColors(olGeometryBase::BINDING_OVERALL, &red, 1);
        g.setNormals(olGeometryBase::BINDING_OVERALL, &up, 1);
        const Mesh mesh = extracted(&g);
        EXPECT_EQ(mesh.colors, std::vector<uint32_t>(4, 0xFF0000FFu));
        EXPECT_EQ(mesh.normals, (std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}));
        EXPECT_EQ(mesh.indices, (Indices{0, 1, 2, 2, 1, 3}));
    }
    {  // Per vertex: each vertex its own colour, by vertex index.
        const emVec4<float> colors[4] = {red, green, blue, white};
        olGeometry g;
        g.setPrimitive(olGeometryBase::PRIMITIVE_TRIANGLE);
        g.setVertices(vertices.data(), 4);
        g.setIndices(olGeometryBase::BINDING_VERTEX, indices, 6);
        g.setColors(olGeometryBase::BINDING_VERTEX, colors, 4);
        const Mesh mesh = extracted(&g);
        EXPECT_EQ(mesh.colors, (std::vector<uint32_t>{0xFF0000FFu, 0xFF00FF00u, 0x80FF0000u, 0xFFFFFFFFu}));
        EXPECT_EQ(mesh.indices, (Indices{0, 1, 2, 2, 1, 3}));
    }
    {  // Per primitive: the shared vertices part, each corner taking its triangle's colour and normal.
        const emVec4<float> colors[2] = {red, green};
        const emVec3<float> normals[2] = {up, side};
        olGeometry g;
        g.setPrimitive(olGeometryBase::PRIMITIVE_TRIANGLE);
        g.setNumPrimitives(2);
        g.setVertices(vertices.data(), 4);
        g.setIndices(olGeometryBase::BINDING_VERTEX, indices, 6);
        g.setColors(olGeometryBase::BINDING_PRIMITIVE, colors, 2);
        g.setNormals(olGeometryBase::BINDING_PRIMITIVE, normals, 2);
        const Mesh mesh = extracted(&g);
        EXPECT_EQ(mesh.indices, (Indices{0, 1, 2, 3, 4, 5}));
        EXPECT_EQ(
            mesh.colors,
            (std::vector<uint32_t>{0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u}));
        // Corner 4 is vertex 1 (x 1, y 1) of the second triangle, facing +X.
        EXPECT_EQ(std::vector<float>(mesh.positions.begin() + 12, mesh.positions.begin() + 15),
                  (std::vector<float>{1, 1, 0}));
        EXPECT_EQ(std::vector<float>(mesh.normals.begin() + 12, mesh.normals.begin() + 15),
                  (std::vector<float>{1, 0, 0}));
    }
    {  // Per primitive on a strip: one colour per strip.
        const emVec4<float> colors[2] = {red, green};
        const int lengths[2] = {4, 3};
        const auto seven = line(7);
        olDrawFunc::Data data;
        data.primitive = olDrawFunc::PRIMITIVE_TRIANGLE_STRIP;
        data.setPrimitiveLengths(lengths, 2);
        data.setVertices(seven.data(), 7);
        data.setColors(olDrawFunc::BINDING_PRIMITIVE, colors, 2);
        const Mesh mesh = extracted(&data);
        EXPECT_EQ(mesh.colors,
                  (std::vector<uint32_t>{0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu,
                                         0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u}));
    }
}

TEST_F(GeometryTest, ShapesAreBuiltFromTheirParametersAndBareRecordsFromTheirBounds)
{
    olBox box;
    box.setBox({emVec3<float>(1, 2, 3), emVec3<float>(2, 4, 6)});
    Mesh mesh = extracted(&box);
    EXPECT_EQ(mesh.indices.size(), 36u);
    Box bounds;
    for (size_t v = 0; v < mesh.vertexCount(); ++v)
        bounds.add(&mesh.positions[v * 3]);
    EXPECT_EQ(std::vector<float>(bounds.minimum, bounds.minimum + 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(std::vector<float>(bounds.maximum, bounds.maximum + 3), (std::vector<float>{2, 4, 6}));
    // Every face turns outward: its normal points away from the centre.
    for (size_t v = 0; v < mesh.vertexCount(); ++v) {
        const float* p = &mesh.positions[v * 3];
        const float* n = &mesh.normals[v * 3];
        EXPECT_GT((p[0] - 1.5f) * n[0] + (p[1] - 3) * n[1] + (p[2] - 4.5f) * n[2], 0.0f);
    }

    olSphere sphere;
    sphere.setSphere(emSphere<float>(1, 0, 0, 2));
    mesh = extracted(&sphere);
    ASSERT_GT(mesh.vertexCount(), 100u);
    for (size_t v = 0; v < mesh.vertexCount(); ++v) {
        const float* p = &mesh.positions[v * 3];
        EXPECT_NEAR(std::sqrt((p[0] - 1) * (p[0] - 1) + p[1] * p[1] + p[2] * p[2]), 2.0f, 1e-5f);
    }

    // A plane n . p = 3 with n = +Z, 2 wide: a square at height 3.
    olPlane plane;
    plane.setPlane(emPlane<float>(0, 0, 1, 3));
    plane.setSize(2);
    mesh = extracted(&plane);
    ASSERT_EQ(mesh.vertexCount(), 4u);
    for (size_t v = 0; v < 4; ++v) {
        EXPECT_EQ(mesh.positions[v * 3 + 2], 3.0f);
        EXPECT_FLOAT_EQ(std::fabs(mesh.positions[v * 3]), 1.0f);
    }

    // A frustum of the box -1..1, -2..2, 0..5: eight corners, twelve edges.
    olFrustum frustum;
    emFrustum<float> f;
    f.planes[0] = emPlane<float>(1, 0, 0, -1);
    f.planes[1] = emPlane<float>(1, 0, 0, 1);
    f.planes[2] = emPlane<float>(0, 1, 0, -2);
    f.planes[3] = emPlane<float>(0, 1, 0, 2);
    f.planes[4] = emPlane<float>(0, 0, 1, 0);
    f.planes[5] = emPlane<float>(0, 0, 1, 5);
    frustum.setFrustum(f);
    mesh = extracted(&frustum);
    EXPECT_EQ(mesh.primitive, Primitive::Lines);
    EXPECT_EQ(mesh.indices.size(), 24u);
    EXPECT_EQ(std::vector<float>(mesh.positions.begin() + 21, mesh.positions.end()), (std::vector<float>{1, 2, 5}));

    // Vertices that make no primitive: the bounding box instead; without one, nothing.
    olGeometry bare;
    bare.setPrimitive(olGeometryBase::PRIMITIVE_TRIANGLE);
    bare.setBoundingBox({emVec3<float>(0, 0, 0), emVec3<float>(1, 1, 1)});
    mesh = extracted(&bare);
    EXPECT_TRUE(mesh.standIn);
    EXPECT_EQ(mesh.indices.size(), 36u);
    olGeometry nothing;
    nothing.setBoundingBox({emVec3<float>(1, 1, 1), emVec3<float>(0, 0, 0)});
    extracted(&nothing, false);
}

TEST_F(GeometryTest, TextIsDrawnWithItsFontsCharactersSpacedAlong)
{
    const emVec3<float> stroke[2] = {{0, 0, 0}, {0, 1, 0}};
    olGeometry bar;
    bar.setPrimitive(olGeometryBase::PRIMITIVE_LINE);
    bar.setVertices(stroke, 2);
    olFont3D font;
    font.setGeometry('I', &bar);
    font.setSpacing('I', emVec3<float>(2, 0, 0));
    font.setSpacing(' ', emVec3<float>(3, 0, 0));
    olString text;
    text.setFont(&font);
    text.setString("I I");
    const Mesh mesh = extracted(&text);
    EXPECT_EQ(mesh.primitive, Primitive::Lines);
    EXPECT_EQ(mesh.positions, (std::vector<float>{0, 0, 0, 0, 1, 0, 5, 0, 0, 5, 1, 0}));
    EXPECT_EQ(mesh.indices, (Indices{0, 1, 2, 3}));
}

// A pack read back: its description and the arrays behind it.
struct ReadPack
{
    explicit ReadPack(const std::string& block)
    {
        uint32_t length = 0;
        EXPECT_EQ(block.compare(0, 4, "AKGP"), 0);
        std::memcpy(&length, block.data() + 4, 4);
        header = nlohmann::json::parse(block.substr(8, length));
        body = block.substr(8 + length);
    }
    template <class T>
    const T* array(size_t offset) const
    {
        return reinterpret_cast<const T*>(body.data() + offset);
    }
    // Minimum and maximum of what item i drew.
    std::vector<float> box(size_t i) const
    {
        const float* words = array<float>(header["items"]["offset"].get<size_t>() + i * 48);
        return std::vector<float>(words + 2, words + 8);
    }
    nlohmann::json header;
    std::string body;
};

TEST_F(GeometryTest, TransformsComposeScaleRotationAndTranslationInTheHostsOrder)
{
    // Heading turns +X to +Y, pitch +Y to +Z, roll +X to -Z; roll first, then pitch, then heading.
    const double none[3] = {0, 0, 0}, one[3] = {1, 1, 1};
    const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    auto through = [](const Matrix& m, const float p[3]) {
        float out[3];
        transformPoint(m, p, out);
        return std::vector<double>{std::round(out[0] * 1e6) / 1e6, std::round(out[1] * 1e6) / 1e6,
                                   std::round(out[2] * 1e6) / 1e6};
    };
    const double heading[3] = {90, 0, 0}, pitch[3] = {0, 90, 0}, roll[3] = {0, 0, 90}, all[3] = {90, 90, 90};
    EXPECT_EQ(through(composeAffine(none, heading, one), x), (std::vector<double>{0, 1, 0}));
    EXPECT_EQ(through(composeAffine(none, pitch, one), y), (std::vector<double>{0, 0, 1}));
    EXPECT_EQ(through(composeAffine(none, roll, one), x), (std::vector<double>{0, 0, -1}));
    // X: roll to -Z, pitch to +Y, heading to -X.
    EXPECT_EQ(through(composeAffine(none, all, one), x), (std::vector<double>{-1, 0, 0}));
    // Scale before rotation, translation last.
    const double t[3] = {1, 2, 3}, s[3] = {2, 1, 1};
    EXPECT_EQ(through(composeAffine(t, heading, s), x), (std::vector<double>{1, 4, 3}));

    // A chain in a scene file: a transform, a degree of freedom with a local origin, a box.
    kiNode* root = new kiNode("root");
    kiTransform* move = new kiTransform("move");
    move->setTranslate(10, 0, 0);
    move->setScale(1, 1, 2);
    kiDOF* turn = new kiDOF("turn");
    turn->setRotate(90, 0, 0);
    emMatrix<double> origin = emMatrix<double>::identity();
    origin.m[3][2] = 5;
    turn->setLocalOrigin(origin);
    olBox box;
    box.setBox({emVec3<float>(0, 0, 0), emVec3<float>(1, 1, 1)});
    kiGeometry* node = new kiGeometry("box");
    node->setGeometryBase(0, &box);
    node->setBounds(emSphere<double>(1, 0, 0, 1));
    root->addChild(move);
    move->addChild(turn);
    turn->addChild(node);
    const std::string file = testsupport::tempDir() + "/chain.scene";
    {
        akDebugScene writer;
        ASSERT_EQ(writer.write(file.c_str(), root, false), telu::SUCCESS);
    }
    kiNode::release(root);
    akDebugScene scene;
    ASSERT_EQ(scene.read(file.c_str()), telu::SUCCESS);

    Pack pack;
    uint32_t next = 100;
    addScene(pack, scene.getRoot(), nullptr, [&](const akDebugObject*) { return next++; });
    const ReadPack read(pack.serialize(nlohmann::json::object()));
    ASSERT_EQ(read.header["items"]["count"], 4);
    // The box corner (1, 0, 0): turned to (0, 1, 0), raised by the origin to (0, 1, 5), its height
    // doubled and moved to (10, 1, 10). The box spans x 9..10, y 0..1, z 10..12.
    EXPECT_EQ(read.box(3), (std::vector<float>{9, 0, 10, 10, 1, 12}));
    const int32_t* parents = read.array<int32_t>(read.header["items"]["offset"].get<size_t>());
    EXPECT_EQ(static_cast<uint32_t>(parents[3 * 12]), 103u);
    EXPECT_EQ(parents[3 * 12 + 1], 2) << "the box's parent is the third item";
    // The box node's bounds, in its parent's coordinates, placed by the chain above it.
    const float* sphere = read.array<float>(read.header["items"]["offset"].get<size_t>() + 3 * 48 + 32);
    EXPECT_EQ(std::vector<float>(sphere, sphere + 4), (std::vector<float>{10, 1, 10, 2}));

    // Only a subtree: its items, the chain above still placing them.
    Pack part;
    const akDebugAttributeBase* below = scene.getRoot();
    for (int depth = 0; depth < 2; ++depth)
        below =
            schemasupport::at(view::geometry::level(static_cast<const akDebugObject*>(below), "kiNode"), "Children/0");
    ASSERT_NE(below, nullptr);
    addScene(part, scene.getRoot(), below, [&](const akDebugObject*) { return next++; });
    const ReadPack partRead(part.serialize(nlohmann::json::object()));
    ASSERT_EQ(partRead.header["items"]["count"], 2);
    EXPECT_EQ(partRead.box(1), (std::vector<float>{9, 0, 10, 10, 1, 12}));
}

// The place's channel: each geometry record drawn with the model-view matrix its cull record
// handed to the draw context, the channel's projection and its render state's colour.
TEST_F(GeometryTest, RecordedDrawsKeepTheirMatricesAndColours)
{
    demoplace::Place place;
    const std::string file = testsupport::tempDir() + "/place.draw";
    {
        akDebugDraw recorder;
        ASSERT_EQ(recorder.write(file.c_str(), place.getChannel(), false), telu::SUCCESS);
        recorder.start(1);
        place.getChannel()->drawFrame();
    }
    akDebugDraw draw;
    ASSERT_EQ(draw.read(file.c_str()), telu::SUCCESS);
    Pack pack;
    std::vector<DrawState> states;
    uint32_t index = 0;
    for (auto it = draw.begin_record(); it != draw.end_record(); ++it, ++index) {
        addRecord(pack, index, **it);
        if ((*it)->geometry)
            states.push_back(drawState((*it)->drawContext, (*it)->cullRecord));
    }
    ASSERT_EQ(static_cast<int>(states.size()), place.getNumDraws());
    ASSERT_EQ(pack.items(), states.size());
    // The ground is drawn first: the camera's view alone (its node has no transform above it).
    const emMatrix<float>& view =
        static_cast<const olTransform::ElementModelView*>(
            place.getChannel()->getDrawContext()->getElement(olTransform::ElementModelView::getStaticClassType()))
            ->matrix;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_FLOAT_EQ(static_cast<float>(states[0].modelView.m[r][c]), view.m[r][c]);
    EXPECT_EQ(states[0].projection.m[2][3], -1.0);
    EXPECT_EQ(states[0].color, 0xFF408C54u) << "the grass material";
    // The houses, trees and the sign each sit where their transforms put them: matrices of their own.
    std::set<std::vector<double>> places;
    for (const DrawState& state : states)
        places.insert({state.modelView.m[3][0], state.modelView.m[3][1], state.modelView.m[3][2]});
    EXPECT_GT(places.size(), 20u);
    const ReadPack read(pack.serialize(nlohmann::json::object()));
    EXPECT_EQ(read.header["projections"].size(), 1u);
}

// The page's large scripts are embedded gzip-compressed and inflated where a page is written; binary
// answers travel in a written page as base64.
TEST(WebEncodingTest, GzipInflatesWholeStreamsOnlyAndBase64PadsItsEnd)
{
    // "hello\n" as gzip -9n writes it.
    const unsigned char hello[] = {0x1f, 0x8b, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x03, 0xcb, 0x48, 0xcd,
                                   0xc9, 0xc9, 0xe7, 0x02, 0x00, 0x20, 0x30, 0x3a, 0x36, 0x06, 0x00, 0x00, 0x00};
    std::string out;
    EXPECT_TRUE(view::isGzip(hello, sizeof hello));
    ASSERT_TRUE(view::gunzip(hello, sizeof hello, out));
    EXPECT_EQ(out, "hello\n");
    EXPECT_FALSE(view::gunzip(hello, sizeof hello - 5, out)) << "a stream cut short";
    const unsigned char text[] = "'use strict';";
    EXPECT_FALSE(view::isGzip(text, sizeof text - 1));
    EXPECT_EQ(view::base64(""), "");
    EXPECT_EQ(view::base64("f"), "Zg==");
    EXPECT_EQ(view::base64("fo"), "Zm8=");
    EXPECT_EQ(view::base64("foo"), "Zm9v");
    EXPECT_EQ(view::base64(std::string("\xff\x00\x80", 3)), "/wCA");
}

}  // namespace
