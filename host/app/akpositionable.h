// Positionable objects: a state vector moved by a chain of motion strategies, placed through a
// coordinate converter; and the intersectors, which are positionable host objects. Strategies and
// converters are not owned.
//
// Getters without an exported host name (virtual):
//   akPositionable::getStrategy, getStrategyEnable, getPositionCoordConverter
#pragma once

#include "akcoord.h"

class akPositionable : public virtual emClassObject
{
    EM_CLASS_TYPE_DECLARE();

public:
    // One step of the motion: strategies form a chain.
    class Strategy : public emBase
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        explicit Strategy(const char* name = nullptr) : emBase(name) {}
        const Strategy* getNextStrategy() const { return m_next; }
        void setNextStrategy(const Strategy* next) { m_next = next; }

    private:
        const Strategy* m_next = nullptr;
    };

    // Position and rotation (heading, pitch, roll in degrees) with their first two derivatives.
    struct StateVector
    {
        emVec3<double> position;
        emVec3<double> rotation;
        emVec3<double> positionalVelocity;
        emVec3<double> rotationalVelocity;
        emVec3<double> positionalAcceleration;
        emVec3<double> rotationalAcceleration;
        double quaternionScalar = 1.0;
        double velocityQuaternionScalar = 0.0;
        double accelerationQuaternionScalar = 0.0;
    };

    akPositionable() = default;
    akPositionable(const akPositionable&) = delete;
    akPositionable& operator=(const akPositionable&) = delete;

    virtual const Strategy* getStrategy() const { return m_strategy; }
    virtual bool getStrategyEnable() const { return m_strategyEnable; }
    double getExtrapolationTime() const { return m_extrapolationTime; }
    const StateVector& getStateVector() const { return m_stateVector; }
    virtual const akCoordConverter* getPositionCoordConverter() const { return m_coordConverter; }

    void setStrategy(const Strategy* strategy) { m_strategy = strategy; }
    void setStrategyEnable(bool enable) { m_strategyEnable = enable; }
    void setExtrapolationTime(double time) { m_extrapolationTime = time; }
    void setStateVector(const StateVector& state) { m_stateVector = state; }
    void setPositionCoordConverter(const akCoordConverter* converter) { m_coordConverter = converter; }

private:
    const Strategy* m_strategy = nullptr;
    bool m_strategyEnable = true;
    double m_extrapolationTime = 0.0;
    StateVector m_stateVector;
    const akCoordConverter* m_coordConverter = nullptr;
};

// Tests the scene for intersections along segments placed like any positionable object.
class akIsector : public emBase, public akPositionable
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit akIsector(const char* name = nullptr) : emBase(name) {}
};
