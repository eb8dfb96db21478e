#include "kinodes.h"

EM_CLASS_TYPE_DEFINE(kiAnimation, "kiAnimation", kiNode::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiDecal, "kiDecal", kiNode::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiLODFilterBase, "kiLODFilterBase", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiLODFilter, "kiLODFilter", kiLODFilterBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiLODFilterManual, "kiLODFilterManual", kiLODFilterBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiLOD, "kiLOD", kiNode::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiSwitch, "kiSwitch", kiNode::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiLight, "kiLight", kiNode::getStaticClassType())

double kiAnimation::getDuration(bool* perChild) const
{
    if (perChild)
        *perChild = m_perChild;
    return m_duration;
}

void kiAnimation::setDuration(double duration, bool perChild)
{
    m_duration = duration;
    m_perChild = perChild;
}

void kiLOD::getCenter(double* x, double* y, double* z) const
{
    *x = m_center[0];
    *y = m_center[1];
    *z = m_center[2];
}

void kiLOD::setCenter(double x, double y, double z)
{
    m_center[0] = x;
    m_center[1] = y;
    m_center[2] = z;
}

int kiSwitch::addMask(const char* name, const std::vector<int>& children)
{
    m_masks.push_back(Mask{emString(name), children});
    return static_cast<int>(m_masks.size()) - 1;
}

void kiLight::setChannelBinId(int representation, int id)
{
    if (Representation* rep = m_reps.edit(representation))
        rep->channelBinId = id;
}

void kiLight::setLight(int representation, const olLight* light)
{
    if (Representation* rep = m_reps.edit(representation))
        rep->light = light;
}

void kiLight::setCullRecordFactory(int representation, const kiCullRecordFactory* factory)
{
    if (Representation* rep = m_reps.edit(representation))
        rep->cullRecordFactory = factory;
}
