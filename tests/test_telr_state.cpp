// Render state schemas: every element kind, the element base and the state container written and
// read back; the state's element records, element mask tool tip and validation marks; element
// kinds of the host's that the module does not know.
#include "schemasupport.h"

#include <telr.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using schemasupport::typeOf;
using schemasupport::valueOf;

// A state element kind of the test's own, derived from the fog element and unknown to the module.
class TestFogElement : public olFog::Element
{
    EM_CLASS_TYPE_DECLARE();
};
EM_CLASS_TYPE_DEFINE(TestFogElement, "stateTest::TestFogElement", olFog::Element::getStaticClassType())

class StateTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        schemasupport::ModuleTest::SetUp();
        testsupport::clear();
    }
    void TearDown() override
    {
        olElement::resetIds();
        schemasupport::ModuleTest::TearDown();
    }
};

std::string hex(unsigned int address)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", address);
    return text;
}

// The rows of an object's own fields: the contents of referenced objects, of the emBase level
// and of the state's elements are left out (other tables cover them), and a matrix shows as its
// 16 values in row order.
std::vector<std::string> ownRows(const akDebugAttributeBase* object)
{
    std::vector<std::string> kept;
    std::vector<std::string> collapsed;
    for (const std::string& row : schemasupport::rows(object)) {
        const std::string path = row.substr(0, row.find(": "));
        bool below = false;
        for (const std::string& c : collapsed)
            below = below || path.compare(0, c.size() + 1, c + "/") == 0;
        if (below)
            continue;
        const std::string type = row.substr(path.size() + 2, row.find(" = ") - path.size() - 2);
        if (type.size() > 2 && type.compare(type.size() - 2, 2, " *") == 0)
            collapsed.push_back(path);
        else if (path == "emBase" || path.compare(0, 9, "Elements/") == 0)
            collapsed.push_back(path);
        if (type == "emMatrix<float>") {
            collapsed.push_back(path);
            std::string values;
            const akDebugAttributeBase* matrix = schemasupport::at(object, path);
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) {
                    std::string cell = "Row " + std::to_string(r) + "/Column " + std::to_string(c);
                    values += (values.empty() ? "" : " ") + valueOf(schemasupport::at(matrix, cell));
                }
            kept.push_back(path + ": " + type + " = " + values);
            continue;
        }
        kept.push_back(row);
    }
    return kept;
}

std::vector<std::string> errorsOf(const akDebugAttributeBase* object)
{
    std::vector<std::string> out;
    auto range = akDebugAttributeBase::range_error(object);
    for (auto e = range.first; e != range.second; ++e)
        out.push_back(std::to_string(e->second.first) + ": " + e->second.second);
    return out;
}

akDebugTypeDef* typeDefOf(const emClassObject* object)
{
    return akDebugTypeDef::find(object->getClassType()->getName());
}

// One host object of every type of the table, each field set to a value other than its default
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

    // "@name" in an expected row stands for the file address of the object of that name.
    std::map<std::string, const void*> objects() const
    {
        std::map<std::string, const void*> named = {
            {"fog", &fog},       {"lightModel", &lightModel}, {"material", &material},
            {"fragment", &fragment}, {"vertex", &vertex},      {"base", &base},
            {"state", &state}};
        for (int i = 0; i < OL_NUM_STAGES; ++i) {
            named["texture" + std::to_string(i)] = &textures[i];
            named["blend" + std::to_string(i)] = &blends[i];
            named["generator" + std::to_string(i)] = &generators[i];
        }
        return named;
    }
};

std::string matrixValues(float first, float step)
{
    std::string text;
    char value[32];
    for (int k = 0; k < 16; ++k) {
        std::snprintf(value, sizeof value, "%g", static_cast<double>(first + step * k));
        text += (k ? " " : "") + std::string(value);
    }
    return text;
}

std::vector<std::string> stateRows()
{
    std::vector<std::string> rows = {"emBase: emBase = ", "Elements:  = "};
    for (auto id = olElement::begin_state(); id != olElement::end_state(); ++id) {
        std::string kind = (*id)->getName();
        bool set = kind == "olAlphaBlend::Element" || kind == "olDecal::Element" || kind == "olStencilTest::Element";
        rows.push_back("Elements/" + kind + ": " + kind + " = " + (set ? "" : "Inherited"));
    }
    rows.push_back("Transparent: bool = true [advanced]");
    rows.push_back("Element Mask: unsigned int = 0x40009 [advanced] "
                   "[tip: olAlphaBlend::Element |\nolDecal::Element |\nolStencilTest::Element]");
    return rows;
}

struct Case
{
    const emClassObject* object;
    std::vector<std::string> rows;  // the first one is the object itself
};

std::vector<Case> cases(const World& w)
{
    std::vector<std::string> texture = {"<object>: olTexture::Element = ", "olElement: olElement = ",
                                        "olElement/Transparent: bool = true [advanced]"};
    std::vector<std::string> blend = {"<object>: olTextureBlend::Element = ", "olElement: olElement = ",
                                      "olElement/Transparent: bool = false [advanced]"};
    std::vector<std::string> coordGen = {"<object>: olTextureCoordGen::Element = ", "olElement: olElement = ",
                                         "olElement/Transparent: bool = false [advanced]"};
    std::vector<std::string> matrices = {"<object>: olTransform::ElementTexture = ", "olElement: olElement = ",
                                         "olElement/Transparent: bool = false [advanced]"};
    const char* flags[2] = {"false", "true"};
    for (int i = 0; i < OL_NUM_STAGES; ++i) {
        const std::string s = ", Stage " + std::to_string(i);
        const std::string n = std::to_string(i);
        texture.push_back("Enable" + s + ": bool = " + flags[i != 3]);
        texture.push_back("Texture" + s + ": olTexture * = " + (i == 5 ? "0x0" : "@texture" + n));
        blend.push_back("Texture Blend" + s + ": olTextureBlend * = " + (i == 2 ? "0x0" : "@blend" + n));
        coordGen.push_back("Enable S" + s + ": bool = " + flags[i % 2 == 0]);
        coordGen.push_back("Enable T" + s + ": bool = " + flags[i % 3 == 0]);
        coordGen.push_back("Enable R" + s + ": bool = " + flags[i == 4]);
        coordGen.push_back("Enable Q" + s + ": bool = " + flags[i == 7]);
        coordGen.push_back("Texture Coordinate Generator" + s + ": olTextureCoordGen * = " +
                           (i == 1 ? "0x0" : "@generator" + n));
        matrices.push_back("Matrix" + s + ": emMatrix<float> = " + matrixValues(100.0f * i, 1.0f));
    }
    std::vector<std::string> state = stateRows();
    state.insert(state.begin(), "<object>: olState * = @state");

    // Every element kind starts with its element base level.
    auto element = [](const char* kind, bool transparent, std::vector<std::string> own) {
        std::vector<std::string> rows = {std::string("<object>: ") + kind + " = ", "olElement: olElement = ",
                                         std::string("olElement/Transparent: bool = ") +
                                             (transparent ? "true" : "false") + " [advanced]"};
        rows.insert(rows.end(), own.begin(), own.end());
        return rows;
    };
    return {
        {&w.state, state},
        {&w.base, {"<object>: olElement * = @base", "Transparent: bool = false [advanced]"}},
        {&w.alphaBlend, element("olAlphaBlend::Element", true,
                                {"Enable: bool = true", "Source Mode: olAlphaBlend::Mode = MODE_ONE",
                                 "Destination Mode: olAlphaBlend::Mode = MODE_DESTINATION_COLOR",
                                 "Equation: olAlphaBlend::Equation = EQUATION_REVERSE_SUBTRACT"})},
        {&w.alphaTest, element("olAlphaTest::Element", false,
                               {"Enable: bool = true", "Reference: float = 0.25",
                                "Mode: olAlphaTest::Mode = MODE_GREATER"})},
        {&w.colorTrack, element("olColorTrack::Element", false,
                                {"Enable: bool = true", "Mode: olColorTrack::Mode = MODE_SPECULAR",
                                 "Side: olColorTrack::Side = SIDE_BACK"})},
        {&w.decal, element("olDecal::Element", false,
                           {"Enable: bool = true", "Factor: float = 1.5", "Units: float = -2"})},
        {&w.depthTest, element("olDepthTest::Element", false,
                               {"Enable: bool = false", "Mode: olDepthTest::Mode = MODE_NOT_EQUAL"})},
        {&w.depthWrite, element("olDepthWrite::Element", false, {"Enable: bool = false"})},
        {&w.fogElement, element("olFog::Element", false, {"Enable: bool = true", "Fog: olFog * = @fog"})},
        {&w.light, element("olLight::Element", false, {"Enable: bool = true"})},
        {&w.lightModelElement,
         element("olLightModel::Element", false, {"Light Model: olLightModel * = @lightModel"})},
        {&w.line, element("olLine::Element", false,
                          {"Enable Anti-Alias: bool = true", "Enable Pattern: bool = true",
                           "Pattern: unsigned short = 0xF1 [tip: 1000111100000000]", "Repeat: unsigned int = 3",
                           "Width: float = 2.5"})},
        {&w.materialElement, element("olMaterial::Element", true,
                                     {"Side: olMaterial::Side = SIDE_BACK", "Material: olMaterial * = @material"})},
        {&w.multiSample, element("olMultiSample::Element", false,
                                 {"Enable: bool = true", "Enable Alpha To Coverage: bool = true",
                                  "Enable Alpha To One: bool = true", "Enable Coverage: bool = true",
                                  "Invert: bool = true", "Coverage: float = 0.5"})},
        {&w.normalize, element("olNormalize::Element", false, {"Enable: bool = true"})},
        {&w.point, element("olPoint::Element", false, {"Enable Anti-Alias: bool = true", "Size: float = 4"})},
        {&w.polygon, element("olPolygon::Element", false,
                             {"Enable Anti-Alias: bool = true", "Enable Cull Face: bool = false",
                              "Cull Face: olPolygon::CullFace = CULL_FACE_FRONT_AND_BACK"})},
        {&w.shadeModel, element("olShadeModel::Element", false, {"Mode: olShadeModel::Mode = MODE_FLAT"})},
        {&w.fragmentElement,
         element("olShader::ElementFragment", false, {"Fragment Shader: olShader * = @fragment"})},
        {&w.vertexElement, element("olShader::ElementVertex", false, {"Vertex Shader: olShader * = @vertex"})},
        {&w.stencil, element("olStencilTest::Element", false,
                             {"Enable: bool = true", "Reference: int = -1",
                              "Mask: unsigned int = 0xFF05 [tip: 10100000111111110000000000000000]",
                              "Mode: olStencilTest::Mode = MODE_EQUAL",
                              "Fail: olStencilTest::Operation = OPERATION_ZERO",
                              "Depth Fail: olStencilTest::Operation = OPERATION_INCREMENT_WRAP",
                              "Depth Pass: olStencilTest::Operation = OPERATION_INVERT"})},
        {&w.texture, texture},
        {&w.textureBlend, blend},
        {&w.coordGen, coordGen},
        {&w.modelView, element("olTransform::ElementModelView", false,
                               {"Matrix: emMatrix<float> = " + matrixValues(1, 1)})},
        {&w.projection, element("olTransform::ElementProjection", false,
                                {"Matrix: emMatrix<float> = " + matrixValues(-1, -1)})},
        {&w.textureMatrix, matrices},
    };
}

// Replaces every "@name" by the file address of the named object.
std::string expand(std::string row, const std::map<std::string, const void*>& named, akDebug& stream)
{
    for (size_t at = row.find('@'); at != std::string::npos; at = row.find('@', at)) {
        size_t end = at + 1;
        while (end < row.size() && std::isalnum(static_cast<unsigned char>(row[end])))
            ++end;
        auto found = named.find(row.substr(at + 1, end - at - 1));
        if (found == named.end())
            return row;
        row.replace(at, end - at, hex(stream.getAddress(found->second)));
    }
    return row;
}

TEST_F(StateTest, EveryTypeRoundTripsItsFields)
{
    World w;
    std::vector<Case> all = cases(w);
    ASSERT_EQ(all.size(), 27u);
    for (const Case& c : all) {
        schemasupport::RoundTrip rt;
        akDebugTypeDef* def = typeDefOf(c.object);
        ASSERT_NE(def, nullptr) << c.rows[0];
        rt.write(c.object, def);
        rt.finish();
        akDebugObject* read = rt.read();
        ASSERT_NE(read, nullptr) << c.rows[0];

        std::vector<std::string> actual = {"<object>: " + typeOf(read) + " = " + valueOf(read)};
        for (const std::string& row : ownRows(read))
            actual.push_back(row);
        std::vector<std::string> expected;
        for (const std::string& row : c.rows)
            expected.push_back(expand(row, w.objects(), rt));
        EXPECT_EQ(actual, expected);
        EXPECT_TRUE(rt.consumedAll()) << c.rows[0] << ": " << rt.bytesLeft() << " bytes left";
    }
    for (const testsupport::Message& m : testsupport::messages())
        ADD_FAILURE() << "printed " << m.level << ": " << m.text;
}

TEST_F(StateTest, EmptyStateWritesOneNullRecordPerElementKind)
{
    olState state("Empty");
    schemasupport::RoundTrip rt;
    rt.write(&state);
    rt.finish();

    // Byte level: the count, then (type index, null tag) per kind in the host's order.
    std::vector<int> expected = {olElement::size_state()};
    for (auto id = olElement::begin_state(); id != olElement::end_state(); ++id) {
        expected.push_back(rt.getType(akDebugTypeDef::find((*id)->getName()))->getIndex());
        expected.push_back(akDebug::OBJECT_NULL);
    }
    std::vector<uint8_t> bytes = rt.bytes();
    std::vector<uint8_t> block(expected.size() * 4);
    std::memcpy(block.data(), expected.data(), block.size());
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), block.begin(), block.end()), bytes.end());

    akDebugObject* read = rt.read();
    ASSERT_NE(read, nullptr);
    const akDebugAttributeBase* elements = schemasupport::at(read, "Elements");
    ASSERT_NE(elements, nullptr);
    std::vector<std::string> rows = schemasupport::rows(elements);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows.front(), "olAlphaBlend::Element: olAlphaBlend::Element = Inherited");
    EXPECT_EQ(rows.back(), "olTransform::ElementTexture: olTransform::ElementTexture = Inherited");
    for (const std::string& row : rows)
        EXPECT_NE(row.find(" = Inherited"), std::string::npos) << row;
    EXPECT_EQ(valueOf(schemasupport::at(read, "Transparent")), "false");
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
        schemasupport::RoundTrip rt;
        rt.write(&state);
        rt.finish();
        akDebugObject* read = rt.read();
        ASSERT_NE(read, nullptr);
        const akDebugAttributeBase* mask = schemasupport::at(read, "Element Mask");
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
    schemasupport::RoundTrip rt;
    for (size_t i = 0; i < stencils.size(); ++i) {
        stencils[i].reference = references[i];
        rt.write(static_cast<const olElement*>(&stencils[i]));
    }
    rt.finish();
    for (int reference : references) {
        akDebugObject* read = rt.read();
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(valueOf(schemasupport::at(read, "Reference")), std::to_string(reference));
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
    schemasupport::RoundTrip rt;
    rt.write(&state);
    rt.write(&state);
    rt.finish();
    akDebugObject* full = rt.read();
    akDebugObject* repeat = rt.read();
    ASSERT_NE(full, nullptr);
    ASSERT_NE(repeat, nullptr);
    EXPECT_EQ(rt.getNumRecords(akDebug::OBJECT_REPEAT), 1u);
    const std::vector<std::string> expected = {
        std::to_string(emNotify::LEVEL_WARN) + ": olTexture::Element - stage 2 is enabled without a texture",
        std::to_string(emNotify::LEVEL_DEBUG) + ": stateTest - injected detail"};
    EXPECT_EQ(errorsOf(full), expected);
    EXPECT_EQ(errorsOf(repeat), expected);
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

    schemasupport::RoundTrip rt;
    rt.write(&state);
    rt.write(static_cast<const olElement*>(&after));
    rt.finish();
    akDebugObject* read = rt.read();
    ASSERT_NE(read, nullptr);
    const akDebugAttributeBase* elements = schemasupport::at(read, "Elements");
    ASSERT_NE(elements, nullptr);
    EXPECT_EQ(elements->end_child() - elements->begin_child(), 26);
    const akDebugAttributeBase* first = elements->begin_child()[0];
    EXPECT_EQ(std::string(first->getName()) + ": " + typeOf(first), "olElement: olElement *");
    const akDebugAttributeBase* last = elements->begin_child()[25];
    EXPECT_EQ(std::string(last->getName()) + ": " + typeOf(last), "olFog::Element: olFog::Element");
    EXPECT_EQ(valueOf(schemasupport::at(last, "Enable")), "true");
    EXPECT_EQ(typeOf(schemasupport::at(last, "Fog")), "olFog *");
    EXPECT_EQ(valueOf(schemasupport::at(read, "Transparent")), "false");
    EXPECT_NE(schemasupport::at(read, "Element Mask"), nullptr);

    akDebugObject* line = rt.read();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(valueOf(schemasupport::at(line, "Width")), "7");
    EXPECT_TRUE(rt.consumedAll());
    EXPECT_FALSE(testsupport::printed(emNotify::LEVEL_FAIL, "akDebug::writeObject - invalid type definition"));
}

}  // namespace
