// The scene graph's channel with its debug hook and a small frame driver, channel bins, and the
// host's frame number.
//
// Frame driver
// ------------
// A channel holds a draw context and a list of bins; a bin holds a list of items. Each item is a
// cull record (may be null) with one of: a geometry draw, a draw-function draw, or a state change
// alone; a draw item may be preceded by a state change. kiChannel::drawFrame() draws one frame the
// way the host's draw thread does:
//   advance the frame number (kiThread), then
//   drawChannelBegin;
//   per bin: processChannelBin; per item: processCullRecord (when the item has a cull record),
//            changedState (when the item has a state name), drawGeometry (either form);
//   drawChannelEnd.
// A cull record with OPTION_SET_MATRIX and a model-view element puts that element into the draw
// context before its item is drawn, as the host's renderer loads the matrix the cull pass
// computed; the context gets back the model-view element it had when the frame ends.
// Every hook call is made only while getDebug() is set and getDebug()->isEnabled() is true at the
// moment of that call, so a hook switched on or off mid-frame sees only the calls after the switch.
// Bins, draw contexts, cull records, geometry and draw-function data are not owned by the channel
// or the bins: their creator keeps them alive while they are listed.
#pragma once

#include <olchannel.h>
#include <olelement.h>
#include <olgeometry.h>  // olDrawFunc::Data, olGeometryBase

#include <atomic>
#include <vector>

class olDrawContext;
class kiChannel;
class kiChannelBin;
class kiCullRecord;

// The host's frame counter. The channel's frame driver advances it at the start of every frame.
class kiThread
{
public:
    static unsigned int resolveFrameNumber();
    static void setFrameNumber(unsigned int frame);
    // Adds one and returns the new frame number.
    static unsigned int advanceFrameNumber();
};

// A bin of the channel: what the cull pass sorted into it, in drawing order.
class kiChannelBin : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum ItemKind : int { ITEM_GEOMETRY = 0, ITEM_DRAW_FUNCTION = 1, ITEM_STATE_CHANGE = 2 };
    struct Item
    {
        ItemKind kind = ITEM_GEOMETRY;
        const kiCullRecord* cullRecord = nullptr;
        emString stateName;  // empty: no state change before the draw
        const olGeometryBase* geometry = nullptr;
        const olDrawFunc::Data* drawFunctionData = nullptr;
        emString drawFunctionName;
    };
    using const_iterator_item = std::vector<Item>::const_iterator;

    explicit kiChannelBin(const char* name = nullptr) : emBase(name) {}

    // Appends a geometry draw, optionally preceded by a state change named `stateName`.
    void addGeometry(const kiCullRecord* cullRecord, const olGeometryBase* geometry, const char* stateName = nullptr);
    // Appends a draw-function draw named `name`, optionally preceded by a state change.
    void addDrawFunction(const kiCullRecord* cullRecord, const olDrawFunc::Data* data, const char* name,
                         const char* stateName = nullptr);
    // Appends a state change alone.
    void addStateChange(const kiCullRecord* cullRecord, const char* stateName);
    void clear() { m_items.clear(); }

    const_iterator_item begin_item() const { return m_items.begin(); }
    const_iterator_item end_item() const { return m_items.end(); }
    unsigned int size_item() const { return static_cast<unsigned int>(m_items.size()); }

private:
    std::vector<Item> m_items;
};

class kiChannel : public olChannel
{
    EM_CLASS_TYPE_DECLARE();

public:
    // The channel's debug hook. The channel calls these only while isEnabled() is true. The hook is
    // not owned by the channel and is never deleted through this interface.
    class Debug
    {
    public:
        virtual void drawGeometry(olDrawContext* context, const olDrawFunc::Data* data, const char* name) = 0;
        virtual void drawGeometry(olDrawContext* context, const olGeometryBase* geometry) = 0;
        virtual void changedState(olDrawContext* context, const char* name) = 0;
        virtual bool isEnabled() const = 0;
        virtual void drawChannelBegin(olDrawContext* context, const kiChannel* channel) = 0;
        virtual void drawChannelEnd(olDrawContext* context, const kiChannel* channel) = 0;
        virtual void processChannelBin(olDrawContext* context, const kiChannelBin* bin) = 0;
        virtual void processCullRecord(olDrawContext* context, const kiCullRecord* record) = 0;

    protected:
        ~Debug() = default;
    };
    using const_iterator_bin = std::vector<kiChannelBin*>::const_iterator;

    explicit kiChannel(const char* name = nullptr) : olChannel(name) {}
    kiChannel(const kiChannel&) = delete;
    kiChannel& operator=(const kiChannel&) = delete;

    // Installs (or, with null, removes) the hook.
    void setDebug(Debug* debug) { m_debug.store(debug); }
    Debug* getDebug() const { return m_debug.load(); }

    // Representations per channel (at least 0; 1 by default), the same for every channel.
    static int getNumRepresentations();
    static void setNumRepresentations(int count);

    // Frame driver (see the top of this file).
    void setDrawContext(olDrawContext* context) { m_drawContext = context; }
    olDrawContext* getDrawContext() const { return m_drawContext; }
    void addBin(kiChannelBin* bin);
    void clearBins() { m_bins.clear(); }
    const_iterator_bin begin_bin() const { return m_bins.begin(); }
    const_iterator_bin end_bin() const { return m_bins.end(); }
    unsigned int size_bin() const { return static_cast<unsigned int>(m_bins.size()); }
    // Draws one frame; returns the number of hook calls made.
    unsigned int drawFrame();

private:
    // The hook when one is installed and enabled now, else null.
    Debug* activeDebug() const;

    std::atomic<Debug*> m_debug{nullptr};
    olDrawContext* m_drawContext = nullptr;
    std::vector<kiChannelBin*> m_bins;
};
