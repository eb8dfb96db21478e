// Registration of the render library's type definitions: state container and elements, state
// objects, drawables and context, in the order of the type table.
#include "akdebugtelrdraw.h"
#include "akdebugtelrobjects.h"
#include "akdebugtelrstate.h"

#include <cstdio>
#include <cstring>

namespace akdebugschema {

namespace {

const unsigned int ELEMENT = 0;

char* s_characterNames[256] = {};

void buildCharacterNames()
{
    for (int c = 0; c < 256; ++c) {
        char text[16];
        std::snprintf(text, sizeof text, "%d '%c'", c, c);
        // For code 0 the %c writes the terminating zero, so the name ends after the apostrophe.
        size_t size = std::strlen(text) + 1;
        s_characterNames[c] =
            static_cast<char*>(emAllocRaw::mallocBlock(size, "akdebug/src/lib/libakdebug/akdebugtelr", __LINE__));
        std::memcpy(s_characterNames[c], text, size);
    }
}

void freeCharacterNames()
{
    for (char*& name : s_characterNames) {
        emAllocRaw::freeBlock(name, "akdebug/src/lib/libakdebug/akdebugtelr", __LINE__);
        name = nullptr;
    }
}

}  // namespace

const char* characterName(int code) { return code >= 0 && code < 256 ? s_characterNames[code] : nullptr; }

namespace {

void addRenderTypes(Registration& r)
{
    akDebugTypeDef* memBase = Schema<EmMemBase>::def;
    akDebugTypeDef* base = Schema<EmBase>::def;
    auto element = akDebugElement::create;

    r.add<OlDrawFuncData>("olDrawFunc_Data", nullptr, ALL);
    akDebugTypeDef* olElement = r.add<OlElement>("olElement", nullptr, 0);
    r.add<OlWindowPixelBuffer>("olWindow_PixelBuffer", nullptr, 0);
    akDebugTypeDef* strategy = r.add<OlRenderStrategy>("olRenderStrategy", memBase, 0);
    r.add<OlChannel>("olChannel", base, ALL);
    r.add<OlDrawContext>("olDrawContext", base, INDEXES);
    r.add<OlFog>("olFog", base, ALL);
    akDebugTypeDef* font = r.add<OlFont>("olFont", base, ALL);
    akDebugTypeDef* geometryBase = r.add<OlGeometryBase>("olGeometryBase", base, 0);
    r.add<OlLight>("olLight", base, ALL);
    r.add<OlLightModel>("olLightModel", base, ALL);
    r.add<OlLightPointAnimation>("olLightPointAnimation", base, ALL);
    r.add<OlLightPointAppearance>("olLightPointAppearance", base, ALL);
    r.add<OlMaterial>("olMaterial", base, ALL);
    r.add<OlShader>("olShader", base, ALL);
    r.add<OlState>("olState", base, ALL);
    r.add<OlTexture>("olTexture", base, ALL);
    r.add<OlTextureBlend>("olTextureBlend", base, ALL);
    r.add<OlTextureCoordGen>("olTextureCoordGen", base, ALL);
    r.add<OlAlphaBlendElement>("olAlphaBlend_Element", olElement, ELEMENT, element);
    r.add<OlAlphaTestElement>("olAlphaTest_Element", olElement, ELEMENT, element);
    r.add<OlColorTrackElement>("olColorTrack_Element", olElement, ELEMENT, element);
    r.add<OlDecalElement>("olDecal_Element", olElement, ELEMENT, element);
    r.add<OlDepthTestElement>("olDepthTest_Element", olElement, ELEMENT, element);
    r.add<OlDepthWriteElement>("olDepthWrite_Element", olElement, ELEMENT, element);
    r.add<OlFogElement>("olFog_Element", olElement, ELEMENT, element);
    r.add<OlLightElement>("olLight_Element", olElement, ELEMENT, element);
    r.add<OlLightModelElement>("olLightModel_Element", olElement, ELEMENT, element);
    r.add<OlLineElement>("olLine_Element", olElement, ELEMENT, element);
    r.add<OlMaterialElement>("olMaterial_Element", olElement, ELEMENT, element);
    r.add<OlMultiSampleElement>("olMultiSample_Element", olElement, ELEMENT, element);
    r.add<OlNormalizeElement>("olNormalize_Element", olElement, ELEMENT, element);
    r.add<OlPointElement>("olPoint_Element", olElement, ELEMENT, element);
    r.add<OlPolygonElement>("olPolygon_Element", olElement, ELEMENT, element);
    r.add<OlShadeModelElement>("olShadeModel_Element", olElement, ELEMENT, element);
    r.add<OlShaderElementFragment>("olShader_ElementFragment", olElement, ELEMENT, element);
    r.add<OlShaderElementVertex>("olShader_ElementVertex", olElement, ELEMENT, element);
    r.add<OlStencilTestElement>("olStencilTest_Element", olElement, ELEMENT, element);
    r.add<OlTextureElement>("olTexture_Element", olElement, ELEMENT, element);
    r.add<OlTextureBlendElement>("olTextureBlend_Element", olElement, ELEMENT, element);
    r.add<OlTextureCoordGenElement>("olTextureCoordGen_Element", olElement, ELEMENT, element);
    r.add<OlTransformElementModelView>("olTransform_ElementModelView", olElement, ELEMENT, element);
    r.add<OlTransformElementProjection>("olTransform_ElementProjection", olElement, ELEMENT, element);
    r.add<OlTransformElementTexture>("olTransform_ElementTexture", olElement, ELEMENT, element);
    r.add<OlRenderStrategyBounds>("olRenderStrategyBounds", strategy, ADDRESS_AND_REPEATS);
    r.add<OlRenderStrategyHighlight>("olRenderStrategyHighlight", strategy, ADDRESS_AND_REPEATS);
    r.add<OlRenderStrategyNormals>("olRenderStrategyNormals", strategy, ADDRESS_AND_REPEATS);
    r.add<OlFont2D>("olFont2D", font, ALL);
    r.add<OlFont3D>("olFont3D", font, ALL);
    r.add<OlBox>("olBox", geometryBase, ALL);
    r.add<OlFrustum>("olFrustum", geometryBase, ALL);
    r.add<OlGeometry>("olGeometry", geometryBase, ALL);
    r.add<OlLightPoint>("olLightPoint", geometryBase, ALL);
    r.add<OlPlane>("olPlane", geometryBase, ALL);
    r.add<OlSphere>("olSphere", geometryBase, ALL);
    r.add<OlString>("olString", geometryBase, ALL);
    r.build(buildCharacterNames, freeCharacterNames);
}

}  // namespace

Registration renderTypes(addRenderTypes);

}  // namespace akdebugschema
