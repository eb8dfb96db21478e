// Element root, the lists of element kinds, and the plain element kinds.
#include "olelement.h"

#include "olstateobjects.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <unordered_map>

bool olValidationReports(int level, int messageLevel)
{
    switch (messageLevel) {
    case emNotify::LEVEL_INFO:
    case emNotify::LEVEL_NOTICE:
    case emNotify::LEVEL_DEBUG: return messageLevel <= level;
    default: return true;
    }
}

void olAppendMessage(olMessageList& messages, int level, emNotify::Level messageLevel, const char* format, ...)
{
    if (!olValidationReports(level, messageLevel))
        return;
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    messages.emplace_back(messageLevel, emString(text));
}

EM_CLASS_TYPE_DEFINE(olElement, "olElement", nullptr)

void olElement::validate(int, olMessageList&) const {}

namespace {

std::vector<emClassType*> defaultIds()
{
    return {
        olAlphaBlend::Element::getStaticClassType(),
        olAlphaTest::Element::getStaticClassType(),
        olColorTrack::Element::getStaticClassType(),
        olDecal::Element::getStaticClassType(),
        olDepthTest::Element::getStaticClassType(),
        olDepthWrite::Element::getStaticClassType(),
        olFog::Element::getStaticClassType(),
        olLight::Element::getStaticClassType(),
        olLightModel::Element::getStaticClassType(),
        olLine::Element::getStaticClassType(),
        olMaterial::Element::getStaticClassType(),
        olMultiSample::Element::getStaticClassType(),
        olNormalize::Element::getStaticClassType(),
        olPoint::Element::getStaticClassType(),
        olPolygon::Element::getStaticClassType(),
        olShadeModel::Element::getStaticClassType(),
        olShader::ElementFragment::getStaticClassType(),
        olShader::ElementVertex::getStaticClassType(),
        olStencilTest::Element::getStaticClassType(),
        olTexture::Element::getStaticClassType(),
        olTextureBlend::Element::getStaticClassType(),
        olTextureCoordGen::Element::getStaticClassType(),
        olTransform::ElementModelView::getStaticClassType(),
        olTransform::ElementProjection::getStaticClassType(),
        olTransform::ElementTexture::getStaticClassType(),
    };
}

// A list of element kinds with the position of each, so that a kind is found at once.
struct IdList
{
    explicit IdList(std::vector<emClassType*> list) : ids(std::move(list)) { reindex(); }
    void reindex()
    {
        positions.clear();
        for (size_t i = 0; i < ids.size(); ++i)
            positions.emplace(ids[i], static_cast<int>(i));
    }
    std::vector<emClassType*> ids;
    std::unordered_map<emClassType*, int> positions;
};

IdList& stateIds()
{
    static IdList ids(defaultIds());
    return ids;
}

IdList& contextIds()
{
    static IdList ids(defaultIds());
    return ids;
}

void addId(IdList& list, emClassType* id)
{
    if (id && !list.positions.count(id)) {
        list.ids.push_back(id);
        list.reindex();
    }
}

void removeId(IdList& list, emClassType* id)
{
    list.ids.erase(std::remove(list.ids.begin(), list.ids.end(), id), list.ids.end());
    list.reindex();
}

int indexOf(const IdList& list, emClassType* id)
{
    auto found = list.positions.find(id);
    return found == list.positions.end() ? -1 : found->second;
}

}  // namespace

olElement::const_iterator_id olElement::begin_state() { return stateIds().ids.begin(); }
olElement::const_iterator_id olElement::end_state() { return stateIds().ids.end(); }
int olElement::size_state() { return static_cast<int>(stateIds().ids.size()); }
int olElement::indexOf_state(Id id) { return indexOf(stateIds(), id); }
olElement::const_iterator_id olElement::begin_context() { return contextIds().ids.begin(); }
olElement::const_iterator_id olElement::end_context() { return contextIds().ids.end(); }
int olElement::size_context() { return static_cast<int>(contextIds().ids.size()); }
int olElement::indexOf_context(Id id) { return indexOf(contextIds(), id); }
void olElement::addStateId(Id id) { addId(stateIds(), id); }
void olElement::removeStateId(Id id) { removeId(stateIds(), id); }
void olElement::addContextId(Id id) { addId(contextIds(), id); }
void olElement::removeContextId(Id id) { removeId(contextIds(), id); }

void olElement::resetIds()
{
    stateIds() = IdList(defaultIds());
    contextIds() = IdList(defaultIds());
}

EM_CLASS_TYPE_DEFINE(olAlphaBlend::Element, "olAlphaBlend::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olAlphaTest::Element, "olAlphaTest::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olColorTrack::Element, "olColorTrack::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olDecal::Element, "olDecal::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olDepthTest::Element, "olDepthTest::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olDepthWrite::Element, "olDepthWrite::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olLine::Element, "olLine::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olMultiSample::Element, "olMultiSample::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olNormalize::Element, "olNormalize::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olPoint::Element, "olPoint::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olPolygon::Element, "olPolygon::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olShadeModel::Element, "olShadeModel::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olStencilTest::Element, "olStencilTest::Element", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olTransform::ElementModelView, "olTransform::ElementModelView", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olTransform::ElementProjection, "olTransform::ElementProjection", olElement::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olTransform::ElementTexture, "olTransform::ElementTexture", olElement::getStaticClassType())

void olLine::Element::validate(int level, olMessageList& messages) const
{
    if (!(width > 0.0f))
        olAppendMessage(messages, level, emNotify::LEVEL_WARN, "olLine::Element - line width %g is not positive",
                        width);
    if (enablePattern && repeat == 0)
        olAppendMessage(messages, level, emNotify::LEVEL_WARN, "olLine::Element - pattern enabled with a repeat of 0");
}

void olPoint::Element::validate(int level, olMessageList& messages) const
{
    if (!(size > 0.0f))
        olAppendMessage(messages, level, emNotify::LEVEL_WARN, "olPoint::Element - point size %g is not positive",
                        size);
}

olTransform::ElementTexture::ElementTexture()
{
    for (emMatrix<float>& m : matrix)
        m = emMatrix<float>::identity();
}
