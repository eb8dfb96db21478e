#include "sampleworld.h"

namespace sampleworld {

namespace {

// A unit quad in the XY plane, drawn as two triangles: the arrays every drawable of the world
// starts from.
struct Quad
{
    emVec3<float> vertices[4] = {{-0.5f, -0.5f, 0.0f}, {0.5f, -0.5f, 0.0f}, {0.5f, 0.5f, 0.0f}, {-0.5f, 0.5f, 0.0f}};
    emVec4<float> colors[4] = {
        {1.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.0f, 0.5f}, {1.0f, 1.0f, 1.0f, 1.0f}};
    emVec3<float> normal[1] = {{0.0f, 0.0f, 1.0f}};
    float st[8] = {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f};
    float strq[16] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f};
    unsigned short indices[6] = {0, 1, 2, 0, 2, 3};
    int lengths[2] = {3, 3};
};

const Quad kQuad;

// Gives a drawable the quad's arrays: colors per vertex, one normal overall, two texture stages,
// and a primitive lengths block with room for more primitives than it holds.
void fillQuad(olGeometryBase* geometry)
{
    geometry->setPrimitive(olGeometryBase::PRIMITIVE_TRIANGLE);
    geometry->setPrimitiveLengths(kQuad.lengths, 2, 4);
    geometry->setVertices(kQuad.vertices, 4);
    geometry->setColors(olGeometryBase::BINDING_VERTEX, kQuad.colors, 4);
    geometry->setNormals(olGeometryBase::BINDING_OVERALL, kQuad.normal, 1);
    geometry->setTextureCoords(0, olGeometryBase::BINDING_VERTEX, olGeometryBase::DIMENSION_2, kQuad.st, 4);
    geometry->setTextureCoords(2, olGeometryBase::BINDING_VERTEX, olGeometryBase::DIMENSION_4, kQuad.strq, 4);
    geometry->setIndices(olGeometryBase::BINDING_VERTEX, kQuad.indices, 6);
    geometry->setFormat(olGeometryBase::FORMAT_VERTEX_BUFFER_OBJECT,
                        olDrawFunc::ATTRIBUTE_VERTEX | olDrawFunc::ATTRIBUTE_INDEX);
}

}  // namespace

World::World()
{
    m_previousRepresentations = kiChannel::getNumRepresentations();
    kiChannel::setNumRepresentations(NUM_REPRESENTATIONS);

    m_root = new akScene(names::ROOT);
    m_root->ref();
    m_channel = own<kiChannel>(names::CHANNEL);

    buildUtility();
    buildRenderStateObjects();
    buildRenderStates();
    buildRenderDrawables();
    buildSceneGraph();
    buildApplication();
    buildChannel();
    buildEnvironment();
    buildEffects();
}

World::~World()
{
    // The nodes go first: they point at objects the world owns, never the other way round.
    kiNode::release(m_root);
    while (!m_owned.empty())
        m_owned.pop_back();
    kiChannel::setNumRepresentations(m_previousRepresentations);
}

olGeometry* World::quad(const char* name)
{
    olGeometry* geometry = own<olGeometry>(name);
    fillQuad(geometry);
    return geometry;
}

// ---- utility (telu) ----

void World::buildUtility()
{
    m_palette = own<emPalette>();
    m_palette->setSizes(48, 64);
    // The root carries a user data list; every other object has none.
    m_root->getUserDataList(true);
    m_root->setSizes(static_cast<unsigned int>(sizeof(akScene)), 256);
}

// ---- render state objects (telr) ----

void World::buildRenderStateObjects()
{
    static const unsigned char pixels[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 0};

    m_sharedTexture = own<olTexture>(names::SHARED_TEXTURE);
    m_sharedTexture->setDimensions(2, 2, 1, 1);
    m_sharedTexture->setWrap(olTexture::WRAP_CLAMP_EDGE, olTexture::WRAP_MIRROR, olTexture::WRAP_REPEAT,
                             olTexture::WRAP_REPEAT);
    m_sharedTexture->setMinFilter(olTexture::FILTER_LINEAR, olTexture::FILTER_NEAREST);
    m_sharedTexture->addImage(pixels, sizeof pixels);
    m_sharedTexture->addImage(pixels, 4);

    // A 3D texture rendered into a pixel buffer.
    m_detailTexture = own<olTexture>("Detail Texture");
    m_detailTexture->setMapping(olTexture::MAPPING_3D);
    m_detailTexture->setFormat(olTexture::FORMAT_LUMINANCE_ALPHA);
    m_detailTexture->setDimensions(64, 64, 8, 1);
    m_detailTexture->setBorderEnable(true);
    m_detailTexture->setBorderColor(0.5f, 0.5f, 0.5f, 1.0f);
    m_detailTexture->setLODBias(-0.5f);
    m_detailTexture->setSubloadableEnable(true);
    m_detailTexture->setPixelBuffer(own<olWindow::PixelBuffer>(64, 64));

    m_unusedTexture = own<olTexture>(names::UNUSED_TEXTURE);
    m_unusedTexture->setMapping(olTexture::MAPPING_1D);
    m_unusedTexture->setFormat(olTexture::FORMAT_COMPRESSED_S3_DXT1_RGB);

    m_textureBlend = own<olTextureBlend>("Detail Blend");
    m_textureBlend->setCombineEnable(true);
    m_textureBlend->setColorMode(olTextureBlend::MODE_INTERPOLATE);
    m_textureBlend->setColorArgument(1, olTextureBlend::ARGUMENT_TEXTURE_STAGE, olMultiTexture::STAGE_1);
    m_textureBlend->setAlphaMode(olTextureBlend::MODE_REPLACE);
    m_textureBlend->setColor(0.25f, 0.5f, 0.75f, 1.0f);

    m_coordGen = own<olTextureCoordGen>("Sphere Map");
    m_coordGen->setMode(0, olTextureCoordGen::MODE_SPHERE_MAP);
    m_coordGen->setMode(1, olTextureCoordGen::MODE_SPHERE_MAP);
    m_coordGen->setPlane(3, emPlane<float>(0.0f, 0.0f, 1.0f, -2.0f));

    m_material = own<olMaterial>("Painted Metal");
    m_material->setColor(olMaterial::COLOR_DIFFUSE, 0.6f, 0.1f, 0.1f, 1.0f);
    m_material->setColor(olMaterial::COLOR_SPECULAR, 1.0f, 1.0f, 1.0f, 1.0f);
    m_material->setSpecularExponent(32.0f);

    m_light = own<olLight>("Sun");
    m_light->setType(olLight::TYPE_SPOT);
    m_light->setPosition(0.0f, 0.0f, 100.0f);
    m_light->setSpotCone(10.0f, 30.0f, 2.0f);
    m_light->setAttenuation(1.0f, 0.01f, 0.001f);

    m_lightModel = own<olLightModel>();  // unnamed
    m_lightModel->setTwoSidedLightingEnable(true);

    m_fog = own<olFog>("Morning Fog");
    m_fog->setType(olFog::TYPE_EXPONENTIAL_SQUARED);
    m_fog->setRange(10.0f, 500.0f);
    m_fog->setColor(0.8f, 0.8f, 0.9f, 1.0f);

    m_fragmentShader = own<olShader>("Fragment Shader");
    m_fragmentShader->setLoaded(true);
    // Never loaded: the vertex shader element reports it.
    m_vertexShader = own<olShader>("Vertex Shader");
    m_vertexShader->setApplyMode(olShader::APPLY_MODE_AS_NEEDED);

    m_appearance = own<olLightPointAppearance>("Runway Light Appearance");
    m_appearance->setDirectionality(olLightPointAppearance::DIRECTIONALITY_BI);
    m_appearance->setFalloff(olLightPointAppearance::FALLOFF_EXPONENTIAL);
    m_appearance->setVisibilityCone(90.0f, 20.0f);

    m_animation = own<olLightPointAnimation>("Strobe Sequence");
    m_animation->setType(olLightPointAnimation::TYPE_STROBE);
    m_animation->addElement(olLightPointAnimation::STATE_ON, 0.25, 1.0f, 1.0f, 1.0f, 1.0f);
    m_animation->addElement(olLightPointAnimation::STATE_OFF, 0.75, 0.0f, 0.0f, 0.0f, 0.0f);
    m_animation->addElement(olLightPointAnimation::STATE_COLOR_OVERRIDE, 0.1, 1.0f, 0.0f, 0.0f, 1.0f);
}

// ---- render states and their elements (telr) ----

void World::buildRenderStates()
{
    auto* alphaBlend = own<olAlphaBlend::Element>();
    alphaBlend->enable = true;  // makes the state transparent
    alphaBlend->equation = olAlphaBlend::EQUATION_MAX;
    auto* alphaTest = own<olAlphaTest::Element>();
    alphaTest->enable = true;
    alphaTest->reference = 0.5f;
    alphaTest->mode = olAlphaTest::MODE_GREATER;
    auto* colorTrack = own<olColorTrack::Element>();
    colorTrack->side = olColorTrack::SIDE_BACK;
    auto* decal = own<olDecal::Element>();
    decal->enable = true;
    decal->factor = -1.0f;
    decal->units = -2.0f;
    auto* depthTest = own<olDepthTest::Element>();
    depthTest->mode = olDepthTest::MODE_GREATER_OR_EQUAL;
    auto* depthWrite = own<olDepthWrite::Element>();
    depthWrite->enable = false;
    auto* fog = own<olFog::Element>();
    fog->enable = true;
    fog->fog = m_fog;
    auto* light = own<olLight::Element>();
    light->enable = true;
    auto* lightModel = own<olLightModel::Element>();
    lightModel->lightModel = m_lightModel;
    auto* line = own<olLine::Element>();
    line->enablePattern = true;
    line->pattern = 0xF0F0;
    line->repeat = 2;
    line->width = 3.0f;
    auto* material = own<olMaterial::Element>();
    material->material = m_material;
    auto* multiSample = own<olMultiSample::Element>();
    multiSample->enable = true;
    multiSample->enableAlphaToCoverage = true;
    multiSample->coverage = 0.5f;
    auto* normalize = own<olNormalize::Element>();
    normalize->enable = true;
    auto* point = own<olPoint::Element>();
    point->size = 4.0f;
    auto* polygon = own<olPolygon::Element>();
    polygon->cullFace = olPolygon::CULL_FACE_FRONT_AND_BACK;
    auto* shadeModel = own<olShadeModel::Element>();
    shadeModel->mode = olShadeModel::MODE_FLAT;
    auto* fragment = own<olShader::ElementFragment>();
    fragment->shader = m_fragmentShader;
    auto* vertex = own<olShader::ElementVertex>();
    vertex->shader = m_vertexShader;
    auto* stencil = own<olStencilTest::Element>();
    stencil->enable = true;
    stencil->reference = -1;
    stencil->mask = 0xFF;
    stencil->depthPass = olStencilTest::OPERATION_INCREMENT_WRAP;

    m_textureElement = own<olTexture::Element>();
    m_textureElement->enable[0] = true;
    m_textureElement->texture[0] = m_sharedTexture;
    m_textureElement->enable[1] = true;
    m_textureElement->texture[1] = m_detailTexture;
    m_textureBlendElement = own<olTextureBlend::Element>();
    m_textureBlendElement->textureBlend[1] = m_textureBlend;
    auto* coordGen = own<olTextureCoordGen::Element>();
    coordGen->enableS[1] = true;
    coordGen->enableT[1] = true;
    coordGen->generator[1] = m_coordGen;

    m_modelView = own<olTransform::ElementModelView>();
    m_modelView->matrix[3][0] = 5.0f;
    m_projection = own<olTransform::ElementProjection>();
    m_projection->matrix[2][3] = -1.0f;
    m_textureTransform = own<olTransform::ElementTexture>();
    m_textureTransform->matrix[1][0][0] = 2.0f;

    m_fullState = own<olState>(names::FULL_STATE);
    for (const olElement* element : std::initializer_list<const olElement*>{alphaBlend,
                                                                            alphaTest,
                                                                            colorTrack,
                                                                            decal,
                                                                            depthTest,
                                                                            depthWrite,
                                                                            fog,
                                                                            light,
                                                                            lightModel,
                                                                            line,
                                                                            material,
                                                                            multiSample,
                                                                            normalize,
                                                                            point,
                                                                            polygon,
                                                                            shadeModel,
                                                                            fragment,
                                                                            vertex,
                                                                            stencil,
                                                                            m_textureElement,
                                                                            m_textureBlendElement,
                                                                            coordGen,
                                                                            m_modelView,
                                                                            m_projection,
                                                                            m_textureTransform})
        m_fullState->setElement(element);
    m_fullState->addValidationMessage(emNotify::LEVEL_WARN, "Full State - blending and alpha test are both on");

    // A second texture element on the shared texture: the texture is written once, then repeated.
    auto* sharedTexture = own<olTexture::Element>();
    sharedTexture->enable[0] = true;
    sharedTexture->texture[0] = m_sharedTexture;
    m_texturedState = own<olState>("Textured State");
    m_texturedState->setElement(sharedTexture);
    m_texturedState->setElement(material);

    m_emptyState = own<olState>();  // unnamed, sets nothing
}

// ---- drawables (telr) ----

void World::buildRenderDrawables()
{
    auto* bounds = own<olRenderStrategyBounds>();
    bounds->setColor(1.0f, 0.0f, 1.0f, 1.0f);
    auto* highlight = own<olRenderStrategyHighlight>();
    highlight->setWireframeEnable(true);
    auto* normals = own<olRenderStrategyNormals>();
    normals->setLength(0.25f);

    m_mesh = quad("Shared Mesh");
    m_mesh->setRenderStrategy(bounds);
    m_mesh->setDisplayListEnable(true);
    m_mesh->addValidationMessage(emNotify::LEVEL_NOTICE, "Shared Mesh - normal is bound overall");
    m_frameMesh = quad("Frame Mesh");
    m_highlightMesh = quad(nullptr);
    m_highlightMesh->setRenderStrategy(highlight);
    m_normalsMesh = quad("Normals Mesh");
    m_normalsMesh->setRenderStrategy(normals);

    m_box = own<olBox>("Crate");
    m_box->setBox({{-1.0f, -1.0f, 0.0f}, {1.0f, 1.0f, 2.0f}});
    m_frustum = own<olFrustum>("View Frustum");
    emFrustum<float> frustum;
    for (int i = 0; i < 6; ++i)
        frustum.planes[i] = emPlane<float>(i == 0 ? 1.0f : 0.0f, i == 2 ? 1.0f : 0.0f, i >= 4 ? 1.0f : 0.0f, -i * 1.0f);
    m_frustum->setFrustum(frustum);
    m_plane = own<olPlane>("Ground Plane");
    m_plane->setSize(1000.0f);
    m_sphere = own<olSphere>("Ball");
    m_sphere->setSphere(emSphere<float>(0.0f, 0.0f, 1.0f, 0.5f));

    auto* flatFont = own<olFont2D>("Flat Font");
    flatFont->setBold(true);
    m_flatText = own<olString>("Flat Label");
    m_flatText->setString("Sample text, flat");
    m_flatText->setFont(flatFont);
    auto* solidFont = own<olFont3D>("Solid Font");
    solidFont->setItalic(true);
    solidFont->setGeometry('A', quad("Glyph A"));
    solidFont->setSpacing('A', emVec3<float>(1.0f, 0.0f, 0.0f));
    solidFont->setGeometry('B', own<olGeometry>("Glyph B"));
    solidFont->setSpacing('B', emVec3<float>(1.1f, 0.0f, 0.0f));
    m_solidText = own<olString>("Solid Label");
    m_solidText->setString("AB");
    m_solidText->setFont(solidFont);

    m_lightPoints = own<olLightPoint>("Runway Light Points");
    static const emVec3<float> positions[3] = {{0.0f, 0.0f, 0.0f}, {10.0f, 0.0f, 0.0f}, {20.0f, 0.0f, 0.0f}};
    static const emVec4<float> back[1] = {{1.0f, 0.5f, 0.0f, 1.0f}};
    m_lightPoints->setPrimitive(olGeometryBase::PRIMITIVE_POINT);
    m_lightPoints->setVertices(positions, 3);
    m_lightPoints->setColors(olGeometryBase::BINDING_VERTEX, kQuad.colors, 3);
    m_lightPoints->setColorsBack(olGeometryBase::BINDING_OVERALL, back, 1);
    m_lightPoints->setLightPointAppearance(m_appearance);
    m_lightPoints->setLightPointAnimation(m_animation);

    // What a draw function receives: the quad's arrays, with lengths for more primitives than
    // drawn and a message of its own.
    m_drawData = own<olDrawFunc::Data>();
    m_drawData->primitive = olDrawFunc::PRIMITIVE_TRIANGLE;
    m_drawData->setPrimitiveLengths(kQuad.lengths, 2, 8);
    m_drawData->setVertices(kQuad.vertices, 4);
    m_drawData->setColors(olDrawFunc::BINDING_OVERALL, kQuad.colors, 1);
    m_drawData->setTexCoords(0, olDrawFunc::BINDING_VERTEX, olDrawFunc::DIMENSION_1, kQuad.st, 4);
    m_drawData->setIndices(olDrawFunc::BINDING_VERTEX, kQuad.indices, 6);
    m_drawData->persistentAttributes = olDrawFunc::ATTRIBUTE_COLOR | olDrawFunc::ATTRIBUTE_TEXTURE_COORD_0;
    m_drawData->addValidationMessage(emNotify::LEVEL_INFO, "Draw Sky Function - drawn every frame");
}

// ---- scene graph (tels) ----

void World::buildSceneGraph()
{
    m_cullRecordFactory = own<kiCullRecordFactory>("Geometry Cull Records");
    auto* frameGeometry = own<kiRenderStrategyFrameGeometry>();
    m_frameMesh->setRenderStrategy(frameGeometry);

    // Shapes. The shared geometry node has two parents, data for both representations and a
    // message of its own; the unnamed one lacks geometry in its second representation.
    kiNode* shapes = node<kiNode>(m_root, "Group of Shapes");
    m_sharedGeometry = node<kiGeometry>(shapes, names::SHARED_GEOMETRY);
    m_sharedGeometry->setGeometryBase(0, m_mesh);
    m_sharedGeometry->setState(0, m_fullState);
    m_sharedGeometry->setCullRecordFactoryBase(0, m_cullRecordFactory);
    m_sharedGeometry->setChannelBinId(0, 1);
    m_sharedGeometry->setGeometryBase(1, m_box);
    m_sharedGeometry->setState(1, m_texturedState);
    m_sharedGeometry->setChannelBinId(1, 2);
    m_sharedGeometry->setAuxChannelBinId(1, 3);
    m_sharedGeometry->addValidationMessage(emNotify::LEVEL_WARN, "Shared Geometry - bounds are out of date");
    drawing<kiGeometry>(shapes, nullptr, m_sphere);
    kiGeometry* ground = node<kiGeometry>(shapes, "Ground and Frustum");
    ground->setGeometryBase(0, m_plane);
    ground->setState(0, m_texturedState);
    ground->setGeometryBase(1, m_frustum);  // no state: reported for representation 1

    kiTransform* moved = node<kiTransform>(m_root, "Moved Transform");
    moved->setTranslate(10.0, 0.0, 0.0);
    moved->setRotate(90.0, 0.0, 0.0);
    moved->setStaticEnable(true);
    moved->addChild(m_sharedGeometry);
    kiBillboard* billboard = node<kiBillboard>(moved, "Billboard");
    billboard->setType(kiBillboard::TYPE_AXIAL);
    billboard->setOrientation(kiBillboard::ORIENTATION_POINT_TO_EYE);
    kiString* label = node<kiString>(billboard, "Label");
    label->setGeometryBase(0, m_flatText);
    label->setState(0, m_emptyState);
    label->setGeometryBase(1, m_solidText);
    label->setState(1, m_emptyState);

    kiSwitch* selector = node<kiSwitch>(m_root, "Switch");
    selector->addMask("decal only", {0});
    selector->addMask("everything", {0, 1});
    selector->setActiveMask(1);
    kiDecal* decal = node<kiDecal>(selector, "Decal");
    decal->setOffset(2);
    drawing<kiGeometry>(decal, "Decal Base", m_plane);
    node<kiNode>(selector, nullptr);  // unnamed, empty

    auto* filter = own<kiLODFilter>("Range Filter");
    filter->setVisibilityRangeScale(2.0);
    kiLOD* lod = node<kiLOD>(m_root, "Level of Detail");
    lod->setCenter(1.0, 2.0, 3.0);
    lod->addRange(100.0, 10.0);
    lod->addRange(1000.0, 50.0);
    lod->setLODFilter(filter);
    drawing<kiGeometry>(lod, "Near", m_highlightMesh);
    drawing<kiGeometry>(lod, "Far", m_normalsMesh);

    kiAnimation* animation = node<kiAnimation>(m_root, "Animation");
    animation->setMode(kiAnimation::MODE_SWING);
    animation->setCommand(kiAnimation::COMMAND_PLAY);
    animation->setDuration(4.0, false);
    animation->setNumLoops(3);
    animation->setLastChildDuration(2.5);
    drawing<kiGeometry>(animation, "Frame 0", m_frameMesh);
    node<kiNode>(animation, "Frame 1");

    m_hinge = node<kiDOF>(m_root, "Hinge");
    m_hinge->setRotate(0.0, 45.0, 0.0);
    m_hinge->setConstraint(kiDOF::COMPONENT_ROTATE_P, true, -90.0, 90.0);

    m_lightNode = node<kiLight>(m_root, "Sun Light");
    m_lightNode->setLight(0, m_light);
    m_lightNode->setCullRecordFactory(0, m_cullRecordFactory);
    m_lightNode->setChannelBinId(0, 4);
    m_lightNode->setLight(1, m_light);

    auto* control = own<kiLightPoint::Control>("Runway Control");
    control->setAnimationState(kiLightPoint::Control::ANIMATION_STATE_RANDOM);
    control->setIntensity(0.75f);
    drawing<kiLightPoint>(m_root, "Runway Lights", m_lightPoints)->setControl(control);

    m_escapedNode = node<kiNode>(m_root, names::ESCAPED);
    m_escapedNode->setCullMask(0x5);
    m_escapedNode->setBounds(emSphere<double>(1.0, 2.0, 3.0, 4.0));
}

// ---- application ----

void World::buildApplication()
{
    // Coordinate systems: an ellipsoid with a projection, and two geo-references on spheres.
    auto* ellipsoid = own<akCoordSys::Ellipsoid>("Reference Ellipsoid");
    ellipsoid->setDatumShift(1.0, -2.0, 3.0);
    auto* projection = own<akCoordSys::Projection>("Map Projection");
    projection->setEllipsoid(ellipsoid);
    auto* coordSys = own<akCoordSys>("Local Grid");
    coordSys->setType(akCoordSys::TYPE_PROJECTED);
    coordSys->setEllipsoid(ellipsoid);
    coordSys->setProjection(projection);
    coordSys->setLinearUnits(akCoordSys::LINEAR_UNITS_FEET);

    auto* origin = own<akCoordConverter::GeoRefVec3>("Origin LLE");
    origin->setEllipsoid(own<akCoordSys::CustomSphere>("Custom Sphere", 6000000.0));
    origin->setLLE(emVec3<double>(47.5, 8.25, 400.0));
    m_sceneConverter = own<akCoordConverter>();
    m_sceneConverter->setCoordSys(coordSys);
    m_sceneConverter->setGeoRef(origin);
    m_root->setCoordConverter(m_sceneConverter);

    auto* originMatrix = own<akCoordConverter::GeoRefMatrix>("Origin Matrix");
    originMatrix->setEllipsoid(own<akCoordSys::DefaultSphere>("Default Sphere"));
    originMatrix->setProjection(projection);
    emMatrix<double> placement = emMatrix<double>::identity();
    placement[3][2] = 100.0;
    originMatrix->setMatrix(placement);
    auto* vehicleConverter = own<akCoordConverter>();
    vehicleConverter->setGeoRef(originMatrix);
    vehicleConverter->setQuaternionEnable(true);

    // A positionable transform moved by a chain of two strategies.
    auto* follow = own<akPositionable::Strategy>("Follow Path");
    follow->setNextStrategy(own<akPositionable::Strategy>("Keep Height"));
    m_vehicle = node<akTransform>(m_root, "Vehicle");
    m_vehicle->setStrategy(follow);
    m_vehicle->setExtrapolationTime(0.1);
    akPositionable::StateVector state;
    state.position = emVec3<double>(100.0, 200.0, 10.0);
    state.positionalVelocity = emVec3<double>(5.0, 0.0, 0.0);
    m_vehicle->setStateVector(state);
    m_vehicle->setPositionCoordConverter(m_sceneConverter);
    m_vehicle->setCoordConverter(vehicleConverter);
    m_vehicle->setLocalized(true);

    akDOF* turret = node<akDOF>(m_vehicle, "Turret");
    turret->setRotate(30.0, 0.0, 0.0);

    auto* manual = own<kiLODFilterManual>("Manual Filter");
    manual->setChild(1);
    akLOD* vehicleLod = node<akLOD>(m_vehicle, "Vehicle LOD");
    vehicleLod->addRange(500.0, 20.0);
    vehicleLod->setLODFilter(manual);

    akLight* headlight = node<akLight>(m_vehicle, "Headlight");
    headlight->setType(akLight::TYPE_SPOT);
    headlight->setRenderEnable(false);
    headlight->setLight(m_lightNode);  // the scene's light node, written again as a repeat

    // An object with a geometry container that lists nodes and textures by address, and a copy
    // of it that names its source by address.
    m_object = node<akObject>(m_vehicle, names::OBJECT);
    m_object->setFileName("models/cargo crate.flt");
    m_object->setLoaderOption(kiNodeLoader::Data::LOADER_OPTION_COMBINE_LODS, true);
    m_object->setLoaderOption(kiNodeLoader::Data::LOADER_OPTION_SHARE_LIGHT_POINT_CONTROLS, true);
    m_object->setLoaderUnits(kiNodeLoader::Data::LOADER_UNITS_FEET);
    m_object->setLoaderLODFilter(manual);
    m_object->setLoaderPalette(m_palette);
    m_object->setBuilderOption(kiNodeLoader::Data::BUILDER_OPTION_COLLAPSE_BINDINGS, true);
    m_object->setGeometryFormat(olGeometryBase::FORMAT_INTERLEAVED_ARRAY, olDrawFunc::ATTRIBUTE_NORMAL);
    m_object->setPostLoadOption(akGeometryPageable::POST_LOAD_OPTION_VALIDATE, true);
    m_object->setTextureSubloadEnable(true);
    m_object->addAttribute(own<akGeometry::Attribute>("Loader Attribute"));
    m_object->addNamed(m_sharedGeometry);
    m_object->addNamed(m_hinge);
    m_object->addGeometry(m_sharedGeometry);
    m_object->addTexture(m_sharedTexture);
    m_object->addTexture(m_unusedTexture);
    m_object->setAutoPage(akObject::AUTO_PAGE_ASYNCHRONOUS);

    akObject* copy = node<akObject>(m_vehicle, names::OBJECT_COPY);
    copy->setCopySource(m_object);
    copy->setManualLODChild(0);
    copy->setTranslate(0.0, 5.0, 0.0);

    // Positioned like any positionable object; the channel's cull records sort by it.
    m_isector = own<akIsector>("Ground Isector");
    m_isector->setStrategyEnable(false);
    m_isector->setPositionCoordConverter(m_sceneConverter);
}

// ---- the channel (tels) ----

void World::buildChannel()
{
    m_drawContext = own<olDrawContext>(names::DRAW_CONTEXT);
    m_drawContext->setInheritState(m_fullState);
    m_drawContext->setElement(m_modelView);
    m_drawContext->setElement(m_projection);
    m_drawContext->setPreserveEnable(olTransform::ElementProjection::getStaticClassType(), true);
    m_drawContext->addValidationMessage(olTransform::ElementModelView::getStaticClassType(), emNotify::LEVEL_NOTICE,
                                        "Draw Context - model view matrix is not orthonormal");
    m_channel->setDrawContext(m_drawContext);

    // Cull records of every scene-graph kind.
    auto* geometryRecord = own<kiGeometryBase::CullRecord>();
    geometryRecord->options = kiCullRecord::OPTION_SET_MATRIX | kiCullRecord::OPTION_SET_STATE;
    geometryRecord->state = m_fullState;
    geometryRecord->modelViewTransformElement = m_modelView;
    geometryRecord->cullRecordFactory = m_cullRecordFactory;
    geometryRecord->geometry = m_mesh;

    // A plain record, sorted by an isector and a node, written in full every time it is met.
    auto* plainRecord = own<kiCullRecord>();
    plainRecord->options = kiCullRecord::OPTION_TRANSPARENT | kiCullRecord::OPTION_BLENDED;
    plainRecord->channelId = 1;
    plainRecord->depth = 12.5f;
    plainRecord->state = m_texturedState;
    plainRecord->primarySortObject = m_isector;
    plainRecord->secondarySortObject = m_sharedGeometry;

    auto* lightRecord = own<kiLight::CullRecord>();
    lightRecord->light = m_light;
    lightRecord->options = kiCullRecord::OPTION_EMISSIVE;

    auto* lightPointRecord = own<kiLightPoint::CullRecord>();
    lightPointRecord->geometry = m_lightPoints;
    lightPointRecord->allocateLightPoints(3, true);
    for (int i = 0; i < 3; ++i) {
        lightPointRecord->indices[i] = static_cast<unsigned short>(i);
        lightPointRecord->sizes[i] = 1.0f + i;
        lightPointRecord->colors[i] = emVec4<float>(1.0f, 1.0f, 0.5f * i, 1.0f);
        lightPointRecord->vertices[i] = emVec3<float>(10.0f * i, 0.0f, 0.0f);
    }
    lightPointRecord->animate = true;
    lightPointRecord->channel = m_channel;
    lightPointRecord->fog = m_fog;

    // Two bins: geometry and draw-function draws with state changes, then the light points and
    // the geometry record once more (a repeat).
    m_opaqueBin = own<kiChannelBin>("Opaque Bin");
    m_opaqueBin->addGeometry(geometryRecord, m_mesh, names::FULL_STATE);
    m_opaqueBin->addDrawFunction(plainRecord, m_drawData, names::DRAW_FUNCTION, "Textured State");
    m_opaqueBin->addStateChange(nullptr, names::STATE_CHANGE);
    m_opaqueBin->addGeometry(lightRecord, m_sphere);
    m_lightPointBin = own<kiChannelBin>();  // unnamed
    lightPointRecord->asynchronousChannelBin = m_opaqueBin;
    m_lightPointBin->addGeometry(lightPointRecord, m_lightPoints);
    m_lightPointBin->addGeometry(geometryRecord, m_box, "");
    m_channel->addBin(m_opaqueBin);
    m_channel->addBin(m_lightPointBin);
}

// ---- environment (akenv) ----

void World::buildEnvironment()
{
    kiNode* environment = node<akEnvTransform>(m_root, "Environment");

    akEnvSun* sun = drawing<akEnvSun>(environment, "Sun Body", quad("Sun Disc"));
    sun->setTextureFile("textures/sun disc.rgba");
    sun->setPosition(120.0f, 35.0f);
    sun->setHorizonColor(1.0f, 0.6f, 0.3f, 1.0f);
    akEnvMoon* moon = drawing<akEnvMoon>(environment, "Moon", quad("Moon Disc"));
    moon->setPhase(0.25f);
    moon->setTextureBlendMode(akEnvFx::TEXTURE_BLEND_MODE_BLEND);
    akEnvStars* stars = drawing<akEnvStars>(environment, "Stars", quad("Star Points"));
    stars->setBrightnessThreshold(0.2f, 0.8f);
    akEnvSkyDome* sky = drawing<akEnvSkyDome>(environment, "Sky Dome", quad("Sky Mesh"));
    for (int row = 0; row < akEnvSkyDome::NUM_ROWS; ++row)
        sky->setVisibilityRange(row, 1000.0f * (row + 1));
    akEnvCloudLayer* layer = drawing<akEnvCloudLayer>(environment, "Cloud Layer", quad("Cloud Layer Mesh"));
    layer->setScudEnable(true);
    layer->setTextureTiling(4.0f, 2.0f);
    layer->setTextureFile("textures/overcast.rgba");

    // A storm cloud that follows the vehicle, and a gust that follows the storm cloud.
    akEnvCloudVolume* storm = drawing<akEnvCloudVolume>(environment, "Storm Cloud", quad("Cloud Puffs"));
    storm->setBox({{-500.0f, -500.0f, 1500.0f}, {500.0f, 500.0f, 3000.0f}});
    storm->addLODRange(20000.0, 1000.0);
    storm->addLODRange(5000.0, 500.0);
    storm->setRainShaftEnable(true);
    storm->setRainShaftWidth(200.0f);
    storm->setRainShaftTextureFile("textures/rain.rgba");
    storm->setLightningSeverity(0.7f);
    storm->setPositionReference(m_vehicle);
    storm->setCoordConverter(m_sceneConverter);
    storm->setPositionCoordConverter(m_sceneConverter);

    akEnvWind* wind = node<akEnvWind>(environment, "Prevailing Wind");
    wind->setSpeed(7.5f);
    wind->setDirection(0.0f, 1.0f, 0.0f);
    wind->setCoordConverter(m_sceneConverter);
    akEnvWindLayer* windLayer = node<akEnvWindLayer>(environment, "Jet Stream");
    windLayer->setSpeed(60.0f);
    windLayer->setElevation(9000.0f, 12000.0f);
    akEnvWindVolume* gust = node<akEnvWindVolume>(environment, "Gust Volume");
    gust->setBox({{-100.0f, -100.0f, 0.0f}, {100.0f, 100.0f, 500.0f}});
    gust->setPositionReference(storm);
    gust->setEnable(false);

    // One cull record of every environment kind, each drawing its effect's geometry.
    auto* sunRecord = own<akEnvCelestial::CullRecord>();
    sunRecord->geometry = sun->getGeometryBase(0);
    sunRecord->bodyGeometry = static_cast<const olGeometry*>(sun->getGeometryBase(0));
    sunRecord->lightModelViewTransformElement = m_modelView;
    sunRecord->light = m_light;
    sunRecord->transformTexture = true;
    sunRecord->textureTransformElement = m_textureTransform;
    auto* layerRecord = own<akEnvCloudLayer::CullRecord>();
    layerRecord->geometry = layer->getGeometryBase(0);
    layerRecord->layerGeometry = static_cast<const olGeometry*>(layer->getGeometryBase(0));
    layerRecord->textureTransformElement = m_textureTransform;
    auto* stormRecord = own<akEnvCloudVolume::CullRecord>();
    stormRecord->geometry = storm->getGeometryBase(0);
    stormRecord->numPuffs = storm->getNumPuffs();
    stormRecord->cloudGeometry = static_cast<const olGeometry*>(storm->getGeometryBase(0));
    stormRecord->rainShaftEnable = true;
    stormRecord->rainShaftGeometry = quad("Rain Shaft");
    stormRecord->rainShaftTextureElement = m_textureElement;
    stormRecord->rainShaftTextureBlendElement = m_textureBlendElement;
    stormRecord->lightningEnable = true;
    stormRecord->lightningGeometry = quad("Lightning Bolt");
    stormRecord->axialModelViewElement = m_modelView;
    auto* skyRecord = own<akEnvSkyDome::CullRecord>();
    skyRecord->geometry = sky->getGeometryBase(0);
    skyRecord->skyGeometry = static_cast<const olGeometry*>(sky->getGeometryBase(0));
    skyRecord->groundGeometry = quad("Ground Mesh");
    auto* starsRecord = own<akEnvStars::CullRecord>();
    starsRecord->geometry = stars->getGeometryBase(0);
    starsRecord->starGeometry = static_cast<const olGeometry*>(stars->getGeometryBase(0));

    m_skyBin = own<kiChannelBin>("Sky Bin");
    for (const kiGeometryBase::CullRecord* record : std::initializer_list<const kiGeometryBase::CullRecord*>{
             skyRecord, starsRecord, sunRecord, layerRecord, stormRecord})
        m_skyBin->addGeometry(record, record->geometry);
    m_channel->addBin(m_skyBin);
}

// ---- effects (akfx) ----

void World::buildEffects()
{
    // The weather the effects belong to; the rotor starts on the isector's hits.
    auto* weather = own<akEnv>("Weather");
    kiNode* effects = node<kiNode>(m_root, "Effects");

    akFxBlade* rotor = node<akFxBlade>(effects, "Rotor");
    rotor->setNumBlades(4);
    rotor->setTriggerIsector(m_isector);
    rotor->setEnvironment(weather);
    rotor->setFadeDuration(0.5f, 1.0f);
    rotor->addNamed(rotor);
    akFxMissileTrail* trail = node<akFxMissileTrail>(effects, "Missile Trail");
    trail->setLength(250.0f);
    trail->setEnvironment(weather);

    akFxParticleSystem* sparks = node<akFxParticleSystem>(effects, "Sparks");
    sparks->setSourceDomain(akFxParticleSystem::SOURCE_DOMAIN_SPHERE);
    sparks->addBoundingPlane(emVec3<double>(0.0, 0.0, 0.0), emVec3<double>(0.0, 0.0, 1.0));
    sparks->setBoundingDomainBehavior(akFxParticleSystem::BOUNDING_DOMAIN_BEHAVIOR_BOUNCE);
    sparks->setColor(0.0f, emVec4<float>(1.0f, 0.9f, 0.2f, 1.0f));
    sparks->setColor(0.5f, emVec4<float>(1.0f, 0.2f, 0.0f, 0.0f));
    sparks->setSize(0.0f, 0.1f);
    sparks->setVelocity(0.0f, emVec3<double>(0.0, 0.0, 5.0));
    sparks->setWind(0.25f, emVec3<double>(1.0, 0.0, 0.0));
    sparks->setRandomVelocity(0.0f, 2.0f);
    sparks->setSphericalVelocity(0.0f, 1.0f);
    sparks->setScaleAlongVelocity(0.0f, 3.0f);
    sparks->setConfigured(true);

    // Every preset once; the last one unnamed.
    node<akFxDebris>(effects, "Debris");
    node<akFxExplosion>(effects, "Explosion");
    node<akFxExplosion2>(effects, "Explosion 2");
    node<akFxExplosion3>(effects, "Explosion 3");
    node<akFxFire>(effects, "Fire");
    node<akFxFlak>(effects, "Flak");
    node<akFxFlame>(effects, "Flame");
    node<akFxFlash>(effects, "Flash");
    node<akFxRotorWash>(effects, "Rotor Wash");
    node<akFxSmoke>(effects, "Smoke");
    node<akFxSmokeBall>(effects, "Smoke Ball");
    node<akFxSplash>(effects, nullptr);

    // One cull record of every effects kind.
    auto* bladeRecord = own<akFxBlade::CullRecord>();
    bladeRecord->geometry = quad("Rotor Disc");
    auto* trailRecord = own<akFxMissileTrail::CullRecord>();
    trailRecord->geometry = quad("Trail Ribbon");
    auto* sparksRecord = own<akFxParticleSystem::CullRecord>();
    sparksRecord->geometry = quad("Spark Sprites");
    sparksRecord->options = kiCullRecord::OPTION_TRANSPARENT | kiCullRecord::OPTION_EMISSIVE;
    for (const kiGeometryBase::CullRecord* record :
         std::initializer_list<const kiGeometryBase::CullRecord*>{bladeRecord, trailRecord, sparksRecord})
        m_skyBin->addGeometry(record, record->geometry);
}

}  // namespace sampleworld
