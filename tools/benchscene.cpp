#include "benchscene.h"

#include "camera.h"

#include <cstdio>
#include <string>

namespace benchscene {

namespace {

// A unit cube with four vertices per face: 24 vertices, 12 triangles (36 indices).
struct Cube
{
    emVec3<float> vertices[24];
    emVec4<float> colors[24];
    emVec3<float> normals[24];
    float texCoords[24 * 2];
    unsigned short indices[36];

    Cube()
    {
        // Per face: the axis it faces, its sign, and its two in-plane axes.
        const int axes[6][3] = {{0, 1, 2}, {0, 1, 2}, {1, 2, 0}, {1, 2, 0}, {2, 0, 1}, {2, 0, 1}};
        const float corners[4][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}};
        for (int face = 0; face < 6; ++face) {
            float sign = face % 2 == 0 ? 0.5f : -0.5f;
            for (int corner = 0; corner < 4; ++corner) {
                int v = face * 4 + corner;
                float position[3];
                position[axes[face][0]] = sign;
                position[axes[face][1]] = corners[corner][0];
                position[axes[face][2]] = corners[corner][1];
                vertices[v] = emVec3<float>(position[0], position[1], position[2]);
                float normal[3] = {0.0f, 0.0f, 0.0f};
                normal[axes[face][0]] = sign * 2.0f;
                normals[v] = emVec3<float>(normal[0], normal[1], normal[2]);
                colors[v] = emVec4<float>(face / 6.0f, corner / 4.0f, 1.0f - face / 6.0f, 1.0f);
                texCoords[v * 2] = corners[corner][0] + 0.5f;
                texCoords[v * 2 + 1] = corners[corner][1] + 0.5f;
            }
            const int triangles[6] = {0, 1, 2, 0, 2, 3};
            for (int i = 0; i < 6; ++i)
                indices[face * 6 + i] = static_cast<unsigned short>(face * 4 + triangles[i]);
        }
    }
};

std::string numbered(const char* prefix, int i)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", prefix, i);
    return text;
}

// Makes `drawable` the cube.
void setCube(olGeometry* drawable)
{
    static const Cube cube;
    drawable->setPrimitive(olGeometryBase::PRIMITIVE_TRIANGLE);
    drawable->setNumPrimitives(12);
    drawable->setVertices(cube.vertices, 24);
    drawable->setColors(olGeometryBase::BINDING_VERTEX, cube.colors, 24);
    drawable->setNormals(olGeometryBase::BINDING_VERTEX, cube.normals, 24);
    drawable->setTextureCoords(0, olGeometryBase::BINDING_VERTEX, olGeometryBase::DIMENSION_2, cube.texCoords, 24);
    drawable->setIndices(olGeometryBase::BINDING_VERTEX, cube.indices, 36);
}

}  // namespace

Scene::Scene(int geometryNodes)
{
    m_root = new kiNode("root");
    m_root->ref();
    ++m_numNodes;

    for (int i = 0; i < NUM_SHARED; ++i) {
        m_materials.emplace_back(new olMaterial(numbered("material", i).c_str()));
        m_materials.back()->setColor(olMaterial::COLOR_DIFFUSE, i / float(NUM_SHARED), 0.5f, 0.25f, 1.0f);
        m_textures.emplace_back(new olTexture(numbered("texture", i).c_str()));
    }

    const int groups = geometryNodes > 0 ? geometryNodes / NODES_PER_GROUP : 0;
    for (int g = 0; g < groups; ++g) {
        kiNode* group = nullptr;
        if (g % 2 == 0) {
            kiLOD* lod = new kiLOD(numbered("lod", g).c_str());
            lod->setCenter(g, 0.0, 0.0);
            for (int c = 0; c < NODES_PER_GROUP; ++c)
                lod->addRange(100.0 * c, 10.0);
            group = lod;
        } else {
            kiSwitch* sw = new kiSwitch(numbered("switch", g).c_str());
            sw->addMask("even", {0, 2, 4, 6, 8});
            sw->addMask("odd", {1, 3, 5, 7, 9});
            sw->setActiveMask(g % 4 == 1 ? 0 : kiSwitch::SELECT_ALL);
            group = sw;
        }
        m_root->addChild(group);
        ++m_numNodes;

        for (int c = 0; c < NODES_PER_GROUP; ++c) {
            int n = g * NODES_PER_GROUP + c;
            kiTransform* transform = new kiTransform(numbered("transform", n).c_str());
            transform->setTranslate(c * 2.0 + 1.0, g * 2.0, 0.0);
            transform->setRotate(c * 10.0, 5.0, 0.0);
            transform->setScale(1.0, 1.0, 1.0 + c * 0.1);
            group->addChild(transform);
            m_transforms.push_back(transform);

            olGeometry* drawable = new olGeometry(numbered("cube", n).c_str());
            m_geometries.emplace_back(drawable);
            setCube(drawable);

            olMaterial::Element* material = new olMaterial::Element;
            m_materialElements.emplace_back(material);
            material->material = m_materials[n % NUM_SHARED].get();
            olTexture::Element* texture = new olTexture::Element;
            m_textureElements.emplace_back(texture);
            texture->enable[0] = true;
            texture->texture[0] = m_textures[(n / NUM_SHARED) % NUM_SHARED].get();
            olState* state = new olState(numbered("state", n).c_str());
            m_states.emplace_back(state);
            state->setElement(material);
            state->setElement(texture);

            kiGeometry* geometry = new kiGeometry(numbered("geometry", n).c_str());
            geometry->setGeometryBase(0, drawable);
            geometry->setState(0, state);
            transform->addChild(geometry);
            m_numNodes += 2;
        }
    }
}

Scene::~Scene()
{
    // The nodes go first: they point at the drawables and states, which go with the vectors.
    kiNode::release(m_root);
}

int Scene::getNumObjects() const
{
    return m_numNodes +
        static_cast<int>(m_geometries.size() + m_states.size() + m_materialElements.size() + m_textureElements.size() +
                         m_materials.size() + m_textures.size());
}

Graph::Graph() = default;

Graph::~Graph()
{
    if (m_root)
        kiNode::release(m_root);
}

std::unique_ptr<Graph> buildInstanced(int instances)
{
    std::unique_ptr<Graph> graph(new Graph);
    graph->m_root = new kiNode("instances");
    graph->m_root->ref();
    graph->m_drawable.reset(new olGeometry("cube"));
    setCube(graph->m_drawable.get());
    graph->m_material.reset(new olMaterial("material"));
    graph->m_materialElement.reset(new olMaterial::Element);
    graph->m_materialElement->material = graph->m_material.get();
    graph->m_state.reset(new olState("state"));
    graph->m_state->setElement(graph->m_materialElement.get());
    for (int i = 0; i < instances; ++i) {
        kiGeometry* geometry = new kiGeometry(numbered("instance", i).c_str());
        geometry->setGeometryBase(0, graph->m_drawable.get());
        geometry->setState(0, graph->m_state.get());
        graph->m_root->addChild(geometry);
    }
    return graph;
}

std::unique_ptr<Graph> buildExpanding(int depth)
{
    std::unique_ptr<Graph> graph(new Graph);
    graph->m_root = new kiNode("level 0");
    graph->m_root->ref();
    kiNode* node = graph->m_root;
    for (int level = 1; level < depth; ++level) {
        kiNode* next = new kiNode(numbered("level", level).c_str());
        node->addChild(next);
        node->addChild(next);
        node = next;
    }
    return graph;
}

InheritState::InheritState()
{
    material.material = &defaultMaterial;
    lightModel.lightModel = &defaultLightModel;
    const olElement* all[] = {
        &alphaBlend,      &alphaTest,  &colorTrack, &decal,        &depthTest,   &depthWrite, &fog,
        &light,           &lightModel, &line,       &material,     &multiSample, &normalize,  &point,
        &polygon,         &shadeModel, &fragment,   &vertex,       &stencilTest, &texture,    &textureBlend,
        &textureCoordGen, &modelView,  &projection, &textureMatrix};
    for (const olElement* element : all)
        state.setElement(element);
}

Drawing::Drawing(const Scene& scene) : m_inherit(new InheritState)
{
    const double eye[3] = {-25, -30, 30}, target[3] = {10, 40, 0};
    const emMatrix<double> view = camera::lookAt(eye, target);
    m_view.matrix = camera::toFloat(view);
    m_projection.matrix = camera::toFloat(camera::perspective(50, 16.0 / 10.0, 1, 30000));
    m_context.setInheritState(&m_inherit->state);
    m_context.setElement(&m_view);
    m_context.setElement(&m_projection);
    m_channel.setDrawContext(&m_context);
    m_channel.addBin(&m_opaque);
    for (int i = 0; i < scene.getNumGeometryNodes(); ++i) {
        auto modelView = std::make_unique<olTransform::ElementModelView>();
        modelView->matrix = camera::toFloat(camera::multiply(scene.getTransform(i)->getMatrixAffine(), view));
        auto cull = std::make_unique<kiGeometryBase::CullRecord>();
        cull->options = kiCullRecord::OPTION_SET_MATRIX;
        cull->modelViewTransformElement = modelView.get();
        m_modelViews.push_back(std::move(modelView));
        cull->state = scene.getState(i);
        cull->geometry = scene.getGeometry(i);
        cull->channelId = 0;
        cull->depth = static_cast<float>(i);
        m_opaque.addGeometry(cull.get(), scene.getGeometry(i), i == 0 ? "Opaque State" : nullptr);
        m_cullRecords.push_back(std::move(cull));
    }
}

Drawing::~Drawing() = default;

}  // namespace benchscene
