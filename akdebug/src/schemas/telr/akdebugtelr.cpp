// Registration of the render library's type definitions: state container and elements, state
// objects, drawables and context, in the order of the type table.
#include "akdebugtelrdraw.h"
#include "akdebugtelrobjects.h"
#include "akdebugtelrstate.h"

#include <cstdio>
#include <cstring>

namespace akdebugschema {

namespace {
bool s_registered = false;
const unsigned int ELEMENT = 0;
}  // namespace

namespace {
char* s_characterNames[256] = {};
}

void buildCharacterNames()
{
    for (int c = 0; c < 256; ++c) {
        char text[16];
        int length = std::snprintf(text, sizeof text, "%d '%c'", c, c);
        // For code 0 the %c writes the terminating zero, so the name ends after the apostrophe.
        size_t size = std::strlen(text) + 1;
        (void)length;
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

const char* characterName(int code) { return code >= 0 && code < 256 ? s_characterNames[code] : nullptr; }

int registerRenderTypes()
{
    if (s_registered)
        return telu::SUCCESS;
    akDebugTypeDef* memBase = Schema<EmMemBase>::def;
    akDebugTypeDef* base = Schema<EmBase>::def;
    auto element = akDebugElement::create;

    Schema<OlDrawFuncData>::add("olDrawFunc_Data", nullptr, ALL);
    akDebugTypeDef* olElement = Schema<OlElement>::add("olElement", nullptr, 0);
    Schema<OlWindowPixelBuffer>::add("olWindow_PixelBuffer", nullptr, 0);
    akDebugTypeDef* strategy = Schema<OlRenderStrategy>::add("olRenderStrategy", memBase, 0);
    Schema<OlChannel>::add("olChannel", base, ALL);
    Schema<OlDrawContext>::add("olDrawContext", base, INDEXES);
    Schema<OlFog>::add("olFog", base, ALL);
    akDebugTypeDef* font = Schema<OlFont>::add("olFont", base, ALL);
    akDebugTypeDef* geometryBase = Schema<OlGeometryBase>::add("olGeometryBase", base, 0);
    Schema<OlLight>::add("olLight", base, ALL);
    Schema<OlLightModel>::add("olLightModel", base, ALL);
    Schema<OlLightPointAnimation>::add("olLightPointAnimation", base, ALL);
    Schema<OlLightPointAppearance>::add("olLightPointAppearance", base, ALL);
    Schema<OlMaterial>::add("olMaterial", base, ALL);
    Schema<OlShader>::add("olShader", base, ALL);
    Schema<OlState>::add("olState", base, ALL);
    Schema<OlTexture>::add("olTexture", base, ALL);
    Schema<OlTextureBlend>::add("olTextureBlend", base, ALL);
    Schema<OlTextureCoordGen>::add("olTextureCoordGen", base, ALL);
    Schema<OlAlphaBlendElement>::add("olAlphaBlend_Element", olElement, ELEMENT, element);
    Schema<OlAlphaTestElement>::add("olAlphaTest_Element", olElement, ELEMENT, element);
    Schema<OlColorTrackElement>::add("olColorTrack_Element", olElement, ELEMENT, element);
    Schema<OlDecalElement>::add("olDecal_Element", olElement, ELEMENT, element);
    Schema<OlDepthTestElement>::add("olDepthTest_Element", olElement, ELEMENT, element);
    Schema<OlDepthWriteElement>::add("olDepthWrite_Element", olElement, ELEMENT, element);
    Schema<OlFogElement>::add("olFog_Element", olElement, ELEMENT, element);
    Schema<OlLightElement>::add("olLight_Element", olElement, ELEMENT, element);
    Schema<OlLightModelElement>::add("olLightModel_Element", olElement, ELEMENT, element);
    Schema<OlLineElement>::add("olLine_Element", olElement, ELEMENT, element);
    Schema<OlMaterialElement>::add("olMaterial_Element", olElement, ELEMENT, element);
    Schema<OlMultiSampleElement>::add("olMultiSample_Element", olElement, ELEMENT, element);
    Schema<OlNormalizeElement>::add("olNormalize_Element", olElement, ELEMENT, element);
    Schema<OlPointElement>::add("olPoint_Element", olElement, ELEMENT, element);
    Schema<OlPolygonElement>::add("olPolygon_Element", olElement, ELEMENT, element);
    Schema<OlShadeModelElement>::add("olShadeModel_Element", olElement, ELEMENT, element);
    Schema<OlShaderElementFragment>::add("olShader_ElementFragment", olElement, ELEMENT, element);
    Schema<OlShaderElementVertex>::add("olShader_ElementVertex", olElement, ELEMENT, element);
    Schema<OlStencilTestElement>::add("olStencilTest_Element", olElement, ELEMENT, element);
    Schema<OlTextureElement>::add("olTexture_Element", olElement, ELEMENT, element);
    Schema<OlTextureBlendElement>::add("olTextureBlend_Element", olElement, ELEMENT, element);
    Schema<OlTextureCoordGenElement>::add("olTextureCoordGen_Element", olElement, ELEMENT, element);
    Schema<OlTransformElementModelView>::add("olTransform_ElementModelView", olElement, ELEMENT, element);
    Schema<OlTransformElementProjection>::add("olTransform_ElementProjection", olElement, ELEMENT, element);
    Schema<OlTransformElementTexture>::add("olTransform_ElementTexture", olElement, ELEMENT, element);
    Schema<OlRenderStrategyBounds>::add("olRenderStrategyBounds", strategy, ADDRESS_AND_REPEATS);
    Schema<OlRenderStrategyHighlight>::add("olRenderStrategyHighlight", strategy, ADDRESS_AND_REPEATS);
    Schema<OlRenderStrategyNormals>::add("olRenderStrategyNormals", strategy, ADDRESS_AND_REPEATS);
    Schema<OlFont2D>::add("olFont2D", font, ALL);
    Schema<OlFont3D>::add("olFont3D", font, ALL);
    Schema<OlBox>::add("olBox", geometryBase, ALL);
    Schema<OlFrustum>::add("olFrustum", geometryBase, ALL);
    Schema<OlGeometry>::add("olGeometry", geometryBase, ALL);
    Schema<OlLightPoint>::add("olLightPoint", geometryBase, ALL);
    Schema<OlPlane>::add("olPlane", geometryBase, ALL);
    Schema<OlSphere>::add("olSphere", geometryBase, ALL);
    Schema<OlString>::add("olString", geometryBase, ALL);
    buildCharacterNames();
    s_registered = true;
    return telu::SUCCESS;
}

int removeRenderTypes()
{
    if (!s_registered)
        return telu::SUCCESS;
    // Removed in reverse order of registration.
    Schema<OlString>::remove();
    Schema<OlSphere>::remove();
    Schema<OlPlane>::remove();
    Schema<OlLightPoint>::remove();
    Schema<OlGeometry>::remove();
    Schema<OlFrustum>::remove();
    Schema<OlBox>::remove();
    Schema<OlFont3D>::remove();
    Schema<OlFont2D>::remove();
    Schema<OlRenderStrategyNormals>::remove();
    Schema<OlRenderStrategyHighlight>::remove();
    Schema<OlRenderStrategyBounds>::remove();
    Schema<OlTransformElementTexture>::remove();
    Schema<OlTransformElementProjection>::remove();
    Schema<OlTransformElementModelView>::remove();
    Schema<OlTextureCoordGenElement>::remove();
    Schema<OlTextureBlendElement>::remove();
    Schema<OlTextureElement>::remove();
    Schema<OlStencilTestElement>::remove();
    Schema<OlShaderElementVertex>::remove();
    Schema<OlShaderElementFragment>::remove();
    Schema<OlShadeModelElement>::remove();
    Schema<OlPolygonElement>::remove();
    Schema<OlPointElement>::remove();
    Schema<OlNormalizeElement>::remove();
    Schema<OlMultiSampleElement>::remove();
    Schema<OlMaterialElement>::remove();
    Schema<OlLineElement>::remove();
    Schema<OlLightModelElement>::remove();
    Schema<OlLightElement>::remove();
    Schema<OlFogElement>::remove();
    Schema<OlDepthWriteElement>::remove();
    Schema<OlDepthTestElement>::remove();
    Schema<OlDecalElement>::remove();
    Schema<OlColorTrackElement>::remove();
    Schema<OlAlphaTestElement>::remove();
    Schema<OlAlphaBlendElement>::remove();
    Schema<OlTextureCoordGen>::remove();
    Schema<OlTextureBlend>::remove();
    Schema<OlTexture>::remove();
    Schema<OlState>::remove();
    Schema<OlShader>::remove();
    Schema<OlMaterial>::remove();
    Schema<OlLightPointAppearance>::remove();
    Schema<OlLightPointAnimation>::remove();
    Schema<OlLightModel>::remove();
    Schema<OlLight>::remove();
    Schema<OlGeometryBase>::remove();
    Schema<OlFont>::remove();
    Schema<OlFog>::remove();
    Schema<OlDrawContext>::remove();
    Schema<OlChannel>::remove();
    Schema<OlRenderStrategy>::remove();
    Schema<OlWindowPixelBuffer>::remove();
    Schema<OlElement>::remove();
    Schema<OlDrawFuncData>::remove();
    freeCharacterNames();
    s_registered = false;
    return telu::SUCCESS;
}

}  // namespace akdebugschema
