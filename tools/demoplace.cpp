#include "demoplace.h"

#include "camera.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace demoplace {

namespace {

using Matrix = emMatrix<double>;
using camera::lookAt;
using camera::multiply;
using camera::perspective;

// Strokes of the sign's letters on a grid 4 wide and 6 high, as pairs of points.
struct Glyph
{
    char c;
    std::vector<float> strokes;  // x0, y0, x1, y1 per stroke
};
const Glyph s_glyphs[] = {
    {'A', {0, 0, 2, 6, 2, 6, 4, 0, 1, 3, 3, 3}},
    {'K', {0, 0, 0, 6, 0, 2, 4, 6, 1.5f, 3.5f, 4, 0}},
    {'D', {0, 0, 0, 6, 0, 6, 2.5f, 6, 2.5f, 6, 4, 4.5f, 4, 4.5f, 4, 1.5f, 4, 1.5f, 2.5f, 0, 2.5f, 0, 0, 0}},
    {'E', {0, 0, 0, 6, 0, 6, 4, 6, 0, 3, 3, 3, 0, 0, 4, 0}},
    {'B', {0, 0, 0, 6, 0, 6, 3, 6, 3, 6, 4, 5, 4, 5, 4, 4, 4, 4, 3, 3,
           0, 3, 3, 3, 3, 3, 4, 2, 4, 2, 4, 1, 4, 1, 3, 0, 3, 0, 0, 0}},
    {'U', {0, 6, 0, 1, 0, 1, 1, 0, 1, 0, 3, 0, 3, 0, 4, 1, 4, 1, 4, 6}},
    {'G', {4, 5, 3, 6, 3, 6, 1, 6, 1, 6, 0, 5, 0, 5, 0, 1, 0, 1, 1, 0, 1, 0, 3, 0, 3, 0, 4, 1, 4, 1, 4, 3, 4, 3, 2, 3}},
};

// A glyph as quads around its strokes, in the XY plane facing +Z.
void glyphGeometry(const Glyph& glyph, olGeometry& geometry)
{
    const float halfWidth = 0.4f;
    std::vector<emVec3<float>> vertices;
    for (size_t i = 0; i + 3 < glyph.strokes.size(); i += 4) {
        const float x0 = glyph.strokes[i], y0 = glyph.strokes[i + 1], x1 = glyph.strokes[i + 2],
                    y1 = glyph.strokes[i + 3];
        const float length = std::hypot(x1 - x0, y1 - y0);
        // Across the stroke, to its left; the stroke made longer by the width at both ends.
        const float ax = -(y1 - y0) / length * halfWidth, ay = (x1 - x0) / length * halfWidth;
        const float ex = ay, ey = -ax;
        vertices.emplace_back(x0 - ex - ax, y0 - ey - ay, 0.0f);
        vertices.emplace_back(x1 + ex - ax, y1 + ey - ay, 0.0f);
        vertices.emplace_back(x1 + ex + ax, y1 + ey + ay, 0.0f);
        vertices.emplace_back(x0 - ex + ax, y0 - ey + ay, 0.0f);
    }
    const emVec3<float> normal(0.0f, 0.0f, 1.0f);
    geometry.setPrimitive(olGeometryBase::PRIMITIVE_QUAD);
    geometry.setNumPrimitives(static_cast<int>(vertices.size() / 4));
    geometry.setVertices(vertices.data(), static_cast<int>(vertices.size()));
    geometry.setNormals(olGeometryBase::BINDING_OVERALL, &normal, 1);
}

emSphere<double> sphereOf(const emBox<float>& box)
{
    double centre[3], radius = 0;
    for (int i = 0; i < 3; ++i) {
        centre[i] = (box.minimum[i] + box.maximum[i]) / 2.0;
        radius += (box.maximum[i] - centre[i]) * (box.maximum[i] - centre[i]);
    }
    return emSphere<double>(centre[0], centre[1], centre[2],
                            box.minimum[0] > box.maximum[0] ? -1.0 : std::sqrt(radius));
}

// The sphere around two spheres.
emSphere<double> enclose(const emSphere<double>& a, const emSphere<double>& b)
{
    if (a[3] < 0)
        return b;
    if (b[3] < 0)
        return a;
    const double d =
        std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
    if (d + b[3] <= a[3])
        return a;
    if (d + a[3] <= b[3])
        return b;
    const double radius = (d + a[3] + b[3]) / 2.0, t = (radius - a[3]) / d;
    return emSphere<double>(a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t, radius);
}

// The node's own matrix when it is a transform or a degree-of-freedom node.
bool matrixOf(const kiNode* node, Matrix& matrix)
{
    if (const auto* transform = dynamic_cast<const kiTransform*>(node)) {
        matrix = transform->getMatrixAffine();
        return true;
    }
    if (const auto* dof = dynamic_cast<const kiDOF*>(node)) {
        matrix = dof->getMatrixAffine();
        return true;
    }
    return false;
}

// Sets the bounds of `node` and below, each in its parent's coordinates; returns the node's.
emSphere<double> computeBounds(kiNode* node)
{
    emSphere<double> bounds(0, 0, 0, -1);
    if (const auto* geometry = dynamic_cast<const kiGeometryBase*>(node))
        if (const olGeometryBase* drawable = geometry->getGeometryBase(0))
            bounds = sphereOf(drawable->getBoundingBox());
    for (auto it = node->begin_child(); it != node->end_child(); ++it)
        bounds = enclose(bounds, computeBounds(*it));
    Matrix m;
    if (bounds[3] >= 0 && matrixOf(node, m)) {
        double centre[3], scale = 0;
        for (int j = 0; j < 3; ++j)
            centre[j] = bounds[0] * m.m[0][j] + bounds[1] * m.m[1][j] + bounds[2] * m.m[2][j] + m.m[3][j];
        for (int r = 0; r < 3; ++r)
            scale = std::max(scale, std::sqrt(m.m[r][0] * m.m[r][0] + m.m[r][1] * m.m[r][1] + m.m[r][2] * m.m[r][2]));
        bounds = emSphere<double>(centre[0], centre[1], centre[2], bounds[3] * scale);
    }
    node->setBounds(bounds);
    return bounds;
}

std::string numbered(const char* prefix, int i)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", prefix, i);
    return text;
}

}  // namespace

Place::Place() : m_inherit(new benchscene::InheritState)
{
    m_inherit->light.enable = true;  // lit
    m_root = new kiNode(names::ROOT);
    m_root->ref();
    m_unitBox = own<olBox>("Unit Box");
    m_unitBox->setBox({emVec3<float>(-0.5f, -0.5f, 0.0f), emVec3<float>(0.5f, 0.5f, 1.0f)});
    m_crown = own<olSphere>("Tree Crown");
    m_crown->setSphere(emSphere<float>(0.0f, 0.0f, 0.0f, 1.0f));

    buildGround();
    buildHouses();
    buildTrees();
    buildBarrier();
    buildLights();
    buildSign();
    computeBounds(m_root);
    buildChannel();
}

Place::~Place()
{
    // The nodes go first: they point at the drawables and states, which go with the owned list.
    kiNode::release(m_root);
}

olState* Place::colored(const char* name, float r, float g, float b)
{
    olMaterial* material = own<olMaterial>(name);
    material->setColor(olMaterial::COLOR_DIFFUSE, r, g, b, 1.0f);
    material->setColor(olMaterial::COLOR_AMBIENT, r * 0.3f, g * 0.3f, b * 0.3f, 1.0f);
    auto* element = own<olMaterial::Element>();
    element->material = material;
    olState* state = own<olState>(name);
    state->setElement(element);
    return state;
}

kiGeometry* Place::drawing(kiNode* parent, const char* name, const olGeometryBase* geometry, const olState* state)
{
    kiGeometry* node = this->node<kiGeometry>(parent, name);
    node->setGeometryBase(0, geometry);
    node->setState(0, state);
    return node;
}

kiTransform* Place::placed(kiNode* parent, const char* name, double x, double y, double z, double heading)
{
    kiTransform* transform = node<kiTransform>(parent, name);
    transform->setTranslate(x, y, z);
    transform->setRotate(heading, 0, 0);
    return transform;
}

void Place::buildGround()
{
    // The ground: one quad, its colour bound overall.
    auto* ground = own<olGeometry>("Ground");
    const emVec3<float> corners[4] = {{-90, -60, 0}, {90, -60, 0}, {90, 60, 0}, {-90, 60, 0}};
    const emVec3<float> up(0, 0, 1);
    const emVec4<float> grass(0.33f, 0.55f, 0.25f, 1.0f);
    ground->setPrimitive(olGeometryBase::PRIMITIVE_QUAD);
    ground->setNumPrimitives(1);
    ground->setVertices(corners, 4);
    ground->setNormals(olGeometryBase::BINDING_OVERALL, &up, 1);
    ground->setColors(olGeometryBase::BINDING_OVERALL, &grass, 1);
    drawing(m_root, "Ground", ground, colored("Grass", 0.33f, 0.55f, 0.25f));

    // The road: one triangle strip a little above the ground, and its centre line as dashes.
    auto* road = own<olGeometry>("Road");
    std::vector<emVec3<float>> strip;
    for (int i = 0; i <= 6; ++i) {
        const float x = -90.0f + 30.0f * i;
        strip.emplace_back(x, -4.0f, 0.02f);
        strip.emplace_back(x, 4.0f, 0.02f);
    }
    const int length = static_cast<int>(strip.size());
    road->setPrimitive(olGeometryBase::PRIMITIVE_TRIANGLE_STRIP);
    road->setPrimitiveLengths(&length, 1);
    road->setVertices(strip.data(), length);
    road->setNormals(olGeometryBase::BINDING_OVERALL, &up, 1);
    kiTransform* street = placed(m_root, "Main Street", 0, 0, 0);
    drawing(street, "Road", road, colored("Asphalt", 0.22f, 0.22f, 0.24f));

    // A roundabout at the east end: a triangle fan around its centre.
    auto* roundabout = own<olGeometry>("Roundabout");
    std::vector<emVec3<float>> fan{{0, 0, 0.03f}};
    for (int i = 0; i <= 24; ++i) {
        const double angle = 2 * 3.14159265358979323846 * i / 24;
        fan.emplace_back(static_cast<float>(11 * std::cos(angle)), static_cast<float>(11 * std::sin(angle)), 0.03f);
    }
    const int fanLength = static_cast<int>(fan.size());
    roundabout->setPrimitive(olGeometryBase::PRIMITIVE_TRIANGLE_FAN);
    roundabout->setPrimitiveLengths(&fanLength, 1);
    roundabout->setVertices(fan.data(), fanLength);
    roundabout->setNormals(olGeometryBase::BINDING_OVERALL, &up, 1);
    drawing(placed(m_root, "Roundabout", 80, 0, 0), "Roundabout", roundabout, colored("Asphalt", 0.22f, 0.22f, 0.24f));

    auto* dashes = own<olGeometry>("Centre Line");
    std::vector<emVec3<float>> ends;
    for (float x = -87.0f; x < 88.0f; x += 6.0f) {
        ends.emplace_back(x, 0.0f, 0.05f);
        ends.emplace_back(x + 3.0f, 0.0f, 0.05f);
    }
    const emVec4<float> white(1, 1, 1, 1);
    dashes->setPrimitive(olGeometryBase::PRIMITIVE_LINE);
    dashes->setNumPrimitives(static_cast<int>(ends.size() / 2));
    dashes->setVertices(ends.data(), static_cast<int>(ends.size()));
    dashes->setColors(olGeometryBase::BINDING_OVERALL, &white, 1);
    drawing(street, "Centre Line", dashes, colored("Paint", 1, 1, 1));
}

void Place::buildHouses()
{
    struct House
    {
        double x, y, width, depth, height, heading;
        float r, g, b;
    };
    const House houses[] = {
        {-48, 16, 12, 9, 9, 0, 0.72f, 0.35f, 0.28f},   {-30, 17, 9, 10, 22, 0, 0.62f, 0.66f, 0.74f},
        {-12, 16, 14, 9, 12, 0, 0.86f, 0.80f, 0.62f},  {8, 18, 10, 12, 30, 0, 0.45f, 0.55f, 0.72f},
        {26, 16, 12, 9, 10, 0, 0.80f, 0.52f, 0.30f},   {46, 17, 10, 10, 16, 0, 0.70f, 0.70f, 0.66f},
        {-40, -17, 14, 10, 8, 8, 0.85f, 0.75f, 0.55f}, {-16, -18, 10, 12, 14, 0, 0.55f, 0.42f, 0.38f},
        {20, -18, 16, 10, 7, -6, 0.80f, 0.80f, 0.78f}, {44, -17, 10, 9, 11, 0, 0.66f, 0.30f, 0.30f},
    };
    kiNode* block = node<kiNode>(m_root, "Houses");
    int i = 0;
    for (const House& h : houses) {
        kiTransform* at = placed(block, numbered("House", i).c_str(), h.x, h.y, 0, h.heading);
        at->setScale(h.width, h.depth, h.height);
        drawing(at, numbered("Walls", i).c_str(), m_unitBox, colored(numbered("Walls", i).c_str(), h.r, h.g, h.b));
        ++i;
    }

    // A pyramid roof on the first house: indexed triangles, coloured per primitive.
    auto* roof = own<olGeometry>("Roof");
    const emVec3<float> corners[5] = {
        {0, 0, 1.6f}, {-0.55f, -0.55f, 1}, {0.55f, -0.55f, 1}, {0.55f, 0.55f, 1}, {-0.55f, 0.55f, 1}};
    const unsigned short faces[12] = {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 1};
    const emVec4<float> tiles[4] = {
        {0.60f, 0.20f, 0.15f, 1}, {0.45f, 0.14f, 0.10f, 1}, {0.60f, 0.20f, 0.15f, 1}, {0.45f, 0.14f, 0.10f, 1}};
    roof->setPrimitive(olGeometryBase::PRIMITIVE_TRIANGLE);
    roof->setNumPrimitives(4);
    roof->setVertices(corners, 5);
    roof->setIndices(olGeometryBase::BINDING_VERTEX, faces, 12);
    roof->setColors(olGeometryBase::BINDING_PRIMITIVE, tiles, 4);
    drawing(block->getChild(0), "Roof", roof, colored("Roof Tiles", 0.55f, 0.18f, 0.14f));
}

void Place::buildTrees()
{
    const olState* bark = colored("Bark", 0.40f, 0.26f, 0.13f);
    const olState* leaves = colored("Leaves", 0.16f, 0.45f, 0.16f);
    kiNode* row = node<kiNode>(m_root, "Trees");
    int i = 0;
    for (double x = -56; x <= 56; x += 16) {
        for (double y : {-8.5, 8.5}) {
            kiTransform* at = placed(row, numbered("Tree", i).c_str(), x + (y > 0 ? 8 : 0), y, 0);
            kiLOD* lod = node<kiLOD>(at, numbered("Tree Detail", i).c_str());
            lod->setCenter(0, 0, 3);
            lod->addRange(0, 0);
            lod->addRange(150, 10);
            // Near: a trunk and a round crown.
            kiNode* near = node<kiNode>(lod, "Near");
            kiTransform* trunk = placed(near, "Trunk", 0, 0, 0);
            trunk->setScale(0.5, 0.5, 3);
            drawing(trunk, "Trunk", m_unitBox, bark);
            kiTransform* crown = placed(near, "Crown", 0, 0, 4.2);
            crown->setScale(2.2, 2.2, 2.6);
            drawing(crown, "Crown", m_crown, leaves);
            // Far: a box inside the crown.
            kiTransform* far = placed(lod, "Far", 0, 0, 2.5);
            far->setScale(2.4, 2.4, 3.4);
            drawing(far, "Far Crown", m_unitBox, leaves);
            ++i;
        }
    }
}

void Place::buildBarrier()
{
    kiTransform* barrier = placed(m_root, "Barrier", 62, -6, 0);
    kiTransform* post = placed(barrier, "Post", 0, 0, 0);
    post->setScale(0.6, 0.6, 1.4);
    drawing(post, "Post", m_unitBox, colored("Post Paint", 0.3f, 0.3f, 0.3f));
    // The arm hangs on a hinge at the top of the post: pitched up about X.
    kiDOF* hinge = node<kiDOF>(barrier, "Barrier Hinge");
    hinge->setTranslate(0, 0, 1.3);
    hinge->setRotate(0, 25, 0);
    hinge->setConstraint(kiDOF::COMPONENT_ROTATE_P, true, 0, 90);
    kiTransform* arm = placed(hinge, "Arm", 0, 5, -0.15);
    arm->setScale(0.3, 10, 0.3);
    drawing(arm, "Arm", m_unitBox, colored("Arm Paint", 0.85f, 0.12f, 0.10f));
}

void Place::buildLights()
{
    // Street lights: light points along both sides of the road, warm white.
    auto* lights = own<olLightPoint>("Street Lights");
    std::vector<emVec3<float>> positions;
    std::vector<emVec4<float>> colors;
    for (float x = -80; x <= 80; x += 10)
        for (float y : {-5.5f, 5.5f}) {
            positions.emplace_back(x, y, 6.0f);
            colors.emplace_back(1.0f, 0.85f, 0.45f, 1.0f);
        }
    lights->setPrimitive(olGeometryBase::PRIMITIVE_POINT);
    lights->setNumPrimitives(static_cast<int>(positions.size()));
    lights->setVertices(positions.data(), static_cast<int>(positions.size()));
    lights->setColors(olGeometryBase::BINDING_VERTEX, colors.data(), static_cast<int>(colors.size()));
    auto* node = this->node<kiLightPoint>(m_root, "Street Lights");
    node->setGeometryBase(0, lights);
    auto* state = colored("Lamp Glow", 1.0f, 0.85f, 0.45f);
    auto* unlit = own<olLight::Element>();
    unlit->enable = false;
    state->setElement(unlit);
    node->setState(0, state);
}

void Place::buildSign()
{
    auto* font = own<olFont3D>("Sign Font");
    for (const Glyph& glyph : s_glyphs) {
        auto* geometry = own<olGeometry>(std::string(1, glyph.c).c_str());
        glyphGeometry(glyph, *geometry);
        font->setGeometry(static_cast<unsigned char>(glyph.c), geometry);
        font->setSpacing(static_cast<unsigned char>(glyph.c), emVec3<float>(5.5f, 0, 0));
    }
    auto* text = own<olString>(names::SIGN);
    text->setString("AKDEBUG");
    text->setFont(font);
    text->setBoundingBox({emVec3<float>(-0.4f, -0.4f, 0), emVec3<float>(37.9f, 6.4f, 0)});

    // The sign stands behind the houses, upright and facing the road: the text's XY plane is
    // pitched up into XZ.
    kiTransform* sign = placed(m_root, "Sign", -2, 34, 24);
    kiTransform* board = placed(sign, "Board", 0, 0.6, -1.2);
    board->setScale(26, 0.6, 6.8);
    drawing(board, "Board", m_unitBox, colored("Board Paint", 0.12f, 0.20f, 0.45f));
    kiTransform* letters = placed(sign, "Letters", -10.5, 0, 0);
    letters->setRotate(0, 90, 0);
    letters->setScale(0.56, 0.56, 0.56);
    auto* node = this->node<kiString>(letters, names::SIGN);
    node->setGeometryBase(0, text);
    node->setState(0, colored("Letter Paint", 0.98f, 0.92f, 0.30f));
}

void Place::buildChannel()
{
    // The camera: south-west of the road, above the trees, looking along the street.
    const double eye[3] = {-62, -62, 30}, target[3] = {4, 8, 4};
    const Matrix view = lookAt(eye, target);
    m_cameraView.matrix = camera::toFloat(view);
    m_projection.matrix = camera::toFloat(perspective(50, 16.0 / 10.0, 1, 400));
    m_context.setInheritState(&m_inherit->state);
    m_context.setElement(&m_cameraView);
    m_context.setElement(&m_projection);
    m_channel.setDrawContext(&m_context);
    m_channel.addBin(&m_bin);

    // The cull pass: every geometry node it reaches, with its state and matrix.
    struct Visit
    {
        const kiNode* node;
        Matrix above;
    };
    std::vector<Visit> stack{{m_root, Matrix::identity()}};
    while (!stack.empty()) {
        const Visit visit = stack.back();
        stack.pop_back();
        Matrix own;
        const Matrix world = matrixOf(visit.node, own) ? multiply(own, visit.above) : visit.above;
        if (const auto* geometry = dynamic_cast<const kiGeometryBase*>(visit.node)) {
            auto* modelView = this->own<olTransform::ElementModelView>();
            modelView->matrix = camera::toFloat(multiply(world, view));
            auto cull = std::make_unique<kiGeometryBase::CullRecord>();
            cull->options = kiCullRecord::OPTION_SET_MATRIX | kiCullRecord::OPTION_SET_STATE;
            cull->state = geometry->getState(0);
            cull->geometry = geometry->getGeometryBase(0);
            cull->modelViewTransformElement = modelView;
            m_bin.addGeometry(cull.get(), cull->geometry, m_cullRecords.empty() ? "Place State" : nullptr);
            m_cullRecords.push_back(std::move(cull));
        }
        // A level of detail shows its nearest child only.
        const unsigned int children =
            dynamic_cast<const kiLOD*>(visit.node) ? std::min(1u, visit.node->size_child()) : visit.node->size_child();
        for (unsigned int i = children; i-- > 0;)
            stack.push_back({visit.node->getChild(i), world});
    }
}

}  // namespace demoplace
