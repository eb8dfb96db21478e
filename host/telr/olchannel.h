// The render channel and the window with its pixel buffers.
#pragma once

#include <embase.h>

// A render channel: where a frame is drawn. The scene graph's channel builds on it.
class olChannel : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olChannel(const char* name = nullptr) : emBase(name) {}
};

class olWindow
{
public:
    // An off-screen pixel buffer that a texture can be rendered into.
    class PixelBuffer : public virtual emClassObject
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        PixelBuffer(int width = 0, int height = 0) : m_width(width), m_height(height) {}

        int getWidth() const { return m_width; }
        int getHeight() const { return m_height; }
        void setSize(int width, int height)
        {
            m_width = width;
            m_height = height;
        }

    private:
        int m_width;
        int m_height;
    };
};
