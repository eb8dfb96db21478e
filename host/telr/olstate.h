// The render state container and the draw context. Both hold plain pointers to elements owned by
// whoever created them.
#pragma once

#include <olelement.h>

#include <map>

class olState : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olState(const char* name = nullptr);

    // The state's element of kind `id`; null when the state does not set that kind.
    const olElement* getElement(olElement::Id id) const;
    // Sets (or, with null, clears) the element of kind `id`.
    void setElement(olElement::Id id, const olElement* element);
    // Sets the element under its own class type.
    void setElement(const olElement* element);

    // True when one of the state's elements is transparent.
    bool isTransparent() const;
    // Bit i is set when the state sets the element of the i-th state kind (i < 32), unless an
    // override is set.
    unsigned int getElementMask() const;
    void setElementMaskOverride(unsigned int mask);
    void clearElementMaskOverride();

    // Appends the state's problems: each element's own checks, elements set under a kind their
    // class does not belong to, and the messages added below. `inheritState` is true when the
    // state is a draw context's inherit state, which supplies every kind the drawing does not
    // set: each kind it leaves unset is then reported (LEVEL_DEBUG). See olMessageList for
    // `level`.
    void validate(int level, olMessageList& messages, bool inheritState) const;
    void addValidationMessage(emNotify::Level level, const char* text);
    void clearValidationMessages() { m_injected.clear(); }

private:
    std::map<olElement::Id, const olElement*> m_elements;
    bool m_maskOverridden = false;
    unsigned int m_maskOverride = 0;
    olMessageList m_injected;
};

class olDrawContext : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit olDrawContext(const char* name = nullptr);

    // The state that supplies every element kind the drawing does not set.
    const olState* getInheritState() const { return m_inheritState; }
    // The context's current element of kind `id`; null when it has none of its own.
    const olElement* getElement(olElement::Id id) const;
    // Whether the context keeps its element of kind `id` across state changes.
    bool getPreserveEnable(olElement::Id id) const;
    // Appends the problems of the context's element of kind `id`: an id that is not a context
    // kind, an element of another class, the element's own checks, and the messages added for
    // that id. See olMessageList for `level`.
    void validateElement(olElement::Id id, int level, olMessageList& messages) const;

    void setInheritState(const olState* state) { m_inheritState = state; }
    void setElement(olElement::Id id, const olElement* element);
    void setElement(const olElement* element);
    void setPreserveEnable(olElement::Id id, bool enable);
    void addValidationMessage(olElement::Id id, emNotify::Level level, const char* text);
    void clearValidationMessages() { m_injected.clear(); }

private:
    const olState* m_inheritState = nullptr;
    std::map<olElement::Id, const olElement*> m_elements;
    std::map<olElement::Id, bool> m_preserve;
    std::map<olElement::Id, olMessageList> m_injected;
};
