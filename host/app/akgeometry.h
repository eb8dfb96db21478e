// Geometry containers (what a loaded model holds), pageable geometry (a container loaded from a
// file with loader, builder and post-load options) and the pageable root class. Nodes, textures
// and attributes listed by a container are not owned by it.
#pragma once

#include <olgeometry.h>
#include <olstateobjects.h>
#include <tels.h>

#include <vector>

class akGeometry : public virtual emClassObject
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum TextureSubloadRender : int { TEXTURE_SUBLOAD_RENDER_DEFERRED = 0, TEXTURE_SUBLOAD_RENDER_IMMEDIATE = 1 };
    enum TextureSubloadMode : int {
        TEXTURE_SUBLOAD_MODE_ON = 0,
        TEXTURE_SUBLOAD_MODE_OFF = 1,
        TEXTURE_SUBLOAD_MODE_PER_GEOMETRY = 2
    };

    // Data that a loader attaches to a geometry container.
    class Attribute : public emBase
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        explicit Attribute(const char* name = nullptr) : emBase(name) {}
    };

    using const_iterator_attribute = std::vector<Attribute*>::const_iterator;
    using const_iterator_named = std::vector<kiNode*>::const_iterator;
    using const_iterator_geometry = std::vector<kiGeometryBase*>::const_iterator;
    using const_iterator_texture = std::vector<olTexture*>::const_iterator;

    akGeometry() = default;
    akGeometry(const akGeometry&) = delete;
    akGeometry& operator=(const akGeometry&) = delete;

    TextureSubloadRender getTextureSubloadRender() const { return m_subloadRender; }
    TextureSubloadMode getTextureSubloadMode() const { return m_subloadMode; }
    bool getTextureSubloadEnable() const { return m_subloadEnable; }

    const_iterator_attribute begin_attribute() const { return m_attributes.begin(); }
    const_iterator_attribute end_attribute() const { return m_attributes.end(); }
    unsigned int size_attribute() const { return static_cast<unsigned int>(m_attributes.size()); }
    // Nodes of the container that carry a name.
    const_iterator_named begin_named() const { return m_named.begin(); }
    const_iterator_named end_named() const { return m_named.end(); }
    unsigned int size_named() const { return static_cast<unsigned int>(m_named.size()); }
    const_iterator_geometry begin_geometry() const { return m_geometries.begin(); }
    const_iterator_geometry end_geometry() const { return m_geometries.end(); }
    unsigned int size_geometry() const { return static_cast<unsigned int>(m_geometries.size()); }
    const_iterator_texture begin_texture() const { return m_textures.begin(); }
    const_iterator_texture end_texture() const { return m_textures.end(); }
    unsigned int size_texture() const { return static_cast<unsigned int>(m_textures.size()); }

    void setTextureSubloadRender(TextureSubloadRender render) { m_subloadRender = render; }
    void setTextureSubloadMode(TextureSubloadMode mode) { m_subloadMode = mode; }
    void setTextureSubloadEnable(bool enable) { m_subloadEnable = enable; }
    void addAttribute(Attribute* attribute) { m_attributes.push_back(attribute); }
    void addNamed(kiNode* node) { m_named.push_back(node); }
    void addGeometry(kiGeometryBase* geometry) { m_geometries.push_back(geometry); }
    void addTexture(olTexture* texture) { m_textures.push_back(texture); }

private:
    TextureSubloadRender m_subloadRender = TEXTURE_SUBLOAD_RENDER_DEFERRED;
    TextureSubloadMode m_subloadMode = TEXTURE_SUBLOAD_MODE_PER_GEOMETRY;
    bool m_subloadEnable = false;
    std::vector<Attribute*> m_attributes;
    std::vector<kiNode*> m_named;
    std::vector<kiGeometryBase*> m_geometries;
    std::vector<olTexture*> m_textures;
};

// Root of the objects that the host pages in and out.
class akPageable : public virtual emClassObject
{
    EM_CLASS_TYPE_DECLARE();

public:
    akPageable() = default;
    akPageable(const akPageable&) = delete;
    akPageable& operator=(const akPageable&) = delete;
};

class akGeometryPageable : public akGeometry, public akPageable
{
    EM_CLASS_TYPE_DECLARE();

public:
    using LoaderOption = kiNodeLoader::Data::LoaderOption;
    using BuilderOption = kiNodeLoader::Data::BuilderOption;
    using GeometryOption = kiNodeLoader::Data::GeometryOption;
    enum PostLoadOption : int {
        POST_LOAD_OPTION_FLATTEN = 0,
        POST_LOAD_OPTION_CLEAN = 1,
        POST_LOAD_OPTION_MERGE_GEOMETRIES = 2,
        POST_LOAD_OPTION_COLLAPSE_BINDINGS = 3,
        POST_LOAD_OPTION_COLLAPSE_TRIANGLE_STRIPS = 4,
        POST_LOAD_OPTION_VALIDATE = 5,
        POST_LOAD_OPTION_COUNT = 6
    };

    akGeometryPageable() = default;

    const char* getFileName() const { return m_fileName.c_str(); }
    // An option outside its enumeration reads false.
    bool getLoaderOption(LoaderOption option) const;
    kiNodeLoader::Data::LoaderUnits getLoaderUnits() const { return m_loaderUnits; }
    int getLoaderDetailMultiTextureStage() const { return m_detailStage; }
    unsigned int getLoaderIsectorMask() const { return m_isectorMask; }
    const kiLODFilterBase* getLoaderLODFilter() const { return m_lodFilter; }
    const emPalette* getLoaderPalette() const { return m_palette; }
    bool getBuilderOption(BuilderOption option) const;
    kiNodeLoader::Data::BuilderNormalMode getBuilderNormalMode() const { return m_normalMode; }
    float getBuilderColorTolerance() const { return m_colorTolerance; }
    float getBuilderNormalTolerance() const { return m_normalTolerance; }
    float getBuilderVertexTolerance() const { return m_vertexTolerance; }
    bool getGeometryOption(GeometryOption option) const;
    // The format of the built geometry; the persistent attribute bits go to `persistent`.
    olGeometryBase::Format getGeometryFormat(unsigned int* persistent) const;
    bool getPostLoadOption(PostLoadOption option) const;

    void setFileName(const char* name) { m_fileName.assign(name); }
    void setLoaderOption(LoaderOption option, bool on)
    {
        setBit(m_loaderOptions, option, LoaderOption::LOADER_OPTION_COUNT, on);
    }
    void setLoaderUnits(kiNodeLoader::Data::LoaderUnits units) { m_loaderUnits = units; }
    void setLoaderDetailMultiTextureStage(int stage) { m_detailStage = stage; }
    void setLoaderIsectorMask(unsigned int mask) { m_isectorMask = mask; }
    void setLoaderLODFilter(const kiLODFilterBase* filter) { m_lodFilter = filter; }
    void setLoaderPalette(const emPalette* palette) { m_palette = palette; }
    void setBuilderOption(BuilderOption option, bool on)
    {
        setBit(m_builderOptions, option, BuilderOption::BUILDER_OPTION_COUNT, on);
    }
    void setBuilderNormalMode(kiNodeLoader::Data::BuilderNormalMode mode) { m_normalMode = mode; }
    void setBuilderTolerances(float color, float normal, float vertex);
    void setGeometryOption(GeometryOption option, bool on)
    {
        setBit(m_geometryOptions, option, GeometryOption::GEOMETRY_OPTION_COUNT, on);
    }
    void setGeometryFormat(olGeometryBase::Format format, unsigned int persistent);
    void setPostLoadOption(PostLoadOption option, bool on)
    {
        setBit(m_postLoadOptions, option, POST_LOAD_OPTION_COUNT, on);
    }

private:
    static void setBit(unsigned int& bits, int option, int count, bool on);
    static bool bit(unsigned int bits, int option, int count)
    {
        return option >= 0 && option < count && ((bits >> option) & 1);
    }

    emString m_fileName;
    unsigned int m_loaderOptions = 0;
    kiNodeLoader::Data::LoaderUnits m_loaderUnits = kiNodeLoader::Data::LOADER_UNITS_METERS;
    int m_detailStage = 0;
    unsigned int m_isectorMask = 0xFFFFFFFFu;
    const kiLODFilterBase* m_lodFilter = nullptr;
    const emPalette* m_palette = nullptr;
    unsigned int m_builderOptions = 0;
    kiNodeLoader::Data::BuilderNormalMode m_normalMode = kiNodeLoader::Data::BUILDER_NORMAL_MODE_PRESERVE;
    float m_colorTolerance = 0.0f;
    float m_normalTolerance = 0.0f;
    float m_vertexTolerance = 0.0f;
    unsigned int m_geometryOptions = 0;
    olGeometryBase::Format m_format = olGeometryBase::FORMAT_VERTEX_ARRAY;
    unsigned int m_persistent = 0;
    unsigned int m_postLoadOptions = 0;
};
