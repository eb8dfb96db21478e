#include "kichannel.h"

#include "kicullrecord.h"

#include <olstate.h>

EM_CLASS_TYPE_DEFINE(kiChannelBin, "kiChannelBin", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiChannel, "kiChannel", olChannel::getStaticClassType())

namespace {

std::atomic<unsigned int> s_frameNumber{0};
std::atomic<int> s_numRepresentations{1};

}  // namespace

unsigned int kiThread::resolveFrameNumber() { return s_frameNumber.load(); }
void kiThread::setFrameNumber(unsigned int frame) { s_frameNumber.store(frame); }
unsigned int kiThread::advanceFrameNumber() { return s_frameNumber.fetch_add(1) + 1; }

void kiChannelBin::addGeometry(const kiCullRecord* cullRecord, const olGeometryBase* geometry, const char* stateName)
{
    Item item;
    item.kind = ITEM_GEOMETRY;
    item.cullRecord = cullRecord;
    item.stateName.assign(stateName);
    item.geometry = geometry;
    m_items.push_back(item);
}

void kiChannelBin::addDrawFunction(const kiCullRecord* cullRecord, const olDrawFunc::Data* data, const char* name,
                                   const char* stateName)
{
    Item item;
    item.kind = ITEM_DRAW_FUNCTION;
    item.cullRecord = cullRecord;
    item.stateName.assign(stateName);
    item.drawFunctionData = data;
    item.drawFunctionName.assign(name);
    m_items.push_back(item);
}

void kiChannelBin::addStateChange(const kiCullRecord* cullRecord, const char* stateName)
{
    Item item;
    item.kind = ITEM_STATE_CHANGE;
    item.cullRecord = cullRecord;
    item.stateName.assign(stateName);
    m_items.push_back(item);
}

int kiChannel::getNumRepresentations() { return s_numRepresentations.load(); }
void kiChannel::setNumRepresentations(int count) { s_numRepresentations.store(count < 0 ? 0 : count); }

void kiChannel::addBin(kiChannelBin* bin)
{
    if (bin)
        m_bins.push_back(bin);
}

kiChannel::Debug* kiChannel::activeDebug() const
{
    Debug* debug = m_debug.load();
    return debug && debug->isEnabled() ? debug : nullptr;
}

unsigned int kiChannel::drawFrame()
{
    kiThread::advanceFrameNumber();
    unsigned int calls = 0;
    olDrawContext* context = m_drawContext;
    Debug* debug = nullptr;
    // The model-view matrix the frame starts with, which cull records may replace per draw.
    const olElement::Id modelViewId = olTransform::ElementModelView::getStaticClassType();
    const olElement* frameModelView = context ? context->getElement(modelViewId) : nullptr;

    if ((debug = activeDebug()) != nullptr) {
        debug->drawChannelBegin(context, this);
        ++calls;
    }
    for (const kiChannelBin* bin : m_bins) {
        if ((debug = activeDebug()) != nullptr) {
            debug->processChannelBin(context, bin);
            ++calls;
        }
        for (auto it = bin->begin_item(); it != bin->end_item(); ++it) {
            const kiChannelBin::Item& item = *it;
            if (item.cullRecord && context && (item.cullRecord->options & kiCullRecord::OPTION_SET_MATRIX) &&
                item.cullRecord->modelViewTransformElement)
                context->setElement(item.cullRecord->modelViewTransformElement);
            if (item.cullRecord && (debug = activeDebug()) != nullptr) {
                debug->processCullRecord(context, item.cullRecord);
                ++calls;
            }
            if (!item.stateName.empty() && (debug = activeDebug()) != nullptr) {
                debug->changedState(context, item.stateName.c_str());
                ++calls;
            }
            if (item.kind == kiChannelBin::ITEM_STATE_CHANGE || (debug = activeDebug()) == nullptr)
                continue;
            if (item.kind == kiChannelBin::ITEM_GEOMETRY)
                debug->drawGeometry(context, item.geometry);
            else
                debug->drawGeometry(context, item.drawFunctionData, item.drawFunctionName.c_str());
            ++calls;
        }
    }
    if ((debug = activeDebug()) != nullptr) {
        debug->drawChannelEnd(context, this);
        ++calls;
    }
    if (context)
        context->setElement(modelViewId, frameModelView);
    return calls;
}
