// Render state objects (textures, texture blends, coordinate generators, materials, lights, light
// models, fog, shaders, light-point appearances and animations) and the element kinds that point
// at them. Objects referenced from elements are owned by whoever created them.
//
// Queries without an exported host name (plain descriptive names):
//   olShader::isLoaded()       whether the shader program is loaded
//   (and the element queries of olelement.h: isTransparent, validate)
//
// Multi-value getters fill out-parameters; colours are (r, g, b, a).
#pragma once

#include <olchannel.h>
#include <olelement.h>

#include <cstddef>
#include <vector>

class olTexture : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Filter : int {
        FILTER_NONE = 0,
        FILTER_NEAREST = 1,
        FILTER_LINEAR = 2,
        FILTER_ANISOTROPIC = 3,
        FILTER_FLAT_CUBIC = 4,
        FILTER_GAUSSIAN_CUBIC = 5
    };
    enum Format : int {
        FORMAT_COLOR_INDEX = 0,
        FORMAT_RED = 1,
        FORMAT_GREEN = 2,
        FORMAT_BLUE = 3,
        FORMAT_ALPHA = 4,
        FORMAT_RGB = 5,
        FORMAT_RGBA = 6,
        FORMAT_ARGB = 7,
        FORMAT_BGR = 8,
        FORMAT_BGRA = 9,
        FORMAT_LUMINANCE = 10,
        FORMAT_LUMINANCE_ALPHA = 11,
        FORMAT_ALPHA_LUMINANCE = 12,
        FORMAT_VU = 13,
        FORMAT_LVU = 14,
        FORMAT_QWVU = 15,
        FORMAT_UYVY = 16,
        FORMAT_YUY2 = 17,
        FORMAT_COMPRESSED_S3_DXT1_RGB = 18,
        FORMAT_COMPRESSED_S3_DXT1_RGBA = 19,
        FORMAT_COMPRESSED_S3_DXT3_RGBA = 20,
        FORMAT_COMPRESSED_S3_DXT5_RGBA = 21,
        FORMAT_COMPRESSED_NATIVE_RGB = 22,
        FORMAT_COMPRESSED_NATIVE_RGBA = 23,
        FORMAT_COMPRESSED_NATIVE_ALPHA = 24,
        FORMAT_COMPRESSED_NATIVE_LUMINANCE = 25,
        FORMAT_COMPRESSED_NATIVE_LUMINANCE_ALPHA = 26,
        FORMAT_COMPRESSED_NATIVE_INTENSITY = 27
    };
    enum Mapping : int { MAPPING_1D = 0, MAPPING_2D = 1, MAPPING_3D = 2 };
    enum Type : int {
        TYPE_UNKNOWN = 0,
        TYPE_BYTE = 1,
        TYPE_UNSIGNED_BYTE = 2,
        TYPE_SHORT = 3,
        TYPE_UNSIGNED_SHORT = 4,
        TYPE_INT = 5,
        TYPE_UNSIGNED_INT = 6,
        TYPE_FLOAT = 7,
        TYPE_FLOAT16 = 8,
        TYPE_BITMAP = 9
    };
    enum Wrap : int {
        WRAP_REPEAT = 0,
        WRAP_CLAMP = 1,
        WRAP_CLAMP_BORDER = 2,
        WRAP_CLAMP_EDGE = 3,
        WRAP_MIRROR = 4,
        WRAP_MIRROR_ONCE = 5
    };

    // Image levels are iterated as the addresses of their pixel data.
    using const_iterator_image = std::vector<const void*>::const_iterator;

    // Texture stages: enable and texture per stage.
    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        Element();
        // Transparent when an enabled stage has a transparent texture.
        bool isTransparent() const override;
        // An enabled stage without a texture is a problem.
        void validate(int level, olMessageList& messages) const override;

        bool enable[OL_NUM_STAGES];
        const olTexture* texture[OL_NUM_STAGES];
    };

    explicit olTexture(const char* name = nullptr);
    olTexture(const olTexture&) = delete;
    olTexture& operator=(const olTexture&) = delete;

    Mapping getMapping() const { return m_mapping; }
    Format getFormat() const { return m_format; }
    Type getType() const { return m_type; }
    int getNumComponents() const { return m_numComponents; }
    // Byte i holds the bit count of component i (component 0 in the lowest byte).
    unsigned int getPixelType() const { return m_pixelType; }
    unsigned int getTexelSize() const { return m_texelSize; }
    void getDimensions(int* s, int* t, int* r, int* q) const;
    void getWrap(Wrap* s, Wrap* t, Wrap* r, Wrap* q) const;
    void getMinFilter(Filter* base, Filter* mipmap) const;
    Filter getMagFilter() const { return m_magFilter; }
    const_iterator_image begin_image() const { return m_imageAddresses.begin(); }
    const_iterator_image end_image() const { return m_imageAddresses.end(); }
    int size_image() const { return static_cast<int>(m_imageAddresses.size()); }
    bool getBorderEnable() const { return m_borderEnable; }
    void getBorderColor(float* r, float* g, float* b, float* a) const;
    float getLODBias() const { return m_lodBias; }
    bool getSubloadableEnable() const { return m_subloadableEnable; }
    const olWindow::PixelBuffer* getPixelBuffer() const { return m_pixelBuffer; }
    bool isTransparent() const { return m_transparent; }
    bool isCompressed() const { return m_compressed; }

    void setMapping(Mapping mapping) { m_mapping = mapping; }
    // Also sets the number of components and the transparent and compressed flags that the
    // format implies (8 bits per component); the setters below override them.
    void setFormat(Format format);
    void setType(Type type) { m_type = type; }
    void setNumComponents(int numComponents) { m_numComponents = numComponents; }
    void setPixelType(unsigned int pixelType) { m_pixelType = pixelType; }
    void setTexelSize(unsigned int texelSize) { m_texelSize = texelSize; }
    void setDimensions(int s, int t, int r, int q);
    void setWrap(Wrap s, Wrap t, Wrap r, Wrap q);
    void setMinFilter(Filter base, Filter mipmap);
    void setMagFilter(Filter filter) { m_magFilter = filter; }
    // Appends an image level holding a copy of `size` bytes of `pixels` (no data when null or 0);
    // returns the level's index.
    int addImage(const void* pixels, size_t size);
    void clearImages();
    void setBorderEnable(bool enable) { m_borderEnable = enable; }
    void setBorderColor(float r, float g, float b, float a);
    void setLODBias(float bias) { m_lodBias = bias; }
    void setSubloadableEnable(bool enable) { m_subloadableEnable = enable; }
    void setPixelBuffer(const olWindow::PixelBuffer* pixelBuffer) { m_pixelBuffer = pixelBuffer; }
    void setTransparent(bool transparent) { m_transparent = transparent; }
    void setCompressed(bool compressed) { m_compressed = compressed; }

private:
    Mapping m_mapping = MAPPING_2D;
    Format m_format = FORMAT_RGBA;
    Type m_type = TYPE_UNSIGNED_BYTE;
    int m_numComponents = 4;
    unsigned int m_pixelType = 0x08080808u;
    unsigned int m_texelSize = 4;
    int m_dimensions[4] = {0, 0, 0, 0};
    Wrap m_wrap[4] = {WRAP_REPEAT, WRAP_REPEAT, WRAP_REPEAT, WRAP_REPEAT};
    Filter m_minFilter[2] = {FILTER_LINEAR, FILTER_NONE};
    Filter m_magFilter = FILTER_LINEAR;
    std::vector<std::vector<unsigned char>> m_images;
    std::vector<const void*> m_imageAddresses;
    bool m_borderEnable = false;
    float m_borderColor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float m_lodBias = 0.0f;
    bool m_subloadableEnable = false;
    const olWindow::PixelBuffer* m_pixelBuffer = nullptr;
    bool m_transparent = true;
    bool m_compressed = false;
};

class olTextureBlend : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Mode : int {
        MODE_MODULATE = 0,
        MODE_REPLACE = 1,
        MODE_DECAL = 2,
        MODE_BLEND = 3,
        MODE_ADD = 4,
        MODE_ADD_SIGNED = 5,
        MODE_INTERPOLATE = 6,
        MODE_SUBTRACT = 7,
        MODE_DOT3_RGB = 8,
        MODE_DOT3_RGBA = 9
    };
    enum Argument : int {
        ARGUMENT_TEXTURE = 0,
        ARGUMENT_CONSTANT = 1,
        ARGUMENT_PRIMARY_COLOR = 2,
        ARGUMENT_PREVIOUS = 3,
        ARGUMENT_TEXTURE_STAGE = 4,
        ARGUMENT_ONE_MINUS_TEXTURE = 5,
        ARGUMENT_ONE_MINUS_CONSTANT = 6,
        ARGUMENT_ONE_MINUS_PRIMARY_COLOR = 7,
        ARGUMENT_ONE_MINUS_PREVIOUS = 8
    };

    // Texture blend per stage.
    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        Element();

        const olTextureBlend* textureBlend[OL_NUM_STAGES];
    };

    explicit olTextureBlend(const char* name = nullptr);

    bool getCombineEnable() const { return m_combineEnable; }
    Mode getColorMode() const { return m_colorMode; }
    // Argument i (0 to 2) and, through `stage`, the texture stage it reads.
    Argument getColorArgument(int i, olMultiTexture::Stage* stage) const;
    float getColorScale() const { return m_colorScale; }
    Mode getAlphaMode() const { return m_alphaMode; }
    Argument getAlphaArgument(int i, olMultiTexture::Stage* stage) const;
    float getAlphaScale() const { return m_alphaScale; }
    void getColor(float* r, float* g, float* b, float* a) const;

    void setCombineEnable(bool enable) { m_combineEnable = enable; }
    void setColorMode(Mode mode) { m_colorMode = mode; }
    void setColorArgument(int i, Argument argument, olMultiTexture::Stage stage);
    void setColorScale(float scale) { m_colorScale = scale; }
    void setAlphaMode(Mode mode) { m_alphaMode = mode; }
    void setAlphaArgument(int i, Argument argument, olMultiTexture::Stage stage);
    void setAlphaScale(float scale) { m_alphaScale = scale; }
    void setColor(float r, float g, float b, float a);

private:
    bool m_combineEnable = false;
    Mode m_colorMode = MODE_MODULATE;
    Argument m_colorArguments[3] = {ARGUMENT_TEXTURE, ARGUMENT_PREVIOUS, ARGUMENT_CONSTANT};
    olMultiTexture::Stage m_colorStages[3] = {olMultiTexture::STAGE_0, olMultiTexture::STAGE_0,
                                              olMultiTexture::STAGE_0};
    float m_colorScale = 1.0f;
    Mode m_alphaMode = MODE_MODULATE;
    Argument m_alphaArguments[3] = {ARGUMENT_TEXTURE, ARGUMENT_PREVIOUS, ARGUMENT_CONSTANT};
    olMultiTexture::Stage m_alphaStages[3] = {olMultiTexture::STAGE_0, olMultiTexture::STAGE_0,
                                              olMultiTexture::STAGE_0};
    float m_alphaScale = 1.0f;
    float m_color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

class olTextureCoordGen : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Mode : int {
        MODE_OBJECT_LINEAR = 0,
        MODE_EYE_LINEAR = 1,
        MODE_SPHERE_MAP = 2,
        MODE_NORMAL_MAP = 3,
        MODE_REFLECTION_MAP = 4
    };

    // Per stage: enables of the S, T, R and Q coordinates and the generator.
    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        Element();
        // A stage with an enabled coordinate but no generator is a problem.
        void validate(int level, olMessageList& messages) const override;

        bool enableS[OL_NUM_STAGES];
        bool enableT[OL_NUM_STAGES];
        bool enableR[OL_NUM_STAGES];
        bool enableQ[OL_NUM_STAGES];
        const olTextureCoordGen* generator[OL_NUM_STAGES];
    };

    explicit olTextureCoordGen(const char* name = nullptr);

    // Coordinate dimension d: 0 S, 1 T, 2 R, 3 Q. Out of range: MODE_OBJECT_LINEAR, a zero plane.
    Mode getMode(int d) const;
    emPlane<float> getPlane(int d) const;

    void setMode(int d, Mode mode);
    void setPlane(int d, const emPlane<float>& plane);

private:
    Mode m_modes[4] = {MODE_OBJECT_LINEAR, MODE_OBJECT_LINEAR, MODE_OBJECT_LINEAR, MODE_OBJECT_LINEAR};
    emPlane<float> m_planes[4];
};

class olMaterial : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Side : int { SIDE_FRONT = 0, SIDE_BACK = 1, SIDE_FRONT_AND_BACK = 2 };
    // Colours of getColor / setColor.
    enum Color : int { COLOR_AMBIENT = 0, COLOR_DIFFUSE = 1, COLOR_SPECULAR = 2, COLOR_EMISSIVE = 3 };

    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool isTransparent() const override;
        void validate(int level, olMessageList& messages) const override;

        Side side = SIDE_FRONT_AND_BACK;
        const olMaterial* material = nullptr;
    };

    explicit olMaterial(const char* name = nullptr);

    // `color` is one of Color; out of range gives zeros.
    void getColor(int color, float* r, float* g, float* b, float* a) const;
    float getSpecularExponent() const { return m_specularExponent; }
    // Transparent when the diffuse alpha is below 1.
    bool isTransparent() const;

    void setColor(int color, float r, float g, float b, float a);
    void setSpecularExponent(float exponent) { m_specularExponent = exponent; }

private:
    float m_colors[4][4] = {
        {0.2f, 0.2f, 0.2f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}};
    float m_specularExponent = 0.0f;
};

class olLight : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum State : int { STATE_OFF = 0, STATE_ON = 1 };
    enum Type : int { TYPE_DIRECTIONAL = 0, TYPE_POSITIONAL = 1, TYPE_SPOT = 2 };
    // Colours of getColor / setColor.
    enum Color : int { COLOR_AMBIENT = 0, COLOR_DIFFUSE = 1, COLOR_SPECULAR = 2 };

    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool enable = false;
    };

    explicit olLight(const char* name = nullptr);

    Type getType() const { return m_type; }
    float getRange() const { return m_range; }
    void getPosition(float* x, float* y, float* z) const;
    void getDirection(float* x, float* y, float* z) const;
    void getAttenuation(float* constant, float* linear, float* quadratic) const;
    void getSpotCone(float* inner, float* outer, float* falloff) const;
    // `color` is one of Color; out of range gives zeros.
    void getColor(int color, float* r, float* g, float* b, float* a) const;
    State getState() const { return m_state; }

    void setType(Type type) { m_type = type; }
    void setRange(float range) { m_range = range; }
    void setPosition(float x, float y, float z);
    void setDirection(float x, float y, float z);
    void setAttenuation(float constant, float linear, float quadratic);
    void setSpotCone(float inner, float outer, float falloff);
    void setColor(int color, float r, float g, float b, float a);
    void setState(State state) { m_state = state; }

private:
    Type m_type = TYPE_DIRECTIONAL;
    float m_range = 0.0f;
    float m_position[3] = {0.0f, 0.0f, 0.0f};
    float m_direction[3] = {0.0f, 0.0f, -1.0f};
    float m_attenuation[3] = {1.0f, 0.0f, 0.0f};
    float m_spotCone[3] = {0.0f, 180.0f, 0.0f};
    float m_colors[3][4] = {{0.0f, 0.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}};
    State m_state = STATE_ON;
};

class olLightModel : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        void validate(int level, olMessageList& messages) const override;

        const olLightModel* lightModel = nullptr;
    };

    explicit olLightModel(const char* name = nullptr);

    bool getLocalViewerEnable() const { return m_localViewerEnable; }
    bool getTwoSidedLightingEnable() const { return m_twoSidedLightingEnable; }
    void getAmbientColor(float* r, float* g, float* b, float* a) const;

    void setLocalViewerEnable(bool enable) { m_localViewerEnable = enable; }
    void setTwoSidedLightingEnable(bool enable) { m_twoSidedLightingEnable = enable; }
    void setAmbientColor(float r, float g, float b, float a);

private:
    bool m_localViewerEnable = false;
    bool m_twoSidedLightingEnable = false;
    float m_ambientColor[4] = {0.2f, 0.2f, 0.2f, 1.0f};
};

class olFog : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Type : int { TYPE_LINEAR = 0, TYPE_EXPONENTIAL = 1, TYPE_EXPONENTIAL_SQUARED = 2 };

    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        // Enabled without a fog object is a problem.
        void validate(int level, olMessageList& messages) const override;

        bool enable = false;
        const olFog* fog = nullptr;
    };

    explicit olFog(const char* name = nullptr);

    Type getType() const { return m_type; }
    float getDensity() const { return m_density; }
    void getRange(float* onset, float* opaque) const;
    void getColor(float* r, float* g, float* b, float* a) const;

    void setType(Type type) { m_type = type; }
    void setDensity(float density) { m_density = density; }
    void setRange(float onset, float opaque);
    void setColor(float r, float g, float b, float a);

private:
    Type m_type = TYPE_LINEAR;
    float m_density = 1.0f;
    float m_range[2] = {0.0f, 1.0f};
    float m_color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

class olShader : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum ApplyMode : int { APPLY_MODE_ALWAYS = 0, APPLY_MODE_AS_NEEDED = 1 };

    // The fragment shader in use (none when null).
    class ElementFragment : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        // A shader that is not loaded is a problem.
        void validate(int level, olMessageList& messages) const override;

        const olShader* shader = nullptr;
    };

    // The vertex shader in use (none when null).
    class ElementVertex : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        void validate(int level, olMessageList& messages) const override;

        const olShader* shader = nullptr;
    };

    explicit olShader(const char* name = nullptr);

    ApplyMode getApplyMode() const { return m_applyMode; }
    virtual bool isLoaded() const { return m_loaded; }

    void setApplyMode(ApplyMode mode) { m_applyMode = mode; }
    void setLoaded(bool loaded) { m_loaded = loaded; }

private:
    ApplyMode m_applyMode = APPLY_MODE_ALWAYS;
    bool m_loaded = false;
};

class olLightPointAppearance : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Directionality : int { DIRECTIONALITY_OMNI = 0, DIRECTIONALITY_UNI = 1, DIRECTIONALITY_BI = 2 };
    enum Falloff : int { FALLOFF_NONE = 0, FALLOFF_LINEAR = 1, FALLOFF_EXPONENTIAL = 2 };
    enum Shape : int { SHAPE_WIDE = 0, SHAPE_SYMMETRIC = 1, SHAPE_NONSYMMETRIC = 2 };

    explicit olLightPointAppearance(const char* name = nullptr);

    Directionality getDirectionality() const { return m_directionality; }
    float getDiameter() const { return m_diameter; }
    float getRange() const { return m_range; }
    float getFadeRangeRatio() const { return m_fadeRangeRatio; }
    void getFadeTime(double* in, double* out) const;
    void getVisibilityCone(float* horizontal, float* vertical) const;
    Falloff getFalloff() const { return m_falloff; }
    float getFogScale() const { return m_fogScale; }
    float getLODRangeRatio() const { return m_lodRangeRatio; }
    float getLODScale() const { return m_lodScale; }
    void getSizeLimits(float* minimum, float* maximum) const;
    float getSizeThreshold() const { return m_sizeThreshold; }
    float getFadeRange() const { return m_fadeRange; }
    float getFadeScale() const { return m_fadeScale; }
    void getVisibilityFactors(float* horizontal, float* vertical) const;
    Shape getShape() const { return m_shape; }
    float getLODRange() const { return m_lodRange; }
    float getLODSize() const { return m_lodSize; }

    void setDirectionality(Directionality directionality) { m_directionality = directionality; }
    void setDiameter(float diameter) { m_diameter = diameter; }
    void setRange(float range) { m_range = range; }
    void setFadeRangeRatio(float ratio) { m_fadeRangeRatio = ratio; }
    void setFadeTime(double in, double out);
    void setVisibilityCone(float horizontal, float vertical);
    void setFalloff(Falloff falloff) { m_falloff = falloff; }
    void setFogScale(float scale) { m_fogScale = scale; }
    void setLODRangeRatio(float ratio) { m_lodRangeRatio = ratio; }
    void setLODScale(float scale) { m_lodScale = scale; }
    void setSizeLimits(float minimum, float maximum);
    void setSizeThreshold(float threshold) { m_sizeThreshold = threshold; }
    void setFadeRange(float range) { m_fadeRange = range; }
    void setFadeScale(float scale) { m_fadeScale = scale; }
    void setVisibilityFactors(float horizontal, float vertical);
    void setShape(Shape shape) { m_shape = shape; }
    void setLODRange(float range) { m_lodRange = range; }
    void setLODSize(float size) { m_lodSize = size; }

private:
    Directionality m_directionality = DIRECTIONALITY_OMNI;
    float m_diameter = 1.0f;
    float m_range = 1000.0f;
    float m_fadeRangeRatio = 0.0f;
    double m_fadeTime[2] = {0.0, 0.0};
    float m_visibilityCone[2] = {360.0f, 360.0f};
    Falloff m_falloff = FALLOFF_NONE;
    float m_fogScale = 1.0f;
    float m_lodRangeRatio = 0.0f;
    float m_lodScale = 1.0f;
    float m_sizeLimits[2] = {1.0f, 10.0f};
    float m_sizeThreshold = 1.0f;
    float m_fadeRange = 0.0f;
    float m_fadeScale = 1.0f;
    float m_visibilityFactors[2] = {1.0f, 1.0f};
    Shape m_shape = SHAPE_WIDE;
    float m_lodRange = 0.0f;
    float m_lodSize = 0.0f;
};

class olLightPointAnimation : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum State : int { STATE_OFF = 0, STATE_ON = 1, STATE_COLOR_OVERRIDE = 2 };
    enum Type : int { TYPE_SEQUENCE = 0, TYPE_ROTATION = 1, TYPE_STROBE = 2 };

    explicit olLightPointAnimation(const char* name = nullptr);

    Type getType() const { return m_type; }
    float getRate() const { return m_rate; }
    void getRotationAxis(float* x, float* y, float* z) const;
    int getNumElements() const { return static_cast<int>(m_elements.size()); }
    // Element i of the sequence; out of range gives STATE_OFF, 0 and zeros.
    void getElementState(int i, State* state) const;
    double getElementTime(int i) const;
    void getElementColor(int i, float* r, float* g, float* b, float* a) const;

    void setType(Type type) { m_type = type; }
    void setRate(float rate) { m_rate = rate; }
    void setRotationAxis(float x, float y, float z);
    // Appends an element; returns its index.
    int addElement(State state, double time, float r, float g, float b, float a);
    void clearElements() { m_elements.clear(); }

private:
    struct SequenceElement
    {
        State state;
        double time;
        float color[4];
    };

    Type m_type = TYPE_SEQUENCE;
    float m_rate = 1.0f;
    float m_rotationAxis[3] = {0.0f, 0.0f, 1.0f};
    std::vector<SequenceElement> m_elements;
};
