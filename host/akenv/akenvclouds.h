// Clouds: layers that cover the sky between two elevations, and volumes of cloud puffs placed like
// any positionable object, with an optional rain shaft and lightning. Elevations and ranges are in
// metres. Position references and coordinate converters are not owned.
#pragma once

#include "akenvfx.h"

#include <utility>
#include <vector>

class akEnvCloudLayer : public akEnvFx
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord;  // akenvcullrecord.h

    explicit akEnvCloudLayer(const char* name = nullptr) : akEnvFx(name) {}

    void getColor(float* r, float* g, float* b, float* a) const { get4(m_color, r, g, b, a); }
    void getElevation(float* bottom, float* top) const { get2(m_elevation, bottom, top); }
    // Depths below the bottom and above the top over which the layer fades in.
    void getTransitionRange(float* bottom, float* top) const { get2(m_transitionRange, bottom, top); }
    bool getScudEnable() const { return m_scudEnable; }
    void getTextureTiling(float* x, float* y) const { get2(m_textureTiling, x, y); }
    float getMinVisibilityScale() const { return m_minVisibilityScale; }
    float getHorizonColorScale() const { return m_horizonColorScale; }
    const char* getTextureFile() const { return m_textureFile.c_str(); }
    TextureBlendMode getTextureBlendMode() const { return m_textureBlendMode; }
    void getTextureBlendColor(float* r, float* g, float* b, float* a) const { get4(m_textureBlendColor, r, g, b, a); }

    void setColor(float r, float g, float b, float a) { set4(m_color, r, g, b, a); }
    void setElevation(float bottom, float top) { set2(m_elevation, bottom, top); }
    void setTransitionRange(float bottom, float top) { set2(m_transitionRange, bottom, top); }
    void setScudEnable(bool enable) { m_scudEnable = enable; }
    void setTextureTiling(float x, float y) { set2(m_textureTiling, x, y); }
    void setMinVisibilityScale(float scale) { m_minVisibilityScale = scale; }
    void setHorizonColorScale(float scale) { m_horizonColorScale = scale; }
    void setTextureFile(const char* file) { m_textureFile.assign(file); }
    void setTextureBlendMode(TextureBlendMode mode) { m_textureBlendMode = mode; }
    void setTextureBlendColor(float r, float g, float b, float a) { set4(m_textureBlendColor, r, g, b, a); }

private:
    float m_color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float m_elevation[2] = {2000.0f, 2500.0f};
    float m_transitionRange[2] = {100.0f, 100.0f};
    bool m_scudEnable = false;
    float m_textureTiling[2] = {1.0f, 1.0f};
    float m_minVisibilityScale = 0.0f;
    float m_horizonColorScale = 1.0f;
    emString m_textureFile;
    TextureBlendMode m_textureBlendMode = TEXTURE_BLEND_MODE_MODULATE;
    float m_textureBlendColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

// The rain shaft is drawn in the cloud's colour and texture blend colour.
class akEnvCloudVolume : public akEnvFx, public akPositionable
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord;  // akenvcullrecord.h

    explicit akEnvCloudVolume(const char* name = nullptr) : akEnvFx(name) {}

    int getNumPuffs() const { return m_numPuffs; }
    unsigned int getRandomSeed() const { return m_randomSeed; }
    float getProximityScale() const { return m_proximityScale; }
    float getPuffHeightRatio() const { return m_puffHeightRatio; }
    void getPuffSizeLimits(float* minimum, float* maximum) const { get2(m_puffSizeLimits, minimum, maximum); }
    const emBox<float>& getBox() const { return m_box; }
    // Levels of detail as visibility and transition ranges; a range outside 0 .. count - 1 reads 0.
    int getNumLODRanges() const { return static_cast<int>(m_lodRanges.size()); }
    void getLODRange(int i, double* visibility, double* transition) const;
    void getColor(float* r, float* g, float* b, float* a) const { get4(m_color, r, g, b, a); }
    const char* getTextureFile() const { return m_textureFile.c_str(); }
    TextureBlendMode getTextureBlendMode() const { return m_textureBlendMode; }
    void getTextureBlendColor(float* r, float* g, float* b, float* a) const { get4(m_textureBlendColor, r, g, b, a); }
    bool getRainShaftEnable() const { return m_rainShaftEnable; }
    float getRainShaftWidth() const { return m_rainShaftWidth; }
    void getRainShaftOffset(float* x, float* y, float* z) const { get3(m_rainShaftOffset, x, y, z); }
    const char* getRainShaftTextureFile() const { return m_rainShaftTextureFile.c_str(); }
    TextureBlendMode getRainShaftTextureBlendMode() const { return m_rainShaftTextureBlendMode; }
    float getTransitionRange() const { return m_transitionRange; }
    float getLightningSeverity() const { return m_lightningSeverity; }
    float getIntraCloudLightningSeverity() const { return m_intraCloudLightningSeverity; }
    float getMinVisibilityScale() const { return m_minVisibilityScale; }
    float getHorizonColorScale() const { return m_horizonColorScale; }
    double getMinBillboardingRange() const { return m_minBillboardingRange; }
    double getPointBillboardingRange() const { return m_pointBillboardingRange; }
    // The object whose position the volume follows, if any.
    const akPositionable* getPositionReference() const { return m_positionReference; }
    const akCoordConverter* getCoordConverter() const { return m_coordConverter; }

    void setNumPuffs(int puffs) { m_numPuffs = puffs; }
    void setRandomSeed(unsigned int seed) { m_randomSeed = seed; }
    void setProximityScale(float scale) { m_proximityScale = scale; }
    void setPuffHeightRatio(float ratio) { m_puffHeightRatio = ratio; }
    void setPuffSizeLimits(float minimum, float maximum) { set2(m_puffSizeLimits, minimum, maximum); }
    void setBox(const emBox<float>& box) { m_box = box; }
    void addLODRange(double visibility, double transition) { m_lodRanges.emplace_back(visibility, transition); }
    void clearLODRanges() { m_lodRanges.clear(); }
    void setColor(float r, float g, float b, float a) { set4(m_color, r, g, b, a); }
    void setTextureFile(const char* file) { m_textureFile.assign(file); }
    void setTextureBlendMode(TextureBlendMode mode) { m_textureBlendMode = mode; }
    void setTextureBlendColor(float r, float g, float b, float a) { set4(m_textureBlendColor, r, g, b, a); }
    void setRainShaftEnable(bool enable) { m_rainShaftEnable = enable; }
    void setRainShaftWidth(float width) { m_rainShaftWidth = width; }
    void setRainShaftOffset(float x, float y, float z) { set3(m_rainShaftOffset, x, y, z); }
    void setRainShaftTextureFile(const char* file) { m_rainShaftTextureFile.assign(file); }
    void setRainShaftTextureBlendMode(TextureBlendMode mode) { m_rainShaftTextureBlendMode = mode; }
    void setTransitionRange(float range) { m_transitionRange = range; }
    void setLightningSeverity(float severity) { m_lightningSeverity = severity; }
    void setIntraCloudLightningSeverity(float severity) { m_intraCloudLightningSeverity = severity; }
    void setMinVisibilityScale(float scale) { m_minVisibilityScale = scale; }
    void setHorizonColorScale(float scale) { m_horizonColorScale = scale; }
    void setMinBillboardingRange(double range) { m_minBillboardingRange = range; }
    void setPointBillboardingRange(double range) { m_pointBillboardingRange = range; }
    void setPositionReference(const akPositionable* reference) { m_positionReference = reference; }
    void setCoordConverter(const akCoordConverter* converter) { m_coordConverter = converter; }

private:
    int m_numPuffs = 32;
    unsigned int m_randomSeed = 0;
    float m_proximityScale = 1.0f;
    float m_puffHeightRatio = 0.5f;
    float m_puffSizeLimits[2] = {50.0f, 200.0f};
    emBox<float> m_box;
    std::vector<std::pair<double, double>> m_lodRanges;
    float m_color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    emString m_textureFile;
    TextureBlendMode m_textureBlendMode = TEXTURE_BLEND_MODE_MODULATE;
    float m_textureBlendColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    bool m_rainShaftEnable = false;
    float m_rainShaftWidth = 0.0f;
    float m_rainShaftOffset[3] = {0.0f, 0.0f, 0.0f};
    emString m_rainShaftTextureFile;
    TextureBlendMode m_rainShaftTextureBlendMode = TEXTURE_BLEND_MODE_MODULATE;
    float m_transitionRange = 0.0f;
    float m_lightningSeverity = 0.0f;
    float m_intraCloudLightningSeverity = 0.0f;
    float m_minVisibilityScale = 0.0f;
    float m_horizonColorScale = 1.0f;
    double m_minBillboardingRange = 0.0;
    double m_pointBillboardingRange = 0.0;
    const akPositionable* m_positionReference = nullptr;
    const akCoordConverter* m_coordConverter = nullptr;
};
