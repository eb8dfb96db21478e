// The render state container and the draw context.
#include "olstate.h"

namespace {

const char* nameOf(const emClassType* type) { return type ? type->getName() : "(null)"; }

// Appends the problems of `element` set under kind `id`: an element of another class, then the
// element's own checks.
void validateSetElement(const char* owner, olElement::Id id, const olElement* element, int level,
                        olMessageList& messages)
{
    if (!element->getClassType()->isOfClassType(id)) {
        olAppendMessage(messages, level, emNotify::LEVEL_FAIL, "%s - element of class %s is set as %s", owner,
                        element->getClassType()->getName(), nameOf(id));
        return;
    }
    element->validate(level, messages);
}

void appendInjected(const olMessageList& injected, int level, olMessageList& messages)
{
    for (const auto& message : injected)
        if (olValidationReports(level, message.first))
            messages.push_back(message);
}

}  // namespace

EM_CLASS_TYPE_DEFINE(olState, "olState", emBase::getStaticClassType())

olState::olState(const char* name) : emBase(name) {}

const olElement* olState::getElement(olElement::Id id) const
{
    auto found = m_elements.find(id);
    return found == m_elements.end() ? nullptr : found->second;
}

void olState::setElement(olElement::Id id, const olElement* element)
{
    if (!id)
        return;
    if (element)
        m_elements[id] = element;
    else
        m_elements.erase(id);
}

void olState::setElement(const olElement* element)
{
    if (element)
        setElement(element->getClassType(), element);
}

bool olState::isTransparent() const
{
    for (const auto& entry : m_elements)
        if (entry.second->isTransparent())
            return true;
    return false;
}

unsigned int olState::getElementMask() const
{
    if (m_maskOverridden)
        return m_maskOverride;
    unsigned int mask = 0;
    int i = 0;
    for (auto id = olElement::begin_state(); id != olElement::end_state() && i < 32; ++id, ++i)
        if (getElement(*id))
            mask |= 1u << i;
    return mask;
}

void olState::setElementMaskOverride(unsigned int mask)
{
    m_maskOverridden = true;
    m_maskOverride = mask;
}

void olState::clearElementMaskOverride()
{
    m_maskOverridden = false;
    m_maskOverride = 0;
}

void olState::validate(int level, olMessageList& messages, bool inheritState) const
{
    // The listed kinds first, in the host's order; then kinds set but not listed.
    for (auto id = olElement::begin_state(); id != olElement::end_state(); ++id) {
        if (const olElement* element = getElement(*id))
            validateSetElement("olState::validate", *id, element, level, messages);
        else if (inheritState)
            olAppendMessage(messages, level, emNotify::LEVEL_DEBUG, "olState::validate - inherit state does not set %s",
                            nameOf(*id));
    }
    for (const auto& entry : m_elements)
        if (olElement::indexOf_state(entry.first) < 0) {
            olAppendMessage(messages, level, emNotify::LEVEL_NOTICE,
                            "olState::validate - %s is not a state element kind", nameOf(entry.first));
            validateSetElement("olState::validate", entry.first, entry.second, level, messages);
        }
    appendInjected(m_injected, level, messages);
}

void olState::addValidationMessage(emNotify::Level level, const char* text)
{
    m_injected.emplace_back(level, emString(text));
}

EM_CLASS_TYPE_DEFINE(olDrawContext, "olDrawContext", emBase::getStaticClassType())

olDrawContext::olDrawContext(const char* name) : emBase(name) {}

const olElement* olDrawContext::getElement(olElement::Id id) const
{
    auto found = m_elements.find(id);
    return found == m_elements.end() ? nullptr : found->second;
}

bool olDrawContext::getPreserveEnable(olElement::Id id) const
{
    auto found = m_preserve.find(id);
    return found != m_preserve.end() && found->second;
}

void olDrawContext::validateElement(olElement::Id id, int level, olMessageList& messages) const
{
    if (olElement::indexOf_context(id) < 0)
        olAppendMessage(messages, level, emNotify::LEVEL_WARN,
                        "olDrawContext::validateElement - %s is not a context element kind", nameOf(id));
    if (const olElement* element = getElement(id))
        validateSetElement("olDrawContext::validateElement", id, element, level, messages);
    auto injected = m_injected.find(id);
    if (injected != m_injected.end())
        appendInjected(injected->second, level, messages);
}

void olDrawContext::setElement(olElement::Id id, const olElement* element)
{
    if (!id)
        return;
    if (element)
        m_elements[id] = element;
    else
        m_elements.erase(id);
}

void olDrawContext::setElement(const olElement* element)
{
    if (element)
        setElement(element->getClassType(), element);
}

void olDrawContext::setPreserveEnable(olElement::Id id, bool enable)
{
    if (id)
        m_preserve[id] = enable;
}

void olDrawContext::addValidationMessage(olElement::Id id, emNotify::Level level, const char* text)
{
    m_injected[id].emplace_back(level, emString(text));
}
