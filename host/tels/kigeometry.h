// Geometry nodes: kiGeometryBase with its per-representation drawables, kiGeometry, kiString and
// the light-point node kiLightPoint with its control.
//
// Members without an exported host name:
//   kiGeometryBase::validate(int representation, int level, olMessageList&) const
//       virtual; appends the node's problems for one representation (see below).
#pragma once

#include "kinode.h"

#include <olelement.h>  // olMessageList, olValidationReports

class olGeometryBase;
class olState;
class kiCullRecordFactory;

class kiGeometryBase : public kiNode
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord;  // kicullrecord.h

    explicit kiGeometryBase(const char* name = nullptr) : kiNode(name) {}

    // Per representation (0 .. kiChannel::getNumRepresentations() - 1); unset ones give 0 / null.
    int getChannelBinId(int representation) const { return m_reps.get(representation).channelBinId; }
    int getAuxChannelBinId(int representation) const { return m_reps.get(representation).auxChannelBinId; }
    const olGeometryBase* getGeometryBase(int representation) const { return m_reps.get(representation).geometry; }
    const olState* getState(int representation) const { return m_reps.get(representation).state; }
    const kiCullRecordFactory* getCullRecordFactoryBase(int representation) const
    {
        return m_reps.get(representation).cullRecordFactory;
    }

    // Representations outside 0..7 are ignored. Geometry, states and factories are not owned.
    void setChannelBinId(int representation, int id);
    void setAuxChannelBinId(int representation, int id);
    void setGeometryBase(int representation, const olGeometryBase* geometry);
    void setState(int representation, const olState* state);
    void setCullRecordFactoryBase(int representation, const kiCullRecordFactory* factory);

    // Appends the problems of one representation, filtered by `level` as olValidationReports does:
    // a representation index outside the channel's representations (level 6), a representation
    // without geometry (level 5), a geometry without a state (level 3), a negative channel bin id
    // (level 5); then every message added with addValidationMessage (all representations).
    virtual void validate(int representation, int level, olMessageList& messages) const;

    void addValidationMessage(emNotify::Level level, const char* text);
    void clearValidationMessages() { m_messages.clear(); }

private:
    struct Representation
    {
        int channelBinId = 0;
        int auxChannelBinId = 0;
        const olGeometryBase* geometry = nullptr;
        const olState* state = nullptr;
        const kiCullRecordFactory* cullRecordFactory = nullptr;
    };
    kiRepresentationList<Representation> m_reps;
    olMessageList m_messages;
};

class kiGeometry : public kiGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit kiGeometry(const char* name = nullptr) : kiGeometryBase(name) {}
};

class kiString : public kiGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit kiString(const char* name = nullptr) : kiGeometryBase(name) {}
};

class kiLightPoint : public kiGeometryBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    class CullRecord;  // kicullrecord.h

    // Switches a group of light points on and off and sets their animation.
    class Control : public emBase
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        enum AnimationState : int { ANIMATION_STATE_OFF = 0, ANIMATION_STATE_ON = 1, ANIMATION_STATE_RANDOM = 2 };

        explicit Control(const char* name = nullptr) : emBase(name) {}

        bool getEnable() const { return m_enable; }
        AnimationState getAnimationState() const { return m_animationState; }
        float getIntensity() const { return m_intensity; }
        double getEnableTime() const { return m_enableTime; }

        void setEnable(bool enable) { m_enable = enable; }
        void setAnimationState(AnimationState state) { m_animationState = state; }
        void setIntensity(float intensity) { m_intensity = intensity; }
        void setEnableTime(double time) { m_enableTime = time; }

    private:
        bool m_enable = true;
        AnimationState m_animationState = ANIMATION_STATE_ON;
        float m_intensity = 1.0f;
        double m_enableTime = 0.0;
    };

    explicit kiLightPoint(const char* name = nullptr) : kiGeometryBase(name) {}

    // Not owned: a control may be shared by several light-point nodes.
    const Control* getControl() const { return m_control; }
    void setControl(const Control* control) { m_control = control; }

    // The base checks, and a light-point node without a control (level 3).
    void validate(int representation, int level, olMessageList& messages) const override;

private:
    const Control* m_control = nullptr;
};
