// Node kinds: animation, decal, level of detail with its filters, switch and light.
#pragma once

#include "kinode.h"

#include <utility>

class olLight;
class kiCullRecordFactory;

class kiAnimation : public kiNode
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Mode : int { MODE_CYCLE = 0, MODE_SWING = 1 };
    enum Direction : int { DIRECTION_FORWARD = 0, DIRECTION_BACKWARD = 1 };
    enum Command : int { COMMAND_PLAY = 0, COMMAND_STOP = 1, COMMAND_PAUSE = 2 };
    enum { LOOP_INFINITE = 0xFFFF };
    static constexpr double LAST_CHILD_DURATION_UNSPECIFIED = -1.0;

    explicit kiAnimation(const char* name = nullptr) : kiNode(name) {}

    Mode getMode() const { return m_mode; }
    Direction getDirection() const { return m_direction; }
    Command getCommand() const { return m_command; }
    // The duration; `perChild` (may be null) tells whether it is per child or overall.
    double getDuration(bool* perChild) const;
    int getNumLoops() const { return m_numLoops; }
    double getLastChildDuration() const { return m_lastChildDuration; }
    int getCurrentChild() const { return m_currentChild; }

    void setMode(Mode mode) { m_mode = mode; }
    void setDirection(Direction direction) { m_direction = direction; }
    void setCommand(Command command) { m_command = command; }
    void setDuration(double duration, bool perChild);
    void setNumLoops(int loops) { m_numLoops = loops; }
    void setLastChildDuration(double duration) { m_lastChildDuration = duration; }
    void setCurrentChild(int child) { m_currentChild = child; }

private:
    Mode m_mode = MODE_CYCLE;
    Direction m_direction = DIRECTION_FORWARD;
    Command m_command = COMMAND_STOP;
    double m_duration = 1.0;
    bool m_perChild = true;
    int m_numLoops = LOOP_INFINITE;
    double m_lastChildDuration = LAST_CHILD_DURATION_UNSPECIFIED;
    int m_currentChild = 0;
};

class kiDecal : public kiNode
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit kiDecal(const char* name = nullptr) : kiNode(name) {}

    unsigned int getOffset() const { return m_offset; }
    void setOffset(unsigned int offset) { m_offset = offset; }

private:
    unsigned int m_offset = 0;
};

// Level-of-detail filters: how a level of detail node scales its ranges.
class kiLODFilterBase : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit kiLODFilterBase(const char* name = nullptr) : emBase(name) {}
};

class kiLODFilter : public kiLODFilterBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit kiLODFilter(const char* name = nullptr) : kiLODFilterBase(name) {}

    double getVisibilityRangeScale() const { return m_visibilityRangeScale; }
    double getVisibilityStressScale() const { return m_visibilityStressScale; }
    double getTransitionRangeScale() const { return m_transitionRangeScale; }
    double getTransitionStressScale() const { return m_transitionStressScale; }
    void setVisibilityRangeScale(double scale) { m_visibilityRangeScale = scale; }
    void setVisibilityStressScale(double scale) { m_visibilityStressScale = scale; }
    void setTransitionRangeScale(double scale) { m_transitionRangeScale = scale; }
    void setTransitionStressScale(double scale) { m_transitionStressScale = scale; }

private:
    double m_visibilityRangeScale = 1.0;
    double m_visibilityStressScale = 1.0;
    double m_transitionRangeScale = 1.0;
    double m_transitionStressScale = 1.0;
};

// Selects one child by hand; -1 leaves the choice to the ranges.
class kiLODFilterManual : public kiLODFilterBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit kiLODFilterManual(const char* name = nullptr) : kiLODFilterBase(name) {}

    int getChild() const { return m_child; }
    void setChild(int child) { m_child = child; }

private:
    int m_child = -1;
};

class kiLOD : public kiNode
{
    EM_CLASS_TYPE_DECLARE();

public:
    // (visibility, transition) per child.
    using Range = std::pair<double, double>;
    using const_iterator_range = std::vector<Range>::const_iterator;

    explicit kiLOD(const char* name = nullptr) : kiNode(name) {}

    void getCenter(double* x, double* y, double* z) const;
    const_iterator_range begin_range() const { return m_ranges.begin(); }
    const_iterator_range end_range() const { return m_ranges.end(); }
    unsigned int size_range() const { return static_cast<unsigned int>(m_ranges.size()); }
    // Not owned: the creator keeps the filter alive while the node uses it.
    const kiLODFilterBase* getLODFilter() const { return m_filter; }

    void setCenter(double x, double y, double z);
    void addRange(double visibility, double transition) { m_ranges.emplace_back(visibility, transition); }
    void clearRanges() { m_ranges.clear(); }
    void setLODFilter(const kiLODFilterBase* filter) { m_filter = filter; }

private:
    double m_center[3] = {0.0, 0.0, 0.0};
    std::vector<Range> m_ranges;
    const kiLODFilterBase* m_filter = nullptr;
};

class kiSwitch : public kiNode
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum { SELECT_NONE = -2, SELECT_ALL = -1 };

    // A named set of child indices; the active mask selects one of them.
    struct Mask
    {
        emString name;
        std::vector<int> children;
    };
    using const_iterator_mask = std::vector<Mask>::const_iterator;

    explicit kiSwitch(const char* name = nullptr) : kiNode(name) {}

    int getActiveMask() const { return m_activeMask; }
    const_iterator_mask begin_mask() const { return m_masks.begin(); }
    const_iterator_mask end_mask() const { return m_masks.end(); }
    unsigned int size_mask() const { return static_cast<unsigned int>(m_masks.size()); }

    void setActiveMask(int mask) { m_activeMask = mask; }
    // Appends a mask; returns its index.
    int addMask(const char* name, const std::vector<int>& children);
    void clearMasks() { m_masks.clear(); }

private:
    int m_activeMask = SELECT_ALL;
    std::vector<Mask> m_masks;
};

class kiLight : public kiNode
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord;  // kicullrecord.h

    explicit kiLight(const char* name = nullptr) : kiNode(name) {}

    bool getEnable() const { return m_enable; }
    // Per representation (0 .. kiChannel::getNumRepresentations() - 1); unset ones give 0 / null.
    int getChannelBinId(int representation) const { return m_reps.get(representation).channelBinId; }
    const olLight* getLight(int representation) const { return m_reps.get(representation).light; }
    const kiCullRecordFactory* getCullRecordFactory(int representation) const
    {
        return m_reps.get(representation).cullRecordFactory;
    }

    void setEnable(bool enable) { m_enable = enable; }
    // Representations outside 0..7 are ignored. Lights and factories are not owned.
    void setChannelBinId(int representation, int id);
    void setLight(int representation, const olLight* light);
    void setCullRecordFactory(int representation, const kiCullRecordFactory* factory);

private:
    struct Representation
    {
        int channelBinId = 0;
        const olLight* light = nullptr;
        const kiCullRecordFactory* cullRecordFactory = nullptr;
    };
    bool m_enable = true;
    kiRepresentationList<Representation> m_reps;
};
