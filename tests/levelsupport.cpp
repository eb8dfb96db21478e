#include "levelsupport.h"

#include <cstdio>
#include <memory>

using namespace schemasupport;

namespace levelsupport {

namespace {

bool set(Level& out, Level level)
{
    out = std::move(level);
    return true;
}

}  // namespace

unsigned int low32(const void* pointer) { return static_cast<unsigned int>(reinterpret_cast<uintptr_t>(pointer)); }

std::string hexOf(const void* pointer) { return hex(low32(pointer)); }

std::string bits(unsigned int value)
{
    std::string text;
    for (int i = 0; i < 32; ++i)
        text += ((value >> i) & 1) ? '1' : '0';
    return text;
}

std::string num(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

emMatrix<double> distinctMatrix(double start)
{
    emMatrix<double> m;
    for (int k = 0; k < 16; ++k)
        m.m[k / 4][k % 4] = start + k;
    return m;
}

bool SceneGraphLevels::fill(const std::string& level, emClassObject* o, const Flags& on, Level& out)
{
    SceneGraphLevels& r = *this;
    if (level == "emMemBase") {
        emMemBase* m = dynamic_cast<emMemBase*>(o);
        m->setSizes(48, 64);
        m->ref();
        m->ref();
        return set(out,
                   {"",
                    {"Reference Count: int = 2", "Size Requested: unsigned int = 48 [advanced]",
                     "Size Allocated: unsigned int = 64 [advanced]"}});
    }
    if (level == "emBase")
        return set(out,
                   {"",
                    {std::string("Name: emString = \"") + dynamic_cast<emBase*>(o)->getName() + "\"",
                     "User Data List: emUserDataList * = 0x0"}});
    if (level == "kiCullRecord") {
        kiCullRecord* c = dynamic_cast<kiCullRecord*>(o);
        c->options = kiCullRecord::OPTION_SET_MATRIX | kiCullRecord::OPTION_TRANSPARENT;
        c->channelId = 3;
        c->decalOffset = 4;
        c->multiSampleCoverage = 0.5f;
        c->depth = 0.25f;
        c->state = &r.state;
        c->primarySortObject = &r.sortNode;
        c->secondarySortObject = &r.sortMaterial;
        c->modelViewTransformElement = &r.modelView;
        c->cullRecordFactory = &r.factory;
        return set(
            out,
            {"",
             {"Options: unsigned int = 0x5 [tip: OPTION_SET_MATRIX |\nOPTION_TRANSPARENT]", "Channel Id: int = 3",
              "Decal Offset: int = 4", "Multi-Sample Coverage: float = 0.5", "Depth: float = 0.25",
              "State: olState * = " + hexOf(&r.state), "Primary Sort Object: kiNode * = " + hexOf(&r.sortNode),
              "Secondary Sort Object: olMaterial * = " + hexOf(&r.sortMaterial),
              "Model View Transform Element: olTransform::ElementModelView = ",
              "Cull Record Factory: kiCullRecordFactory * = " + hexOf(&r.factory)}});
    }
    if (level == "kiGeometryBase::CullRecord") {
        dynamic_cast<kiGeometryBase::CullRecord*>(o)->geometry = &r.geometry;
        return set(out, {"", {"Geometry: olGeometry * = " + hexOf(&r.geometry)}});
    }
    if (level == "kiLight::CullRecord") {
        dynamic_cast<kiLight::CullRecord*>(o)->light = &r.light;
        return set(out, {"", {"Light: olLight * = " + hexOf(&r.light)}});
    }
    if (level == "kiLightPoint::CullRecord") {
        kiLightPoint::CullRecord* c = dynamic_cast<kiLightPoint::CullRecord*>(o);
        c->allocateLightPoints(2, true);
        c->animate = on[0];
        c->enable = on[1];
        c->render = on[2];
        c->disableLODs = on[3];
        c->time = 1.25;
        c->enableTime = 2.5;
        c->intensity = 0.75f;
        c->nearPixelDistance = 3.5f;
        for (int i = 0; i < 2; ++i) {
            c->indices[i] = static_cast<unsigned short>(5 + i);
            c->sizes[i] = 0.5f + i;
            c->colors[i] = emVec4<float>(0.1f + i, 0.2f, 0.3f, 0.4f);
            c->vertices[i] = emVec3<float>(1.0f + i, 4.0f, 5.0f);
        }
        c->viewMatrix = distinctMatrix(100);
        c->modelMatrix = distinctMatrix(200);
        c->channel = &r.channel;
        c->fog = &r.fog;
        c->asynchronousChannelBin = &r.bin;
        const std::string d = "Light Point Data/";
        return set(out,
                   {"",
                    {"Light Point Data:  = ",
                     d + "Animate: bool = " + on(0),
                     d + "Enable: bool = " + on(1),
                     d + "Render: bool = " + on(2),
                     d + "Disable LODs: bool = " + on(3),
                     d + "Number of Light Points: int = 2",
                     d + "Time: double = 1.25",
                     d + "Enable Time: double = 2.5",
                     d + "Intensity: float = 0.75",
                     d + "Near Pixel Distance: float = 3.5",
                     d + "Indices: unsigned short * = " + hexOf(c->indices),
                     d + "Indices/0: unsigned short = 5",
                     d + "Indices/1: unsigned short = 6",
                     d + "Sizes: float * = " + hexOf(c->sizes),
                     d + "Sizes/0: float = 0.5",
                     d + "Sizes/1: float = 1.5",
                     d + "Colors: emVec4<float> * = " + hexOf(c->colors),
                     d + "Colors/0: emVec4<float> = r=0.1, g=0.2, b=0.3, a=0.4",
                     d + "Colors/1: emVec4<float> = r=1.1, g=0.2, b=0.3, a=0.4",
                     d + "Vertices: emVec3<float> * = " + hexOf(c->vertices),
                     d + "Vertices/0: emVec3<float> = x=1, y=4, z=5",
                     d + "Vertices/1: emVec3<float> = x=2, y=4, z=5",
                     d + "View Matrix: emMatrix<double> = " + matrixValues(c->viewMatrix.m),
                     d + "Model Matrix: emMatrix<double> = " + matrixValues(c->modelMatrix.m),
                     d + "Channel: olChannel * = " + hexOf(&r.channel),
                     d + "Fog: olFog * = " + hexOf(&r.fog),
                     "Asynchronous Channel Bin: kiChannelBin * = " + hexOf(&r.bin)}});
    }
    if (level == "kiLightPoint::Control") {
        kiLightPoint::Control* c = dynamic_cast<kiLightPoint::Control*>(o);
        c->setEnable(on[0]);
        c->setAnimationState(kiLightPoint::Control::ANIMATION_STATE_RANDOM);
        c->setIntensity(0.5f);
        c->setEnableTime(3.25);
        return set(out,
                   {"",
                    {"Enable: bool = " + on(0),
                     "Animation State: kiLightPoint::Control::AnimationState = ANIMATION_STATE_RANDOM",
                     "Intensity: float = 0.5", "Enable Time: double = 3.25"}});
    }
    if (level == "kiLODFilter") {
        kiLODFilter* f = dynamic_cast<kiLODFilter*>(o);
        f->setVisibilityRangeScale(1.1);
        f->setVisibilityStressScale(1.2);
        f->setTransitionRangeScale(1.3);
        f->setTransitionStressScale(1.4);
        return set(out,
                   {"",
                    {"Visibility Range Scale: double = 1.1", "Visibility Stress Scale: double = 1.2",
                     "Transition Range Scale: double = 1.3", "Transition Stress Scale: double = 1.4"}});
    }
    if (level == "kiLODFilterManual") {
        dynamic_cast<kiLODFilterManual*>(o)->setChild(2);
        return set(out, {"", {"Child: int = 2"}});
    }
    if (level == "kiNode") {
        kiNode* n = dynamic_cast<kiNode*>(o);
        n->setCullMask(0x11);
        n->setRenderMask(0x22);
        n->setIsectMask(0x80000044u);
        n->setBranchUpdateEnable(on[0]);
        n->setNumUpdateRequests(3);
        n->setNumGraphChangedRequests(4);
        n->setStaticBoundsEnable(on[1]);
        n->setBounds(emSphere<double>(1, 2, 3, 4.5));
        n->setTotalNumUpdateRequests(5);
        n->setTotalNumGraphChangedRequests(6);
        return set(
            out,
            {"",
             {"Parents:  = ", "Cull Mask: unsigned int = 0x11 [tip: " + bits(0x11) + "]",
              "Render Mask: unsigned int = 0x22 [tip: " + bits(0x22) + "]",
              "Isect Mask: unsigned int = 0x80000044 [tip: " + bits(0x80000044u) + "]",
              "Branch Update Enable: bool = " + on(0), "Number Of Update Requests: short = 3",
              "Number Of Graph Changed Requests: short = 4", "Static Bounds Enable: bool = " + on(1),
              "Bounds: emSphere<double> = ", "Bounds/Center: emVec3<double> = x=1, y=2, z=3",
              "Bounds/Radius: double = 4.5", "Children:  = ", "Total Number Of Update Requests: short = 5 [advanced]",
              "Total Number Of Graph Changed Requests: short = 6 [advanced]"}});
    }
    if (level == "kiAnimation") {
        kiAnimation* a = dynamic_cast<kiAnimation*>(o);
        a->setMode(kiAnimation::MODE_SWING);
        a->setDirection(kiAnimation::DIRECTION_BACKWARD);
        a->setCommand(kiAnimation::COMMAND_PAUSE);
        a->setDuration(2.5, false);
        a->setNumLoops(3);
        a->setLastChildDuration(1.25);
        a->setCurrentChild(2);
        return set(
            out,
            {"",
             {"Mode: kiAnimation::Mode = MODE_SWING", "Direction: kiAnimation::Direction = DIRECTION_BACKWARD",
              "Command: kiAnimation::Command = COMMAND_PAUSE", "Overall Duration: double = 2.5",
              "Number of Loops: int = 3", "Last Child Duration: double = 1.25", "Current Child: int = 2 [advanced]"}});
    }
    if (level == "kiDecal") {
        dynamic_cast<kiDecal*>(o)->setOffset(7);
        return set(out, {"", {"Offset: unsigned int = 7"}});
    }
    if (level == "kiDOF") {
        kiDOF* d = dynamic_cast<kiDOF*>(o);
        d->setTranslate(4, 5, 6);
        d->setRotate(40, 50, 60);
        d->setScale(1.5, 2.5, 3.5);
        const emMatrix<double> origin = distinctMatrix(70);
        d->setLocalOrigin(origin);
        Rows rows{"Translate: emVec3<double> = x=4, y=5, z=6", "Rotate: emVec3<double> = h=40, p=50, r=60",
                  "Scale: emVec3<double> = x=1.5, y=2.5, z=3.5", "Constraints:  = "};
        const char* names[] = {"Translate X", "Translate Y", "Translate Z", "Rotate H", "Rotate P",
                               "Rotate R",    "Scale X",     "Scale Y",     "Scale Z"};
        for (int c = 0; c < kiDOF::COMPONENT_COUNT; ++c) {
            d->setConstraint(static_cast<kiDOF::Component>(c), on[c], c, c + 0.5);
            const std::string g = std::string("Constraints/") + names[c];
            rows.insert(rows.end(),
                        {g + ":  = ", g + "/Enable: bool = " + on(c), g + "/Minimum: double = " + num(c),
                         g + "/Maximum: double = " + num(c + 0.5)});
        }
        rows.push_back("Local Origin: emMatrix<double> = " + matrixValues(origin.m));
        rows.push_back("Affine Matrix: emMatrix<double> = " + matrixValues(d->getMatrixAffine().m));
        return set(out, {"", rows, {"Affine Matrix"}});
    }
    if (level == "kiGeometryBase") {
        kiGeometryBase* g = dynamic_cast<kiGeometryBase*>(o);
        g->setChannelBinId(0, 7);
        g->setAuxChannelBinId(0, 8);
        g->setGeometryBase(0, &r.geometry);
        g->setState(0, &r.state);
        g->setCullRecordFactoryBase(0, &r.factory);
        g->addValidationMessage(emNotify::LEVEL_WARN, "first check");
        g->addValidationMessage(emNotify::LEVEL_INFO, "second check");
        const std::string p = "Representation 0";
        return set(
            out,
            {" [error 5: first check] [error 2: second check]",
             {p + ":  = ", p + "/Channel Bin Id: int = 7", p + "/Auxiliary Channel Bin Id: int = 8",
              p + "/Geometry: olGeometry * = " + hexOf(&r.geometry), p + "/State: olState * = " + hexOf(&r.state),
              p + "/Cull Record Factory: kiCullRecordFactory * = " + hexOf(&r.factory)}});
    }
    if (level == "kiLight") {
        kiLight* l = dynamic_cast<kiLight*>(o);
        l->setEnable(on[0]);
        l->setChannelBinId(0, 9);
        l->setLight(0, &r.light);
        l->setCullRecordFactory(0, &r.factory);
        const std::string p = "Representation 0";
        return set(out,
                   {"",
                    {"Enable: bool = " + on(0), p + ":  = ", p + "/Channel Bin Id: int = 9",
                     p + "/Light: olLight * = " + hexOf(&r.light),
                     p + "/Cull Record Factory: kiCullRecordFactory * = " + hexOf(&r.factory)}});
    }
    if (level == "kiLOD") {
        kiLOD* l = dynamic_cast<kiLOD*>(o);
        l->setCenter(1.5, 2.5, 3.5);
        l->addRange(10, 11);
        l->addRange(20, 21);
        l->setLODFilter(&r.filter);
        return set(out,
                   {"",
                    {"Center: emVec3<double> = x=1.5, y=2.5, z=3.5",
                     "Ranges:  = ", "Ranges/0:  = ", "Ranges/0/Visibility: double = 10",
                     "Ranges/0/Transition: double = 11", "Ranges/1:  = ", "Ranges/1/Visibility: double = 20",
                     "Ranges/1/Transition: double = 21", "LOD Filter: kiLODFilter * = " + hexOf(&r.filter)}});
    }
    if (level == "kiSwitch") {
        kiSwitch* s = dynamic_cast<kiSwitch*>(o);
        s->setActiveMask(3);
        s->addMask("first", {0, 2});
        s->addMask("second", {1});
        return set(
            out,
            {"",
             {"Active Mask: int = 3", "Mask 0:  = ", "Mask 0/Name: emString = \"first\"", "Mask 0/Child: int = 0",
              "Mask 0/Child: int = 2", "Mask 1:  = ", "Mask 1/Name: emString = \"second\"", "Mask 1/Child: int = 1"}});
    }
    if (level == "kiTransform") {
        kiTransform* t = dynamic_cast<kiTransform*>(o);
        t->setTranslate(1, 2, 3);
        t->setRotate(10, 20, 30);
        t->setScale(2, 3, 4);
        t->setStaticEnable(on[0]);
        return set(out,
                   {"",
                    {"Translate: emVec3<double> = x=1, y=2, z=3", "Rotate: emVec3<double> = h=10, p=20, r=30",
                     "Scale: emVec3<double> = x=2, y=3, z=4", "Static Enable: bool = " + on(0),
                     "Affine Matrix: emMatrix<double> = " + matrixValues(t->getMatrixAffine().m)},
                    {"Affine Matrix"}});
    }
    if (level == "kiLightPoint") {
        dynamic_cast<kiLightPoint*>(o)->setControl(&r.control);
        return set(out, {"", {"Control: kiLightPoint::Control * = " + hexOf(&r.control)}});
    }
    if (level == "kiBillboard") {
        kiBillboard* b = dynamic_cast<kiBillboard*>(o);
        b->setType(kiBillboard::TYPE_AXIAL);
        b->setOrientation(kiBillboard::ORIENTATION_POINT_TO_EYE);
        b->setAxis(0.5, 1, 2);
        return set(out,
                   {"",
                    {"Type: kiBillboard::Type = TYPE_AXIAL",
                     "Orientation: kiBillboard::Orientation = ORIENTATION_POINT_TO_EYE",
                     "Axis: emVec3<double> = x=0.5, y=1, z=2"}});
    }
    static const char* const empty[] = {
        "kiChannelBin",     "kiCullRecordFactory", "kiLODFilterBase", "kiRenderStrategyFrameGeometry",
        "olRenderStrategy", "emPalette",           "emUserDataList",  "kiGeometry",
        "kiString"};
    for (const char* name : empty)
        if (level == name)
            return true;
    return false;
}

ApplicationLevels::ApplicationLevels()
    : namedNode(new kiNode("named")), geometryNode(new kiGeometry("geometry node")),
      lightNode(new kiLight("light node")), copySource(new akObject("copy source"))
{
    for (kiNode* node : {namedNode, static_cast<kiNode*>(geometryNode), static_cast<kiNode*>(lightNode),
                         static_cast<kiNode*>(copySource)})
        node->ref();
}

ApplicationLevels::~ApplicationLevels()
{
    for (kiNode* node : {namedNode, static_cast<kiNode*>(geometryNode), static_cast<kiNode*>(lightNode),
                         static_cast<kiNode*>(copySource)})
        kiNode::release(node);
}

bool ApplicationLevels::fill(const std::string& level, emClassObject* o, const Flags& on, Level& out)
{
    ApplicationLevels& r = *this;
    if (level == "akGeometry") {
        akGeometry* g = dynamic_cast<akGeometry*>(o);
        g->setTextureSubloadRender(akGeometry::TEXTURE_SUBLOAD_RENDER_IMMEDIATE);
        g->setTextureSubloadMode(akGeometry::TEXTURE_SUBLOAD_MODE_OFF);
        g->setTextureSubloadEnable(on[0]);
        g->addAttribute(&r.attribute);
        g->addNamed(r.namedNode);
        g->addGeometry(r.geometryNode);
        g->addTexture(&r.texture);
        return set(out,
                   {"",
                    {"Texture Subload Render: akGeometry::TextureSubloadRender = TEXTURE_SUBLOAD_RENDER_IMMEDIATE",
                     "Texture Subload Mode: akGeometry::TextureSubloadMode = TEXTURE_SUBLOAD_MODE_OFF",
                     "Texture Subload Enable: bool = " + on(0),
                     "Attributes:  = ", "Attributes/0: akGeometry::Attribute * = " + hexOf(&r.attribute),
                     "Named Nodes:  = ", "Named Nodes/0: kiNode * = " + hexOf(r.namedNode),
                     "Geometry Nodes:  = ", "Geometry Nodes/0: kiGeometry * = " + hexOf(r.geometryNode),
                     "Textures:  = ", "Textures/0: olTexture * = " + hexOf(&r.texture)}});
    }
    if (level == "akPositionable") {
        akPositionable* p = dynamic_cast<akPositionable*>(o);
        akPositionable::StateVector v;
        v.position = {1, 2, 3};
        v.rotation = {4, 5, 6};
        v.positionalVelocity = {7, 8, 9};
        v.rotationalVelocity = {10, 11, 12};
        v.positionalAcceleration = {13, 14, 15};
        v.rotationalAcceleration = {16, 17, 18};
        v.quaternionScalar = 0.5;
        v.velocityQuaternionScalar = 0.25;
        v.accelerationQuaternionScalar = 0.125;
        p->setStateVector(v);
        p->setStrategy(&r.strategy);
        p->setStrategyEnable(on[0]);
        p->setExtrapolationTime(0.75);
        p->setPositionCoordConverter(&r.converter);
        const std::string s = "State Vector/";
        return set(
            out,
            {"",
             {"Strategy: akPositionable::Strategy * = " + hexOf(&r.strategy), "Strategy Enable: bool = " + on(0),
              "Extrapolation Time: double = 0.75", "State Vector:  = ", s + "Position: emVec3<double> = x=1, y=2, z=3",
              s + "Rotation: emVec3<double> = h=4, p=5, r=6", s + "Positional Velocity: emVec3<double> = x=7, y=8, z=9",
              s + "Rotational Velocity: emVec3<double> = h=10, p=11, r=12",
              s + "Positional Acceleration: emVec3<double> = x=13, y=14, z=15",
              s + "Rotational Acceleration: emVec3<double> = h=16, p=17, r=18", s + "Quaternion Scalar: double = 0.5",
              s + "Velocity Quaternion Scalar: double = 0.25", s + "Acceleration Quaternion Scalar: double = 0.125",
              "Coordinate Converter: akCoordConverter * = " + hexOf(&r.converter)}});
    }
    if (level == "akCoordConverter") {
        akCoordConverter* c = dynamic_cast<akCoordConverter*>(o);
        c->setResolved(&r.ellipsoid, &r.projection);
        c->setGeoRef(&r.geoRef);  // the root follows the geo-reference
        c->setQuaternionEnable(on[0]);
        return set(out,
                   {"",
                    {"Resolved Ellipsoid: akCoordSys::Ellipsoid * = " + hexOf(&r.ellipsoid),
                     "Resolved Projection: akCoordSys::Projection * = " + hexOf(&r.projection),
                     "Coordinate System: akCoordSys * = 0x0",
                     "Geo-Reference: akCoordConverter::GeoRefMatrix * = " + hexOf(&r.geoRef),
                     "Root: akCoordConverter::Root = ROOT_GEOREF_MATRIX", "Quaternion Enable: bool = " + on(0)}});
    }
    if (level == "akCoordConverter::GeoRef") {
        akCoordConverter::GeoRef* g = dynamic_cast<akCoordConverter::GeoRef*>(o);
        g->setEllipsoid(&r.ellipsoid);
        g->setProjection(&r.projection);
        return set(out,
                   {"",
                    {"Ellipsoid: akCoordSys::Ellipsoid * = " + hexOf(&r.ellipsoid),
                     "Projection: akCoordSys::Projection * = " + hexOf(&r.projection),
                     std::string("Type: akCoordConverter::GeoRef::Type = ") +
                         (g->getType() == akCoordConverter::GeoRef::TYPE_VEC3 ? "TYPE_VEC3" : "TYPE_MATRIX")}});
    }
    if (level == "akCoordSys") {
        akCoordSys* c = dynamic_cast<akCoordSys*>(o);
        c->setType(akCoordSys::TYPE_GEOCENTRIC);
        c->setEllipsoid(&r.ellipsoid);
        c->setProjection(&r.projection);
        c->setLinearUnits(akCoordSys::LINEAR_UNITS_NAUTICAL_MILES);
        c->setAngularUnits(akCoordSys::ANGULAR_UNITS_RADIANS);
        return set(
            out,
            {"",
             {"Type: akCoordSys::Type = TYPE_GEOCENTRIC", "Ellipsoid: akCoordSys::Ellipsoid * = " + hexOf(&r.ellipsoid),
              "Projection: akCoordSys::Projection * = " + hexOf(&r.projection),
              "Linear Units: akCoordSys::LinearUnits = LINEAR_UNITS_NAUTICAL_MILES",
              "Angular Units: akCoordSys::AngularUnits = ANGULAR_UNITS_RADIANS"}});
    }
    if (level == "akCoordSys::Ellipsoid") {
        akCoordSys::Ellipsoid* e = dynamic_cast<akCoordSys::Ellipsoid*>(o);
        e->setDatumShift(1.5, 2.5, 3.5);
        e->setAxes(5.0, 4.0);
        return set(
            out,
            {"",
             {"Datum Shift: emVec3<double> = x=1.5, y=2.5, z=3.5", "Semi-Major Axis: double = 5",
              "Semi-Minor Axis: double = 4", "Eccentricity: double = 0.6", "Eccentricity Squared: double = 0.36"}});
    }
    if (level == "akCoordSys::Projection") {
        dynamic_cast<akCoordSys::Projection*>(o)->setEllipsoid(&r.ellipsoid);
        return set(out, {"", {"Ellipsoid: akCoordSys::Ellipsoid * = " + hexOf(&r.ellipsoid)}});
    }
    if (level == "akPositionable::Strategy") {
        dynamic_cast<akPositionable::Strategy*>(o)->setNextStrategy(&r.strategy);
        return set(out, {"", {"Next Strategy: akPositionable::Strategy * = " + hexOf(&r.strategy)}});
    }
    if (level == "akScene") {
        dynamic_cast<akScene*>(o)->setCoordConverter(&r.nodeConverter);
        return set(out, {"", {"Coordinate Converter: akCoordConverter * = " + hexOf(&r.nodeConverter)}});
    }
    if (level == "akTransform") {
        akTransform* t = dynamic_cast<akTransform*>(o);
        t->setCoordConverter(&r.nodeConverter);
        t->setLocalized(on[0]);
        return set(out,
                   {"",
                    {"Coordinate Converter: akCoordConverter * = " + hexOf(&r.nodeConverter),
                     "Localized: bool = " + on(0) + " [advanced]"}});
    }
    if (level == "akGeometryPageable") {
        akGeometryPageable* g = dynamic_cast<akGeometryPageable*>(o);
        using D = kiNodeLoader::Data;
        using P = akGeometryPageable;
        g->setFileName("terrain/tile 7.model");
        // The loader options in the order written; options 1 and 2 are not written.
        const D::LoaderOption loader[] = {D::LOADER_OPTION_COMBINE_LIGHT_POINTS,
                                          D::LOADER_OPTION_COMBINE_LODS,
                                          D::LOADER_OPTION_CREATE_ANIMATIONS,
                                          D::LOADER_OPTION_IGNORE_DOF_CONSTRAINTS,
                                          D::LOADER_OPTION_PRESERVE_EXTERNAL_REFERENCE_FLAGS,
                                          D::LOADER_OPTION_PRESERVE_GENERIC_NAMES,
                                          D::LOADER_OPTION_PRESERVE_GENERIC_NODES,
                                          D::LOADER_OPTION_PRESERVE_QUADS,
                                          D::LOADER_OPTION_ALL_GEOMETRIES_LIT,
                                          D::LOADER_OPTION_USE_MATERIAL_DIFFUSE_COLOR,
                                          D::LOADER_OPTION_MONOCHROME,
                                          D::LOADER_OPTION_SHARE_LIGHT_POINT_CONTROLS};
        const char* loaderNames[] = {"Combine Light Points",
                                     "Combine LODs",
                                     "Create Animations",
                                     "Ignore DOF Constraints",
                                     "Preserve External Reference Flags",
                                     "Preserve Generic Names",
                                     "Preserve Generic Nodes",
                                     "Preserve Quads",
                                     "All Geometries Lit",
                                     "Use Material Diffuse Color",
                                     "Monochrome",
                                     "Share Light Point Controls"};
        const char* builderNames[] = {"Optimize Geometries", "Collapse Bindings", "Collapse Triangle Strips"};
        const char* postLoadNames[] = {
            "Flatten", "Clean", "Merge Geometries", "Collapse Bindings", "Collapse Triangle Strips", "Validate"};
        int flag = 0;  // the bool fields in the order written
        Rows rows{"File Name: emString = \"terrain/tile 7.model\""};
        for (size_t i = 0; i < std::size(loader); ++i, ++flag) {
            g->setLoaderOption(loader[i], on[flag]);
            rows.push_back(std::string("Loader Option, ") + loaderNames[i] + ": bool = " + on(flag));
        }
        g->setLoaderOption(D::LOADER_OPTION_RESERVED_1, true);
        g->setLoaderUnits(D::LOADER_UNITS_FEET);
        g->setLoaderDetailMultiTextureStage(3);
        g->setLoaderIsectorMask(0x0F0u);
        g->setLoaderLODFilter(&r.loaderFilter);
        g->setLoaderPalette(&r.palette);
        rows.insert(rows.end(),
                    {"Loader Units: kiNodeLoader::Data::LoaderUnits = LOADER_UNITS_FEET",
                     "Loader Detail Multi-Texture Stage: int = 3",
                     "Loader Isector Mask: unsigned int = 0xF0 [tip: " + bits(0xF0) + "]",
                     "Loader LOD Filter: kiLODFilter * = " + hexOf(&r.loaderFilter),
                     "Loader Palette: emPalette * = " + hexOf(&r.palette)});
        for (int i = 0; i < D::BUILDER_OPTION_COUNT; ++i, ++flag) {
            g->setBuilderOption(static_cast<D::BuilderOption>(i), on[flag]);
            rows.push_back(std::string("Builder Option, ") + builderNames[i] + ": bool = " + on(flag));
        }
        g->setBuilderNormalMode(D::BUILDER_NORMAL_MODE_ORIENT_TO_VERTICES);
        g->setBuilderTolerances(0.5f, 0.25f, 0.125f);
        g->setGeometryOption(D::GEOMETRY_OPTION_GENERATE_DISPLAY_LISTS, on[flag]);
        g->setGeometryFormat(olGeometryBase::FORMAT_VERTEX_BUFFER, 0x5);
        rows.insert(
            rows.end(),
            {"Builder Normal Mode: kiNodeLoader::Data::BuilderNormalMode = BUILDER_NORMAL_MODE_ORIENT_TO_VERTICES",
             "Builder Color Tolerance: float = 0.5", "Builder Normal Tolerance: float = 0.25",
             "Builder Vertex Tolerance: float = 0.125", "Geometry Option, Generate Display Lists: bool = " + on(flag++),
             "Format: olGeometryBase::Format = FORMAT_VERTEX_BUFFER",
             "Persistent Attributes: unsigned int = 0x5 [tip: ATTRIBUTE_COLOR |\nATTRIBUTE_VERTEX]"});
        for (int i = 0; i < P::POST_LOAD_OPTION_COUNT; ++i, ++flag) {
            g->setPostLoadOption(static_cast<P::PostLoadOption>(i), on[flag]);
            rows.push_back(std::string("Post Load Option, ") + postLoadNames[i] + ": bool = " + on(flag));
        }
        return set(out, {"", rows});
    }
    if (level == "akCoordConverter::GeoRefMatrix") {
        akCoordConverter::GeoRefMatrix* g = dynamic_cast<akCoordConverter::GeoRefMatrix*>(o);
        g->setMatrix(distinctMatrix(30));
        return set(out, {"", {"Matrix: emMatrix<double> = " + matrixValues(g->getMatrix().m)}});
    }
    if (level == "akCoordConverter::GeoRefVec3") {
        dynamic_cast<akCoordConverter::GeoRefVec3*>(o)->setLLE({-71.5, 42.25, 120});
        return set(out, {"", {"LLE: emVec3<double> = lon=-71.5, lat=42.25, el=120"}});
    }
    if (level == "akLight") {
        akLight* l = dynamic_cast<akLight*>(o);
        l->setType(akLight::TYPE_SPOT);
        l->setEnable(on[0]);
        l->setAttenuation(0.5f, 0.25f, 0.125f);
        l->setSpotCone(10.0f, 20.0f, 2.0f);
        l->setColor(akLight::COLOR_AMBIENT, 0.1f, 0.2f, 0.3f, 0.4f);
        l->setColor(akLight::COLOR_DIFFUSE, 0.5f, 0.6f, 0.7f, 0.8f);
        l->setColor(akLight::COLOR_SPECULAR, 0.9f, 1.0f, 0.75f, 0.5f);
        l->setRenderEnable(on[1]);
        l->setLight(r.lightNode);
        return set(out,
                   {"",
                    {"Type: akLight::Type = TYPE_SPOT", "Enable: bool = " + on(0), "Attenuation, Constant: float = 0.5",
                     "Attenuation, Linear: float = 0.25", "Attenuation, Quadratic: float = 0.125",
                     "Spot Cone, Inner: float = 10", "Spot Cone, Outer: float = 20", "Spot Cone, Falloff: float = 2",
                     "Color, Ambient: emVec4<float> = r=0.1, g=0.2, b=0.3, a=0.4",
                     "Color, Diffuse: emVec4<float> = r=0.5, g=0.6, b=0.7, a=0.8",
                     "Color, Specular: emVec4<float> = r=0.9, g=1, b=0.75, a=0.5", "Render Enable: bool = " + on(1),
                     "Light: kiLight * = " + hexOf(r.lightNode)}});
    }
    if (level == "akObject") {
        akObject* a = dynamic_cast<akObject*>(o);
        a->setAutoPage(akObject::AUTO_PAGE_OFF);
        a->setCopySource(r.copySource);
        a->setManualLODChild(2);
        return set(out,
                   {"",
                    {"Auto Page: akObject::AutoPage = AUTO_PAGE_OFF",
                     "Copy Source: akObject * = " + hexOf(r.copySource), "Manual Child: int = 2"}});
    }
    static const char* const empty[] = {"akPageable",
                                        "akGeometry::Attribute",
                                        "akIsector",
                                        "akDOF",
                                        "akLOD",
                                        "akCoordSys::CustomSphere",
                                        "akCoordSys::DefaultSphere"};
    for (const char* name : empty)
        if (level == name)
            return true;
    return false;
}

Levels line(const std::vector<const char*>& names)
{
    Levels levels{names.back(), {}};
    for (size_t i = names.size() - 1; i-- > 0;)
        levels = Levels{names[i], {levels}};
    return levels;
}

Levels on(const char* type, const Levels& base) { return Levels{type, {base}}; }
Levels on(const char* type, const Levels& base, const Levels& second) { return Levels{type, {base, second}}; }

Rows fillLevels(const Levels& levels, emClassObject* object, const std::vector<LevelFiller*>& fillers, const Flags& on,
                FieldValues& fields, std::string& marks)
{
    Level own;
    bool known = false;
    for (LevelFiller* filler : fillers)
        if ((known = filler->fill(levels.type, object, on, own)))
            break;
    EXPECT_TRUE(known) << "no filler knows " << levels.type;
    fields.add(on.pattern, levels.type, own.rows, own.shared);
    marks = own.marks;
    Rows out;
    for (const Levels& base : levels.bases) {
        std::string baseMarks;
        const Rows rows = fillLevels(base, object, fillers, on, fields, baseMarks);
        out.push_back(base.type + ": " + base.type + " = " + baseMarks);
        for (const std::string& row : rows)
            out.push_back(base.type + "/" + row);
    }
    out.insert(out.end(), own.rows.begin(), own.rows.end());
    return out;
}

Rows basePaths(const Levels& levels, const std::string& prefix)
{
    Rows paths;
    for (const Levels& base : levels.bases) {
        const std::string path = prefix + base.type;
        paths.push_back(path);
        const Rows inner = basePaths(base, path + "/");
        paths.insert(paths.end(), inner.begin(), inner.end());
    }
    return paths;
}

void expectRoundTrip(const Levels& levels, emClassObject* (*make)(), const std::vector<LevelFiller*>& fillers)
{
    SCOPED_TRACE(levels.type);
    underEveryPattern([&](const Flags& on, FieldValues& fields) {
        std::unique_ptr<emClassObject> object(make());
        std::string marks;
        const Rows expected = fillLevels(levels, object.get(), fillers, on, fields, marks);
        akDebugTypeDef* typeDef = akDebugTypeDef::find(levels.type.c_str());
        ASSERT_NE(typeDef, nullptr);
        RoundTrip trip;
        trip.write(object.get(), typeDef);
        trip.finish();
        const akDebugObject* read = trip.read();
        ASSERT_NE(read, nullptr);
        EXPECT_TRUE(trip.consumedAll()) << trip.bytesLeft() << " bytes left";
        EXPECT_EQ(typeOf(read) + " = " + valueOf(read) + schemasupport::marks(read),
                  levels.type + " * = " + hexOf(object.get()) + marks);
        EXPECT_TRUE(sameRows(objectRows(read, basePaths(levels)), expected));
    });
}

}  // namespace levelsupport
