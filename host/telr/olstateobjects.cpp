// Render state objects and the element kinds that point at them.
#include "olstateobjects.h"

namespace {

void get4(const float* source, float* r, float* g, float* b, float* a)
{
    *r = source[0];
    *g = source[1];
    *b = source[2];
    *a = source[3];
}

void set4(float* target, float r, float g, float b, float a)
{
    target[0] = r;
    target[1] = g;
    target[2] = b;
    target[3] = a;
}

bool inRange(int i, int count) { return i >= 0 && i < count; }

}  // namespace

// ---- olTexture

EM_CLASS_TYPE_DEFINE(olTexture, "olTexture", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olTexture::Element, "olTexture::Element", olElement::getStaticClassType())

olTexture::Element::Element()
{
    for (int i = 0; i < OL_NUM_STAGES; ++i) {
        enable[i] = false;
        texture[i] = nullptr;
    }
}

bool olTexture::Element::isTransparent() const
{
    for (int i = 0; i < OL_NUM_STAGES; ++i)
        if (enable[i] && texture[i] && texture[i]->isTransparent())
            return true;
    return false;
}

void olTexture::Element::validate(int level, olMessageList& messages) const
{
    for (int i = 0; i < OL_NUM_STAGES; ++i)
        if (enable[i] && !texture[i])
            olAppendMessage(messages, level, emNotify::LEVEL_WARN,
                            "olTexture::Element - stage %d is enabled without a texture", i);
}

olTexture::olTexture(const char* name) : emBase(name) {}

void olTexture::getDimensions(int* s, int* t, int* r, int* q) const
{
    *s = m_dimensions[0];
    *t = m_dimensions[1];
    *r = m_dimensions[2];
    *q = m_dimensions[3];
}

void olTexture::getWrap(Wrap* s, Wrap* t, Wrap* r, Wrap* q) const
{
    *s = m_wrap[0];
    *t = m_wrap[1];
    *r = m_wrap[2];
    *q = m_wrap[3];
}

void olTexture::getMinFilter(Filter* base, Filter* mipmap) const
{
    *base = m_minFilter[0];
    *mipmap = m_minFilter[1];
}

void olTexture::getBorderColor(float* r, float* g, float* b, float* a) const { get4(m_borderColor, r, g, b, a); }

void olTexture::setFormat(Format format)
{
    m_format = format;
    int components = 4;
    bool alpha = false;
    switch (format) {
    case FORMAT_COLOR_INDEX:
    case FORMAT_RED:
    case FORMAT_GREEN:
    case FORMAT_BLUE:
    case FORMAT_LUMINANCE:
    case FORMAT_COMPRESSED_NATIVE_LUMINANCE:
    case FORMAT_COMPRESSED_NATIVE_INTENSITY: components = 1; break;
    case FORMAT_ALPHA:
    case FORMAT_COMPRESSED_NATIVE_ALPHA:
        components = 1;
        alpha = true;
        break;
    case FORMAT_LUMINANCE_ALPHA:
    case FORMAT_ALPHA_LUMINANCE:
    case FORMAT_COMPRESSED_NATIVE_LUMINANCE_ALPHA:
        components = 2;
        alpha = true;
        break;
    case FORMAT_VU:
    case FORMAT_UYVY:
    case FORMAT_YUY2: components = 2; break;
    case FORMAT_RGB:
    case FORMAT_BGR:
    case FORMAT_LVU:
    case FORMAT_COMPRESSED_S3_DXT1_RGB:
    case FORMAT_COMPRESSED_NATIVE_RGB: components = 3; break;
    case FORMAT_QWVU: components = 4; break;
    default:  // the formats with an alpha channel among four components
        components = 4;
        alpha = true;
        break;
    }
    m_numComponents = components;
    m_pixelType = 0;
    for (int i = 0; i < components; ++i)
        m_pixelType |= 8u << (8 * i);
    m_texelSize = static_cast<unsigned int>(components);
    m_transparent = alpha;
    m_compressed = format >= FORMAT_COMPRESSED_S3_DXT1_RGB;
}

void olTexture::setDimensions(int s, int t, int r, int q)
{
    m_dimensions[0] = s;
    m_dimensions[1] = t;
    m_dimensions[2] = r;
    m_dimensions[3] = q;
}

void olTexture::setWrap(Wrap s, Wrap t, Wrap r, Wrap q)
{
    m_wrap[0] = s;
    m_wrap[1] = t;
    m_wrap[2] = r;
    m_wrap[3] = q;
}

void olTexture::setMinFilter(Filter base, Filter mipmap)
{
    m_minFilter[0] = base;
    m_minFilter[1] = mipmap;
}

int olTexture::addImage(const void* pixels, size_t size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(pixels);
    m_images.emplace_back();
    if (bytes && size > 0)
        m_images.back().assign(bytes, bytes + size);
    // Earlier levels keep their addresses: each level has a vector of its own.
    m_imageAddresses.push_back(m_images.back().empty() ? nullptr : m_images.back().data());
    return static_cast<int>(m_imageAddresses.size()) - 1;
}

void olTexture::clearImages()
{
    m_images.clear();
    m_imageAddresses.clear();
}

void olTexture::setBorderColor(float r, float g, float b, float a) { set4(m_borderColor, r, g, b, a); }

// ---- olTextureBlend

EM_CLASS_TYPE_DEFINE(olTextureBlend, "olTextureBlend", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olTextureBlend::Element, "olTextureBlend::Element", olElement::getStaticClassType())

olTextureBlend::Element::Element()
{
    for (const olTextureBlend*& blend : textureBlend)
        blend = nullptr;
}

olTextureBlend::olTextureBlend(const char* name) : emBase(name) {}

olTextureBlend::Argument olTextureBlend::getColorArgument(int i, olMultiTexture::Stage* stage) const
{
    if (!inRange(i, 3)) {
        *stage = olMultiTexture::STAGE_0;
        return ARGUMENT_TEXTURE;
    }
    *stage = m_colorStages[i];
    return m_colorArguments[i];
}

olTextureBlend::Argument olTextureBlend::getAlphaArgument(int i, olMultiTexture::Stage* stage) const
{
    if (!inRange(i, 3)) {
        *stage = olMultiTexture::STAGE_0;
        return ARGUMENT_TEXTURE;
    }
    *stage = m_alphaStages[i];
    return m_alphaArguments[i];
}

void olTextureBlend::getColor(float* r, float* g, float* b, float* a) const { get4(m_color, r, g, b, a); }

void olTextureBlend::setColorArgument(int i, Argument argument, olMultiTexture::Stage stage)
{
    if (inRange(i, 3)) {
        m_colorArguments[i] = argument;
        m_colorStages[i] = stage;
    }
}

void olTextureBlend::setAlphaArgument(int i, Argument argument, olMultiTexture::Stage stage)
{
    if (inRange(i, 3)) {
        m_alphaArguments[i] = argument;
        m_alphaStages[i] = stage;
    }
}

void olTextureBlend::setColor(float r, float g, float b, float a) { set4(m_color, r, g, b, a); }

// ---- olTextureCoordGen

EM_CLASS_TYPE_DEFINE(olTextureCoordGen, "olTextureCoordGen", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olTextureCoordGen::Element, "olTextureCoordGen::Element", olElement::getStaticClassType())

olTextureCoordGen::Element::Element()
{
    for (int i = 0; i < OL_NUM_STAGES; ++i) {
        enableS[i] = enableT[i] = enableR[i] = enableQ[i] = false;
        generator[i] = nullptr;
    }
}

void olTextureCoordGen::Element::validate(int level, olMessageList& messages) const
{
    for (int i = 0; i < OL_NUM_STAGES; ++i)
        if ((enableS[i] || enableT[i] || enableR[i] || enableQ[i]) && !generator[i])
            olAppendMessage(messages, level, emNotify::LEVEL_WARN,
                            "olTextureCoordGen::Element - stage %d generates coordinates "
                            "without a generator",
                            i);
}

olTextureCoordGen::olTextureCoordGen(const char* name) : emBase(name) {}

olTextureCoordGen::Mode olTextureCoordGen::getMode(int d) const
{
    return inRange(d, 4) ? m_modes[d] : MODE_OBJECT_LINEAR;
}

emPlane<float> olTextureCoordGen::getPlane(int d) const { return inRange(d, 4) ? m_planes[d] : emPlane<float>(); }

void olTextureCoordGen::setMode(int d, Mode mode)
{
    if (inRange(d, 4))
        m_modes[d] = mode;
}

void olTextureCoordGen::setPlane(int d, const emPlane<float>& plane)
{
    if (inRange(d, 4))
        m_planes[d] = plane;
}

// ---- olMaterial

EM_CLASS_TYPE_DEFINE(olMaterial, "olMaterial", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olMaterial::Element, "olMaterial::Element", olElement::getStaticClassType())

bool olMaterial::Element::isTransparent() const { return material && material->isTransparent(); }

void olMaterial::Element::validate(int level, olMessageList& messages) const
{
    if (!material)
        olAppendMessage(messages, level, emNotify::LEVEL_WARN, "olMaterial::Element - no material");
}

olMaterial::olMaterial(const char* name) : emBase(name) {}

void olMaterial::getColor(int color, float* r, float* g, float* b, float* a) const
{
    static const float zero[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    get4(inRange(color, 4) ? m_colors[color] : zero, r, g, b, a);
}

bool olMaterial::isTransparent() const { return m_colors[COLOR_DIFFUSE][3] < 1.0f; }

void olMaterial::setColor(int color, float r, float g, float b, float a)
{
    if (inRange(color, 4))
        set4(m_colors[color], r, g, b, a);
}

// ---- olLight

EM_CLASS_TYPE_DEFINE(olLight, "olLight", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olLight::Element, "olLight::Element", olElement::getStaticClassType())

olLight::olLight(const char* name) : emBase(name) {}

void olLight::getPosition(float* x, float* y, float* z) const
{
    *x = m_position[0];
    *y = m_position[1];
    *z = m_position[2];
}

void olLight::getDirection(float* x, float* y, float* z) const
{
    *x = m_direction[0];
    *y = m_direction[1];
    *z = m_direction[2];
}

void olLight::getAttenuation(float* constant, float* linear, float* quadratic) const
{
    *constant = m_attenuation[0];
    *linear = m_attenuation[1];
    *quadratic = m_attenuation[2];
}

void olLight::getSpotCone(float* inner, float* outer, float* falloff) const
{
    *inner = m_spotCone[0];
    *outer = m_spotCone[1];
    *falloff = m_spotCone[2];
}

void olLight::getColor(int color, float* r, float* g, float* b, float* a) const
{
    static const float zero[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    get4(inRange(color, 3) ? m_colors[color] : zero, r, g, b, a);
}

void olLight::setPosition(float x, float y, float z)
{
    m_position[0] = x;
    m_position[1] = y;
    m_position[2] = z;
}

void olLight::setDirection(float x, float y, float z)
{
    m_direction[0] = x;
    m_direction[1] = y;
    m_direction[2] = z;
}

void olLight::setAttenuation(float constant, float linear, float quadratic)
{
    m_attenuation[0] = constant;
    m_attenuation[1] = linear;
    m_attenuation[2] = quadratic;
}

void olLight::setSpotCone(float inner, float outer, float falloff)
{
    m_spotCone[0] = inner;
    m_spotCone[1] = outer;
    m_spotCone[2] = falloff;
}

void olLight::setColor(int color, float r, float g, float b, float a)
{
    if (inRange(color, 3))
        set4(m_colors[color], r, g, b, a);
}

// ---- olLightModel

EM_CLASS_TYPE_DEFINE(olLightModel, "olLightModel", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olLightModel::Element, "olLightModel::Element", olElement::getStaticClassType())

void olLightModel::Element::validate(int level, olMessageList& messages) const
{
    if (!lightModel)
        olAppendMessage(messages, level, emNotify::LEVEL_WARN, "olLightModel::Element - no light model");
}

olLightModel::olLightModel(const char* name) : emBase(name) {}

void olLightModel::getAmbientColor(float* r, float* g, float* b, float* a) const { get4(m_ambientColor, r, g, b, a); }

void olLightModel::setAmbientColor(float r, float g, float b, float a) { set4(m_ambientColor, r, g, b, a); }

// ---- olFog

EM_CLASS_TYPE_DEFINE(olFog, "olFog", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olFog::Element, "olFog::Element", olElement::getStaticClassType())

void olFog::Element::validate(int level, olMessageList& messages) const
{
    if (enable && !fog)
        olAppendMessage(messages, level, emNotify::LEVEL_WARN, "olFog::Element - fog is enabled without a fog object");
}

olFog::olFog(const char* name) : emBase(name) {}

void olFog::getRange(float* onset, float* opaque) const
{
    *onset = m_range[0];
    *opaque = m_range[1];
}

void olFog::getColor(float* r, float* g, float* b, float* a) const { get4(m_color, r, g, b, a); }

void olFog::setRange(float onset, float opaque)
{
    m_range[0] = onset;
    m_range[1] = opaque;
}

void olFog::setColor(float r, float g, float b, float a) { set4(m_color, r, g, b, a); }

// ---- olShader

EM_CLASS_TYPE_DEFINE(olShader, "olShader", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olShader::ElementFragment, "olShader::ElementFragment", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olShader::ElementVertex, "olShader::ElementVertex", olElement::getStaticClassType())

void olShader::ElementFragment::validate(int level, olMessageList& messages) const
{
    if (shader && !shader->isLoaded())
        olAppendMessage(messages, level, emNotify::LEVEL_WARN,
                        "olShader::ElementFragment - shader \"%s\" is not loaded", shader->getName());
}

void olShader::ElementVertex::validate(int level, olMessageList& messages) const
{
    if (shader && !shader->isLoaded())
        olAppendMessage(messages, level, emNotify::LEVEL_WARN, "olShader::ElementVertex - shader \"%s\" is not loaded",
                        shader->getName());
}

olShader::olShader(const char* name) : emBase(name) {}

// ---- olLightPointAppearance

EM_CLASS_TYPE_DEFINE(olLightPointAppearance, "olLightPointAppearance", emBase::getStaticClassType())

olLightPointAppearance::olLightPointAppearance(const char* name) : emBase(name) {}

void olLightPointAppearance::getFadeTime(double* in, double* out) const
{
    *in = m_fadeTime[0];
    *out = m_fadeTime[1];
}

void olLightPointAppearance::getVisibilityCone(float* horizontal, float* vertical) const
{
    *horizontal = m_visibilityCone[0];
    *vertical = m_visibilityCone[1];
}

void olLightPointAppearance::getSizeLimits(float* minimum, float* maximum) const
{
    *minimum = m_sizeLimits[0];
    *maximum = m_sizeLimits[1];
}

void olLightPointAppearance::getVisibilityFactors(float* horizontal, float* vertical) const
{
    *horizontal = m_visibilityFactors[0];
    *vertical = m_visibilityFactors[1];
}

void olLightPointAppearance::setFadeTime(double in, double out)
{
    m_fadeTime[0] = in;
    m_fadeTime[1] = out;
}

void olLightPointAppearance::setVisibilityCone(float horizontal, float vertical)
{
    m_visibilityCone[0] = horizontal;
    m_visibilityCone[1] = vertical;
}

void olLightPointAppearance::setSizeLimits(float minimum, float maximum)
{
    m_sizeLimits[0] = minimum;
    m_sizeLimits[1] = maximum;
}

void olLightPointAppearance::setVisibilityFactors(float horizontal, float vertical)
{
    m_visibilityFactors[0] = horizontal;
    m_visibilityFactors[1] = vertical;
}

// ---- olLightPointAnimation

EM_CLASS_TYPE_DEFINE(olLightPointAnimation, "olLightPointAnimation", emBase::getStaticClassType())

olLightPointAnimation::olLightPointAnimation(const char* name) : emBase(name) {}

void olLightPointAnimation::getRotationAxis(float* x, float* y, float* z) const
{
    *x = m_rotationAxis[0];
    *y = m_rotationAxis[1];
    *z = m_rotationAxis[2];
}

void olLightPointAnimation::getElementState(int i, State* state) const
{
    *state = inRange(i, getNumElements()) ? m_elements[i].state : STATE_OFF;
}

double olLightPointAnimation::getElementTime(int i) const
{
    return inRange(i, getNumElements()) ? m_elements[i].time : 0.0;
}

void olLightPointAnimation::getElementColor(int i, float* r, float* g, float* b, float* a) const
{
    static const float zero[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    get4(inRange(i, getNumElements()) ? m_elements[i].color : zero, r, g, b, a);
}

void olLightPointAnimation::setRotationAxis(float x, float y, float z)
{
    m_rotationAxis[0] = x;
    m_rotationAxis[1] = y;
    m_rotationAxis[2] = z;
}

int olLightPointAnimation::addElement(State state, double time, float r, float g, float b, float a)
{
    m_elements.push_back(SequenceElement{state, time, {r, g, b, a}});
    return getNumElements() - 1;
}
