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

bool SceneGraphLevels::fill(const std::string& level, emClassObject* o, Level& out)
{
    SceneGraphLevels& r = *this;
    if (level == "emMemBase") {
        emMemBase* m = dynamic_cast<emMemBase*>(o);
        m->setSizes(48, 64);
        m->ref();
        m->ref();
        return set(out, {"", {"Reference Count: int = 2", "Size Requested: unsigned int = 48 [advanced]",
                     "Size Allocated: unsigned int = 64 [advanced]"}});
    }
    if (level == "emBase")
        return set(out, {"", {std::string("Name: emString = \"") + dynamic_cast<emBase*>(o)->getName() + "\"",
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
        return set(out, {"",
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
        c->animate = c->disableLODs = true;
        c->enable = c->render = false;
        c->time = 1.5;
        c->enableTime = 2.5;
        c->intensity = 0.75f;
        c->nearPixelDistance = 3.5f;
        for (int i = 0; i < 2; ++i) {
            c->indices[i] = static_cast<unsigned short>(5 + i);
            c->sizes[i] = 0.5f + i;
            c->colors[i] = emVec4<float>(0.1f + i, 0.2f, 0.3f, 0.4f);
            c->vertices[i] = emVec3<float>(1.0f + i, 2.0f, 3.0f);
        }
        c->viewMatrix = distinctMatrix(100);
        c->modelMatrix = distinctMatrix(200);
        c->channel = &r.channel;
        c->fog = &r.fog;
        c->asynchronousChannelBin = &r.bin;
        const std::string d = "Light Point Data/";
        return set(out, {"",
                {"Light Point Data:  = ", d + "Animate: bool = true", d + "Enable: bool = false",
                 d + "Render: bool = false", d + "Disable LODs: bool = true", d + "Number of Light Points: int = 2",
                 d + "Time: double = 1.5", d + "Enable Time: double = 2.5", d + "Intensity: float = 0.75",
                 d + "Near Pixel Distance: float = 3.5", d + "Indices: unsigned short * = " + hexOf(c->indices),
                 d + "Indices/0: unsigned short = 5", d + "Indices/1: unsigned short = 6",
                 d + "Sizes: float * = " + hexOf(c->sizes), d + "Sizes/0: float = 0.5", d + "Sizes/1: float = 1.5",
                 d + "Colors: emVec4<float> * = " + hexOf(c->colors),
                 d + "Colors/0: emVec4<float> = r=0.1, g=0.2, b=0.3, a=0.4",
                 d + "Colors/1: emVec4<float> = r=1.1, g=0.2, b=0.3, a=0.4",
                 d + "Vertices: emVec3<float> * = " + hexOf(c->vertices),
                 d + "Vertices/0: emVec3<float> = x=1, y=2, z=3", d + "Vertices/1: emVec3<float> = x=2, y=2, z=3",
                 d + "View Matrix: emMatrix<double> = " + matrixValues(c->viewMatrix.m),
                 d + "Model Matrix: emMatrix<double> = " + matrixValues(c->modelMatrix.m),
                 d + "Channel: olChannel * = " + hexOf(&r.channel), d + "Fog: olFog * = " + hexOf(&r.fog),
                 "Asynchronous Channel Bin: kiChannelBin * = " + hexOf(&r.bin)}});
    }
    if (level == "kiLightPoint::Control") {
        kiLightPoint::Control* c = dynamic_cast<kiLightPoint::Control*>(o);
        c->setEnable(false);
        c->setAnimationState(kiLightPoint::Control::ANIMATION_STATE_RANDOM);
        c->setIntensity(0.5f);
        c->setEnableTime(3.25);
        return set(out, {"",
                {"Enable: bool = false",
                 "Animation State: kiLightPoint::Control::AnimationState = ANIMATION_STATE_RANDOM",
                 "Intensity: float = 0.5", "Enable Time: double = 3.25"}});
    }
    if (level == "kiLODFilter") {
        kiLODFilter* f = dynamic_cast<kiLODFilter*>(o);
        f->setVisibilityRangeScale(1.1);
        f->setVisibilityStressScale(1.2);
        f->setTransitionRangeScale(1.3);
        f->setTransitionStressScale(1.4);
        return set(out, {"", {"Visibility Range Scale: double = 1.1", "Visibility Stress Scale: double = 1.2",
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
        n->setBranchUpdateEnable(false);
        n->setNumUpdateRequests(3);
        n->setNumGraphChangedRequests(4);
        n->setStaticBoundsEnable(true);
        n->setBounds(emSphere<double>(1, 2, 3, 4));
        n->setTotalNumUpdateRequests(5);
        n->setTotalNumGraphChangedRequests(6);
        return set(out, {"",
                {"Parents:  = ", "Cull Mask: unsigned int = 0x11 [tip: " + bits(0x11) + "]",
                 "Render Mask: unsigned int = 0x22 [tip: " + bits(0x22) + "]",
                 "Isect Mask: unsigned int = 0x80000044 [tip: " + bits(0x80000044u) + "]",
                 "Branch Update Enable: bool = false", "Number Of Update Requests: short = 3",
                 "Number Of Graph Changed Requests: short = 4", "Static Bounds Enable: bool = true",
                 "Bounds: emSphere<double> = ", "Bounds/Center: emVec3<double> = x=1, y=2, z=3",
                 "Bounds/Radius: double = 4", "Children:  = ",
                 "Total Number Of Update Requests: short = 5 [advanced]",
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
        return set(out, {"",
                {"Mode: kiAnimation::Mode = MODE_SWING", "Direction: kiAnimation::Direction = DIRECTION_BACKWARD",
                 "Command: kiAnimation::Command = COMMAND_PAUSE", "Overall Duration: double = 2.5",
                 "Number of Loops: int = 3", "Last Child Duration: double = 1.25",
                 "Current Child: int = 2 [advanced]"}});
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
        emMatrix<double> origin = emMatrix<double>::identity();
        origin.m[3][0] = 7;
        origin.m[3][1] = 8;
        origin.m[3][2] = 9;
        d->setLocalOrigin(origin);
        Rows rows{"Translate: emVec3<double> = x=4, y=5, z=6", "Rotate: emVec3<double> = h=40, p=50, r=60",
                  "Scale: emVec3<double> = x=1.5, y=2.5, z=3.5", "Constraints:  = "};
        const char* names[] = {"Translate X", "Translate Y", "Translate Z", "Rotate H", "Rotate P",
                               "Rotate R",    "Scale X",     "Scale Y",     "Scale Z"};
        for (int c = 0; c < kiDOF::COMPONENT_COUNT; ++c) {
            d->setConstraint(static_cast<kiDOF::Component>(c), c % 2 == 0, c, c + 0.5);
            const std::string g = std::string("Constraints/") + names[c];
            rows.insert(rows.end(), {g + ":  = ", g + "/Enable: bool = " + (c % 2 == 0 ? "true" : "false"),
                                     g + "/Minimum: double = " + num(c), g + "/Maximum: double = " + num(c + 0.5)});
        }
        rows.push_back("Local Origin: emMatrix<double> = " + matrixValues(origin.m));
        rows.push_back("Affine Matrix: emMatrix<double> = " + matrixValues(d->getMatrixAffine().m));
        return set(out, {"", rows});
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
        return set(out, {" [error 5: first check] [error 2: second check]",
                {p + ":  = ", p + "/Channel Bin Id: int = 7", p + "/Auxiliary Channel Bin Id: int = 8",
                 p + "/Geometry: olGeometry * = " + hexOf(&r.geometry), p + "/State: olState * = " + hexOf(&r.state),
                 p + "/Cull Record Factory: kiCullRecordFactory * = " + hexOf(&r.factory)}});
    }
    if (level == "kiLight") {
        kiLight* l = dynamic_cast<kiLight*>(o);
        l->setEnable(false);
        l->setChannelBinId(0, 9);
        l->setLight(0, &r.light);
        l->setCullRecordFactory(0, &r.factory);
        const std::string p = "Representation 0";
        return set(out, {"",
                {"Enable: bool = false", p + ":  = ", p + "/Channel Bin Id: int = 9",
                 p + "/Light: olLight * = " + hexOf(&r.light),
                 p + "/Cull Record Factory: kiCullRecordFactory * = " + hexOf(&r.factory)}});
    }
    if (level == "kiLOD") {
        kiLOD* l = dynamic_cast<kiLOD*>(o);
        l->setCenter(1.5, 2.5, 3.5);
        l->addRange(10, 11);
        l->addRange(20, 21);
        l->setLODFilter(&r.filter);
        return set(out, {"",
                {"Center: emVec3<double> = x=1.5, y=2.5, z=3.5", "Ranges:  = ", "Ranges/0:  = ",
                 "Ranges/0/Visibility: double = 10", "Ranges/0/Transition: double = 11", "Ranges/1:  = ",
                 "Ranges/1/Visibility: double = 20", "Ranges/1/Transition: double = 21",
                 "LOD Filter: kiLODFilter * = " + hexOf(&r.filter)}});
    }
    if (level == "kiSwitch") {
        kiSwitch* s = dynamic_cast<kiSwitch*>(o);
        s->setActiveMask(3);
        s->addMask("first", {0, 2});
        s->addMask("second", {1});
        return set(out, {"",
                {"Active Mask: int = 3", "Mask 0:  = ", "Mask 0/Name: emString = \"first\"", "Mask 0/Child: int = 0",
                 "Mask 0/Child: int = 2", "Mask 1:  = ", "Mask 1/Name: emString = \"second\"",
                 "Mask 1/Child: int = 1"}});
    }
    if (level == "kiTransform") {
        kiTransform* t = dynamic_cast<kiTransform*>(o);
        t->setTranslate(1, 2, 3);
        t->setRotate(10, 20, 30);
        t->setScale(2, 3, 4);
        t->setStaticEnable(true);
        return set(out, {"",
                {"Translate: emVec3<double> = x=1, y=2, z=3", "Rotate: emVec3<double> = h=10, p=20, r=30",
                 "Scale: emVec3<double> = x=2, y=3, z=4", "Static Enable: bool = true",
                 "Affine Matrix: emMatrix<double> = " + matrixValues(t->getMatrixAffine().m)}});
    }
    if (level == "kiLightPoint") {
        dynamic_cast<kiLightPoint*>(o)->setControl(&r.control);
        return set(out, {"", {"Control: kiLightPoint::Control * = " + hexOf(&r.control)}});
    }
    if (level == "kiBillboard") {
        kiBillboard* b = dynamic_cast<kiBillboard*>(o);
        b->setType(kiBillboard::TYPE_AXIAL);
        b->setOrientation(kiBillboard::ORIENTATION_POINT_TO_EYE);
        b->setAxis(0, 1, 0);
        return set(out, {"",
                {"Type: kiBillboard::Type = TYPE_AXIAL",
                 "Orientation: kiBillboard::Orientation = ORIENTATION_POINT_TO_EYE",
                 "Axis: emVec3<double> = x=0, y=1, z=0"}});
    }
    static const char* const empty[] = {"kiChannelBin", "kiCullRecordFactory", "kiLODFilterBase",
                                        "kiRenderStrategyFrameGeometry", "olRenderStrategy", "emPalette",
                                        "emUserDataList", "kiGeometry", "kiString"};
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

Rows fillLevels(const Levels& levels, emClassObject* object, const std::vector<LevelFiller*>& fillers,
                std::string& marks)
{
    Level own;
    bool known = false;
    for (LevelFiller* filler : fillers)
        if ((known = filler->fill(levels.type, object, own)))
            break;
    EXPECT_TRUE(known) << "no filler knows " << levels.type;
    marks = own.marks;
    Rows out;
    for (const Levels& base : levels.bases) {
        std::string baseMarks;
        const Rows rows = fillLevels(base, object, fillers, baseMarks);
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

void expectRoundTrip(const Levels& levels, emClassObject* object, const std::vector<LevelFiller*>& fillers)
{
    SCOPED_TRACE(levels.type);
    std::string marks;
    const Rows expected = fillLevels(levels, object, fillers, marks);
    akDebugTypeDef* typeDef = akDebugTypeDef::find(levels.type.c_str());
    ASSERT_NE(typeDef, nullptr);
    RoundTrip trip;
    trip.write(object, typeDef);
    trip.finish();
    const akDebugObject* read = trip.read();
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(trip.consumedAll()) << trip.bytesLeft() << " bytes left";
    EXPECT_EQ(typeOf(read) + " = " + valueOf(read) + schemasupport::marks(read),
              levels.type + " * = " + hexOf(object) + marks);
    EXPECT_TRUE(sameRows(objectRows(read, basePaths(levels)), expected));
}

}  // namespace levelsupport
