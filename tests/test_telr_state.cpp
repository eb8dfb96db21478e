// Render state schemas: every element kind, the element base and the state container written and
// read back; the state's element records, element mask tool tip and validation marks; element
// kinds of the host's that the module does not know.
#include "schemasupport.h"

#include <telr.h>

#include <climits>
#include <iterator>

namespace {

using namespace schemasupport;

// A state element kind of the test's own, derived from the fog element and unknown to the module.
class TestFogElement : public olFog::Element
{
    EM_CLASS_TYPE_DECLARE();
};
EM_CLASS_TYPE_DEFINE(TestFogElement, "stateTest::TestFogElement", olFog::Element::getStaticClassType())

class StateTest : public ModuleTest
{
protected:
    void TearDown() override
    {
        olElement::resetIds();
        ModuleTest::TearDown();
    }
};

// One host object of every render state type, each field set to a value other than its default
// (stages differ from each other), and the state objects they point at.
struct World
{
    olFog fog{"Fog"};
    olLightModel lightModel{"Light Model"};
    olMaterial material{"Material"};
    olShader fragment{"Fragment"}, vertex{"Vertex"};
    olTexture textures[OL_NUM_STAGES];
    olTextureBlend blends[OL_NUM_STAGES];
    olTextureCoordGen generators[OL_NUM_STAGES];

    olElement base;
    olAlphaBlend::Element alphaBlend;
    olAlphaTest::Element alphaTest;
    olColorTrack::Element colorTrack;
    olDecal::Element decal;
    olDepthTest::Element depthTest;
    olDepthWrite::Element depthWrite;
    olFog::Element fogElement;
    olLight::Element light;
    olLightModel::Element lightModelElement;
    olLine::Element line;
    olMaterial::Element materialElement;
    olMultiSample::Element multiSample;
    olNormalize::Element normalize;
    olPoint::Element point;
    olPolygon::Element polygon;
    olShadeModel::Element shadeModel;
    olShader::ElementFragment fragmentElement;
    olShader::ElementVertex vertexElement;
    olStencilTest::Element stencil;
    olTexture::Element texture;
    olTextureBlend::Element textureBlend;
    olTextureCoordGen::Element coordGen;
    olTransform::ElementModelView modelView;
    olTransform::ElementProjection projection;
    olTransform::ElementTexture textureMatrix;
    olState state{"State"};

    World()
    {
        alphaBlend.enable = true;
        alphaBlend.sourceMode = olAlphaBlend::MODE_ONE;
        alphaBlend.destinationMode = olAlphaBlend::MODE_DESTINATION_COLOR;
        alphaBlend.equation = olAlphaBlend::EQUATION_REVERSE_SUBTRACT;
        alphaTest.enable = true;
        alphaTest.reference = 0.25f;
        alphaTest.mode = olAlphaTest::MODE_GREATER;
        colorTrack.enable = true;
        colorTrack.mode = olColorTrack::MODE_SPECULAR;
        colorTrack.side = olColorTrack::SIDE_BACK;
        decal.enable = true;
        decal.factor = 1.5f;
        decal.units = -2.0f;
        depthTest.enable = false;
        depthTest.mode = olDepthTest::MODE_NOT_EQUAL;
        depthWrite.enable = false;
        fogElement.enable = true;
        fogElement.fog = &fog;
        light.enable = true;
        lightModelElement.lightModel = &lightModel;
        line.enableAntiAlias = true;
        line.enablePattern = true;
        line.pattern = 0x00F1;
        line.repeat = 3;
        line.width = 2.5f;
        material.setColor(olMaterial::COLOR_DIFFUSE, 1, 1, 1, 0.5f);
        materialElement.side = olMaterial::SIDE_BACK;
        materialElement.material = &material;
        multiSample.enable = multiSample.enableAlphaToCoverage = multiSample.enableAlphaToOne = true;
        multiSample.enableCoverage = multiSample.invert = true;
        multiSample.coverage = 0.5f;
        normalize.enable = true;
        point.enableAntiAlias = true;
        point.size = 4.0f;
        polygon.enableAntiAlias = true;
        polygon.enableCullFace = false;
        polygon.cullFace = olPolygon::CULL_FACE_FRONT_AND_BACK;
        shadeModel.mode = olShadeModel::MODE_FLAT;
        fragmentElement.shader = &fragment;
        vertexElement.shader = &vertex;
        stencil.enable = true;
        stencil.reference = -1;
        stencil.mask = 0x0000FF05u;
        stencil.mode = olStencilTest::MODE_EQUAL;
        stencil.fail = olStencilTest::OPERATION_ZERO;
        stencil.depthFail = olStencilTest::OPERATION_INCREMENT_WRAP;
        stencil.depthPass = olStencilTest::OPERATION_INVERT;
        textures[0].setTransparent(true);
        for (int i = 0; i < OL_NUM_STAGES; ++i) {
            texture.enable[i] = i != 3;
            texture.texture[i] = i == 5 ? nullptr : &textures[i];
            textureBlend.textureBlend[i] = i == 2 ? nullptr : &blends[i];
            coordGen.enableS[i] = i % 2 == 0;
            coordGen.enableT[i] = i % 3 == 0;
            coordGen.enableR[i] = i == 4;
            coordGen.enableQ[i] = i == 7;
            coordGen.generator[i] = i == 1 ? nullptr : &generators[i];
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    textureMatrix.matrix[i].m[r][c] = static_cast<float>(100 * i + 4 * r + c);
        }
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                modelView.matrix.m[r][c] = static_cast<float>(4 * r + c + 1);
                projection.matrix.m[r][c] = -static_cast<float>(4 * r + c + 1);
            }
        state.setElement(&alphaBlend);
        state.setElement(&decal);
        state.setElement(&stencil);
        state.addValidationMessage(emNotify::LEVEL_WARN, "stateTest - injected warning");
    }
};

struct Case
{
    const emClassObject* object;
    Rows rows;  // the first one is the object itself
};

// The rows of every type, with the file addresses `rt` gives the objects pointed at.
std::vector<Case> cases(const World& w, RoundTrip& rt)
{
    // Every element kind starts with its element base level.
    auto element = [](const char* kind, bool transparent, Rows own) {
        Rows rows = {std::string("<object>: ") + kind + " = ", "olElement: olElement = ",
                     std::string("olElement/Transparent: bool = ") + (transparent ? "true" : "false") + " [advanced]"};
        rows.insert(rows.end(), own.begin(), own.end());
        return rows;
    };
    Rows texture = element("olTexture::Element", true, {});
    Rows blend = element("olTextureBlend::Element", false, {});
    Rows coordGen = element("olTextureCoordGen::Element", false, {});
    Rows matrices = element("olTransform::ElementTexture", false, {});
    const char* flags[2] = {"false", "true"};
    for (int i = 0; i < OL_NUM_STAGES; ++i) {
        const std::string s = ", Stage " + std::to_string(i);
        texture.push_back("Enable" + s + ": bool = " + flags[i != 3]);
        texture.push_back("Texture" + s + ": olTexture * = " + (i == 5 ? "0x0" : rt.address(&w.textures[i])));
        blend.push_back("Texture Blend" + s + ": olTextureBlend * = " + (i == 2 ? "0x0" : rt.address(&w.blends[i])));
        coordGen.push_back("Enable S" + s + ": bool = " + flags[i % 2 == 0]);
        coordGen.push_back("Enable T" + s + ": bool = " + flags[i % 3 == 0]);
        coordGen.push_back("Enable R" + s + ": bool = " + flags[i == 4]);
        coordGen.push_back("Enable Q" + s + ": bool = " + flags[i == 7]);
        coordGen.push_back("Texture Coordinate Generator" + s +
                           ": olTextureCoordGen * = " + (i == 1 ? "0x0" : rt.address(&w.generators[i])));
        matrices.push_back("Matrix" + s + ": emMatrix<float> = " + matrixValues(w.textureMatrix.matrix[i].m));
    }
    Rows state = {"<object>: olState * = " + rt.address(&w.state), "emBase: emBase = ", "Elements:  = "};
    for (auto id = olElement::begin_state(); id != olElement::end_state(); ++id) {
        std::string kind = (*id)->getName();
        bool set = kind == "olAlphaBlend::Element" || kind == "olDecal::Element" || kind == "olStencilTest::Element";
        state.push_back("Elements/" + kind + ": " + kind + " = " + (set ? "" : "Inherited"));
    }
    state.push_back("Transparent: bool = true [advanced]");
    state.push_back("Element Mask: unsigned int = 0x40009 [advanced] "
                    "[tip: olAlphaBlend::Element |\nolDecal::Element |\nolStencilTest::Element]");

    return {
        {&w.state, state},
        {&w.base, {"<object>: olElement * = " + rt.address(&w.base), "Transparent: bool = false [advanced]"}},
        {&w.alphaBlend,
         element("olAlphaBlend::Element", true,
                 {"Enable: bool = true", "Source Mode: olAlphaBlend::Mode = MODE_ONE",
                  "Destination Mode: olAlphaBlend::Mode = MODE_DESTINATION_COLOR",
                  "Equation: olAlphaBlend::Equation = EQUATION_REVERSE_SUBTRACT"})},
        {&w.alphaTest,
         element("olAlphaTest::Element", false,
                 {"Enable: bool = true", "Reference: float = 0.25", "Mode: olAlphaTest::Mode = MODE_GREATER"})},
        {&w.colorTrack,
         element("olColorTrack::Element", false,
                 {"Enable: bool = true", "Mode: olColorTrack::Mode = MODE_SPECULAR",
                  "Side: olColorTrack::Side = SIDE_BACK"})},
        {&w.decal,
         element("olDecal::Element", false, {"Enable: bool = true", "Factor: float = 1.5", "Units: float = -2"})},
        {&w.depthTest,
         element("olDepthTest::Element", false, {"Enable: bool = false", "Mode: olDepthTest::Mode = MODE_NOT_EQUAL"})},
        {&w.depthWrite, element("olDepthWrite::Element", false, {"Enable: bool = false"})},
        {&w.fogElement,
         element("olFog::Element", false, {"Enable: bool = true", "Fog: olFog * = " + rt.address(&w.fog)})},
        {&w.light, element("olLight::Element", false, {"Enable: bool = true"})},
        {&w.lightModelElement,
         element("olLightModel::Element", false, {"Light Model: olLightModel * = " + rt.address(&w.lightModel)})},
        {&w.line,
         element("olLine::Element", false,
                 {"Enable Anti-Alias: bool = true", "Enable Pattern: bool = true",
                  "Pattern: unsigned short = 0xF1 [tip: 1000111100000000]", "Repeat: unsigned int = 3",
                  "Width: float = 2.5"})},
        {&w.materialElement,
         element("olMaterial::Element", true,
                 {"Side: olMaterial::Side = SIDE_BACK", "Material: olMaterial * = " + rt.address(&w.material)})},
        {&w.multiSample,
         element("olMultiSample::Element", false,
                 {"Enable: bool = true", "Enable Alpha To Coverage: bool = true", "Enable Alpha To One: bool = true",
                  "Enable Coverage: bool = true", "Invert: bool = true", "Coverage: float = 0.5"})},
        {&w.normalize, element("olNormalize::Element", false, {"Enable: bool = true"})},
        {&w.point, element("olPoint::Element", false, {"Enable Anti-Alias: bool = true", "Size: float = 4"})},
        {&w.polygon,
         element("olPolygon::Element", false,
                 {"Enable Anti-Alias: bool = true", "Enable Cull Face: bool = false",
                  "Cull Face: olPolygon::CullFace = CULL_FACE_FRONT_AND_BACK"})},
        {&w.shadeModel, element("olShadeModel::Element", false, {"Mode: olShadeModel::Mode = MODE_FLAT"})},
        {&w.fragmentElement,
         element("olShader::ElementFragment", false, {"Fragment Shader: olShader * = " + rt.address(&w.fragment)})},
        {&w.vertexElement,
         element("olShader::ElementVertex", false, {"Vertex Shader: olShader * = " + rt.address(&w.vertex)})},
        {&w.stencil,
         element("olStencilTest::Element", false,
                 {"Enable: bool = true", "Reference: int = -1",
                  "Mask: unsigned int = 0xFF05 [tip: 10100000111111110000000000000000]",
                  "Mode: olStencilTest::Mode = MODE_EQUAL", "Fail: olStencilTest::Operation = OPERATION_ZERO",
                  "Depth Fail: olStencilTest::Operation = OPERATION_INCREMENT_WRAP",
                  "Depth Pass: olStencilTest::Operation = OPERATION_INVERT"})},
        {&w.texture, texture},
        {&w.textureBlend, blend},
        {&w.coordGen, coordGen},
        {&w.modelView,
         element("olTransform::ElementModelView", false,
                 {"Matrix: emMatrix<float> = " + matrixValues(w.modelView.matrix.m)})},
        {&w.projection,
         element("olTransform::ElementProjection", false,
                 {"Matrix: emMatrix<float> = " + matrixValues(w.projection.matrix.m)})},
        {&w.textureMatrix, matrices},
    };
}

// Every type written into one file (objects met again are repeats, read back as copies): each record
// shows its own fields, its element base level expanded, and is read to its last byte.
TEST_F(StateTest, EveryTypeRoundTripsItsFields)
{
    World w;
    RoundTrip rt;
    rt.begin();
    const std::vector<Case> all = cases(w, rt);
    ASSERT_EQ(all.size(), 27u);
    std::vector<uint64_t> ends;
    for (const Case& c : all) {
        akDebugTypeDef* def = akDebugTypeDef::find(c.object->getClassType()->getName());
        ASSERT_NE(def, nullptr) << c.rows[0];
        rt.write(c.object, def);
        ends.push_back(rt.position());
    }
    rt.finish();
    for (size_t i = 0; i < all.size(); ++i) {
        akDebugObject* read = rt.read();
        ASSERT_NE(read, nullptr) << all[i].rows[0];
        Rows actual = {"<object>: " + typeOf(read) + " = " + valueOf(read)};
        for (const std::string& row : objectRows(read, {"olElement"}))
            actual.push_back(row);
        EXPECT_TRUE(sameRows(actual, all[i].rows)) << all[i].rows[0];
        EXPECT_EQ(rt.position(), ends[i]) << all[i].rows[0];
    }
    EXPECT_TRUE(rt.consumedAll());
    for (const testsupport::Message& m : testsupport::messages())
        ADD_FAILURE() << "printed " << m.level << ": " << m.text;
}

TEST_F(StateTest, EmptyStateWritesOneNullRecordPerElementKind)
{
    olState state("Empty");
    RoundTrip rt;
    rt.write(&state);
    rt.finish();

    // Byte level: the count, then (type index, null tag) per kind in the host's order.
    Bytes block;
    block.i(olElement::size_state());
    for (auto id = olElement::begin_state(); id != olElement::end_state(); ++id)
        block.i(typeIndex(rt, (*id)->getName())).i(akDebug::OBJECT_NULL);
    EXPECT_TRUE(contains(rt.bytes(), block.data));

    akDebugObject* read = rt.read();
    ASSERT_NE(read, nullptr);
    const akDebugAttributeBase* elements = at(read, "Elements");
    ASSERT_NE(elements, nullptr);
    std::vector<std::string> rows = schemasupport::rows(elements);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows.front(), "olAlphaBlend::Element: olAlphaBlend::Element = Inherited");
    EXPECT_EQ(rows.back(), "olTransform::ElementTexture: olTransform::ElementTexture = Inherited");
    for (const std::string& row : rows)
        EXPECT_NE(row.find(" = Inherited"), std::string::npos) << row;
    EXPECT_EQ(valueOf(at(read, "Transparent")), "false");
    EXPECT_TRUE(rt.consumedAll());
}

TEST_F(StateTest, ElementMaskToolTipNamesTheElementsOfItsSetBits)
{
    struct
    {
        unsigned int mask;
        const char* tip;
    } masks[] = {
        {0u, ""},
        {0x5u, "olAlphaBlend::Element |\nolColorTrack::Element"},
        {0x1u << 24, "olTransform::ElementTexture"},
        {0x80000002u, "olAlphaTest::Element"},  // bit 31 has no element
    };
    olState state("Mask");
    olDecal::Element decal;
    state.setElement(&decal);  // what is set does not matter, the mask's bits do
    for (const auto& m : masks) {
        state.setElementMaskOverride(m.mask);
        RoundTrip rt;
        rt.write(&state);
        rt.finish();
        akDebugObject* read = rt.read();
        ASSERT_NE(read, nullptr);
        const akDebugAttributeBase* mask = at(read, "Element Mask");
        ASSERT_NE(mask, nullptr);
        const char* tip = akDebugAttributeBase::getToolTip(mask);
        ASSERT_NE(tip, nullptr) << m.mask;
        EXPECT_STREQ(tip, m.tip);
        EXPECT_EQ(valueOf(mask), hex(m.mask));
    }
}

TEST_F(StateTest, StencilReferenceKeepsTheFullInt)
{
    const int references[] = {-1, 255, 256, INT_MIN, INT_MAX};
    std::vector<olStencilTest::Element> stencils(std::size(references));
    RoundTrip rt;
    for (size_t i = 0; i < stencils.size(); ++i) {
        stencils[i].reference = references[i];
        rt.write(static_cast<const olElement*>(&stencils[i]));
    }
    rt.finish();
    for (int reference : references) {
        akDebugObject* read = rt.read();
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(valueOf(at(read, "Reference")), std::to_string(reference));
    }
    EXPECT_TRUE(rt.consumedAll());
}

// Validation messages are error marks of the state object, and a repeat record's copy has them.
TEST_F(StateTest, ValidationMarksTravelWithCopies)
{
    olState state("Checked");
    olTexture::Element texture;
    texture.enable[2] = true;  // without a texture
    state.setElement(&texture);
    state.addValidationMessage(emNotify::LEVEL_DEBUG, "stateTest - injected detail");
    RoundTrip rt;
    rt.write(&state);
    rt.write(&state);
    rt.finish();
    akDebugObject* full = rt.read();
    akDebugObject* repeat = rt.read();
    ASSERT_NE(full, nullptr);
    ASSERT_NE(repeat, nullptr);
    EXPECT_EQ(rt.getNumRecords(akDebug::OBJECT_REPEAT), 1u);
    const std::vector<std::string> expected = {std::to_string(emNotify::LEVEL_WARN) +
                                                   ": olTexture::Element - stage 2 is enabled without a texture",
                                               std::to_string(emNotify::LEVEL_DEBUG) + ": stateTest - injected detail"};
    EXPECT_EQ(errors(full), expected);
    EXPECT_EQ(errors(repeat), expected);
    EXPECT_EQ(schemasupport::rows(repeat), schemasupport::rows(full));
    EXPECT_TRUE(rt.consumedAll());
}

// An element kind without a type definition of its own is written under its nearest registered
// base class, so the count written before the elements matches the records that follow; an
// element set under a kind its class does not belong to is written as a plain element.
TEST_F(StateTest, UnknownElementKindsKeepTheFileAligned)
{
    olFog fog("Mist");
    TestFogElement custom;
    custom.enable = true;
    custom.fog = &fog;
    olDecal::Element misplaced;
    misplaced.enable = true;
    olElement::addStateId(TestFogElement::getStaticClassType());
    ASSERT_EQ(olElement::size_state(), 26);

    olState state("Custom");
    state.setElement(&custom);
    state.setElement(olAlphaBlend::Element::getStaticClassType(), &misplaced);
    olLine::Element after;
    after.width = 7.0f;

    RoundTrip rt;
    rt.write(&state);
    rt.write(static_cast<const olElement*>(&after));
    rt.finish();
    akDebugObject* read = rt.read();
    ASSERT_NE(read, nullptr);
    const akDebugAttributeBase* elements = at(read, "Elements");
    ASSERT_NE(elements, nullptr);
    EXPECT_EQ(elements->end_child() - elements->begin_child(), 26);
    const akDebugAttributeBase* first = elements->begin_child()[0];
    EXPECT_EQ(std::string(first->getName()) + ": " + typeOf(first), "olElement: olElement *");
    const akDebugAttributeBase* last = elements->begin_child()[25];
    EXPECT_EQ(std::string(last->getName()) + ": " + typeOf(last), "olFog::Element: olFog::Element");
    EXPECT_EQ(valueOf(at(last, "Enable")), "true");
    EXPECT_EQ(typeOf(at(last, "Fog")), "olFog *");
    EXPECT_EQ(valueOf(at(read, "Transparent")), "false");
    EXPECT_NE(at(read, "Element Mask"), nullptr);

    akDebugObject* line = rt.read();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(valueOf(at(line, "Width")), "7");
    EXPECT_TRUE(rt.consumedAll());
    EXPECT_FALSE(testsupport::printed(emNotify::LEVEL_FAIL, "akDebug::writeObject - invalid type definition"));
}

}  // namespace
