// Fonts for text geometry.
#pragma once

#include <olgeometry.h>

class olFont : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olFont(const char* name = nullptr) : emBase(name) {}

    bool getItalic() const { return m_italic; }
    bool getUnderline() const { return m_underline; }
    bool getBold() const { return m_bold; }
    void setItalic(bool italic) { m_italic = italic; }
    void setUnderline(bool underline) { m_underline = underline; }
    void setBold(bool bold) { m_bold = bold; }

private:
    bool m_italic = false;
    bool m_underline = false;
    bool m_bold = false;
};

// A font drawn as textured screen quads.
class olFont2D : public olFont
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olFont2D(const char* name = nullptr) : olFont(name) {}
};

// A font with one geometry and one spacing per character code 0 to 255. The geometries are owned
// by whoever created them.
class olFont3D : public olFont
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum { NUM_CHARACTERS = 256 };

    explicit olFont3D(const char* name = nullptr);

    float getItalicShear() const { return m_italicShear; }
    float getBoldLineWidth() const { return m_boldLineWidth; }
    float getUnderlineOffset() const { return m_underlineOffset; }
    // Character `c` from 0 to 255; out of range gives null and a zero spacing.
    const olGeometry* getGeometry(int c) const;
    emVec3<float> getSpacing(int c) const;

    void setItalicShear(float shear) { m_italicShear = shear; }
    void setBoldLineWidth(float width) { m_boldLineWidth = width; }
    void setUnderlineOffset(float offset) { m_underlineOffset = offset; }
    void setGeometry(int c, const olGeometry* geometry);
    void setSpacing(int c, const emVec3<float>& spacing);

private:
    float m_italicShear = 0.2f;
    float m_boldLineWidth = 1.0f;
    float m_underlineOffset = -0.1f;
    const olGeometry* m_geometries[NUM_CHARACTERS];
    emVec3<float> m_spacings[NUM_CHARACTERS];
};
