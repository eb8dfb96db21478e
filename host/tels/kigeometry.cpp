#include "kigeometry.h"

#include "kichannel.h"

#include <cstdio>

EM_CLASS_TYPE_DEFINE(kiGeometryBase, "kiGeometryBase", kiNode::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiGeometry, "kiGeometry", kiGeometryBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiString, "kiString", kiGeometryBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiLightPoint, "kiLightPoint", kiGeometryBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiLightPoint::Control, "kiLightPoint::Control", emBase::getStaticClassType())

namespace {

void report(olMessageList& messages, int level, emNotify::Level messageLevel, const char* format, int value)
{
    if (!olValidationReports(level, messageLevel))
        return;
    char text[256];
    std::snprintf(text, sizeof text, format, value);
    messages.emplace_back(messageLevel, emString(text));
}

}  // namespace

void kiGeometryBase::setChannelBinId(int representation, int id)
{
    if (Representation* rep = m_reps.edit(representation))
        rep->channelBinId = id;
}

void kiGeometryBase::setAuxChannelBinId(int representation, int id)
{
    if (Representation* rep = m_reps.edit(representation))
        rep->auxChannelBinId = id;
}

void kiGeometryBase::setGeometryBase(int representation, const olGeometryBase* geometry)
{
    if (Representation* rep = m_reps.edit(representation))
        rep->geometry = geometry;
}

void kiGeometryBase::setState(int representation, const olState* state)
{
    if (Representation* rep = m_reps.edit(representation))
        rep->state = state;
}

void kiGeometryBase::setCullRecordFactoryBase(int representation, const kiCullRecordFactory* factory)
{
    if (Representation* rep = m_reps.edit(representation))
        rep->cullRecordFactory = factory;
}

void kiGeometryBase::validate(int representation, int level, olMessageList& messages) const
{
    if (representation < 0 || representation >= kiChannel::getNumRepresentations()) {
        report(messages, level, emNotify::LEVEL_FAIL,
               "kiGeometryBase::validate - representation %d is not a channel representation", representation);
    } else {
        const Representation& rep = m_reps.get(representation);
        if (!rep.geometry)
            report(messages, level, emNotify::LEVEL_WARN,
                   "kiGeometryBase::validate - representation %d has no geometry", representation);
        else if (!rep.state)
            report(messages, level, emNotify::LEVEL_NOTICE,
                   "kiGeometryBase::validate - representation %d has geometry but no state", representation);
        if (rep.channelBinId < 0)
            report(messages, level, emNotify::LEVEL_WARN,
                   "kiGeometryBase::validate - representation %d has a negative channel bin id", representation);
    }
    for (const auto& message : m_messages)
        if (olValidationReports(level, message.first))
            messages.push_back(message);
}

void kiGeometryBase::addValidationMessage(emNotify::Level level, const char* text)
{
    m_messages.emplace_back(level, emString(text));
}

void kiLightPoint::validate(int representation, int level, olMessageList& messages) const
{
    kiGeometryBase::validate(representation, level, messages);
    if (!m_control)
        report(messages, level, emNotify::LEVEL_NOTICE,
               "kiLightPoint::validate - representation %d belongs to a light point without a control", representation);
}
