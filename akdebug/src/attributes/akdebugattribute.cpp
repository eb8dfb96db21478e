#include "akdebugattribute.h"

#include "akdebugattributevalue.h"
#include "akdebughash.h"
#include "akdebugtype.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string_view>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>

thread_local unsigned long long akDebugAttributeBase::s_numCreated __attribute__((tls_model("initial-exec"))) = 0;
thread_local unsigned long long akDebugAttributeBase::s_numDestroyed __attribute__((tls_model("initial-exec"))) = 0;

unsigned long long akDebugAttributeBase::getNumCreated() { return s_numCreated; }
unsigned long long akDebugAttributeBase::getNumDestroyed() { return s_numDestroyed; }

namespace {

struct TextLess
{
    bool operator()(const char* a, const char* b) const { return std::strcmp(a, b) < 0; }
};

// Tool tips: a reader gives thousands of attributes the same few texts (the bits of a mask, the
// names of its set bits), so each text is kept once, with the number of attributes that show it,
// and an attribute's entry is one pointer to it.
class ToolTips
{
public:
    ~ToolTips()
    {
        for (std::string_view text : m_texts)
            emAllocRaw::freeBlock(blockOf(text.data()), AKDEBUG_SOURCE_ATTRIBUTE, __LINE__);
    }
    const char* find(const akDebugAttributeBase* attribute) const
    {
        const char* const* text = m_tips.find(attribute);
        return text ? *text : nullptr;
    }
    void add(const akDebugAttributeBase* attribute, const char* text)
    {
        auto found = m_texts.find(std::string_view(text));
        if (found == m_texts.end())
            found = m_texts.insert(newText(text)).first;
        share(attribute, found->data());
    }
    // An attribute shows the text of another.
    void share(const akDebugAttributeBase* attribute, const char* text)
    {
        ++*blockOf(text);
        m_tips.insert(attribute, text);
    }
    // The tool tip of a mask that shows its bits: one text per value, kept until shutdown.
    const char* bits(const akDebugAttributeBase* attribute)
    {
        char text[33] = {};
        const unsigned long long width = maskBits(attribute, text);
        const unsigned long long key = (width << 32) | valueOf(attribute);
        if (const char* const* known = m_bits.find(key))
            return *known;
        const char* kept = akDebugAttributeBase::getPersistentName(text);
        m_bits.insert(key, kept);
        return kept;
    }
    // The bit string of a mask value (bit 0 first) into `text` (33 bytes), and its length; 0 for an
    // attribute that holds no mask value.
    static unsigned int maskBits(const akDebugAttributeBase* attribute, char* text)
    {
        if (auto* mask = dynamic_cast<const akDebugAttribute<unsigned int>*>(attribute))
            return static_cast<unsigned int>(akDebugBitmask<unsigned int>::getDefaultToolTip(text, mask->getValue()));
        if (auto* mask = dynamic_cast<const akDebugAttribute<unsigned short>*>(attribute))
            return static_cast<unsigned int>(akDebugBitmask<unsigned short>::getDefaultToolTip(text, mask->getValue()));
        return 0;
    }

    void remove(const akDebugAttributeBase* attribute)
    {
        const char* text = find(attribute);
        if (!text)
            return;
        m_tips.erase(attribute);
        if (--*blockOf(text) == 0) {
            m_texts.erase(std::string_view(text));
            emAllocRaw::freeBlock(blockOf(text), AKDEBUG_SOURCE_ATTRIBUTE, __LINE__);
        }
    }

private:
    // A text lives in a block after the count of its users.
    static unsigned long long* blockOf(const char* text)
    {
        return reinterpret_cast<unsigned long long*>(const_cast<char*>(text)) - 1;
    }
    static const char* newText(const char* text)
    {
        const size_t size = std::strlen(text) + 1;
        auto* block = static_cast<unsigned long long*>(
            emAllocRaw::mallocBlock(sizeof(unsigned long long) + size, AKDEBUG_SOURCE_ATTRIBUTE, __LINE__));
        *block = 0;
        char* copy = reinterpret_cast<char*>(block + 1);
        std::memcpy(copy, text, size);
        return copy;
    }
    static unsigned int valueOf(const akDebugAttributeBase* attribute)
    {
        if (auto* mask = dynamic_cast<const akDebugAttribute<unsigned int>*>(attribute))
            return mask->getValue();
        return static_cast<const akDebugAttribute<unsigned short>*>(attribute)->getValue();
    }

    akDebugHashMap<const akDebugAttributeBase*, const char*> m_tips;
    akDebugHashMap<unsigned long long, const char*> m_bits;
    // The texts, each viewing the characters of its block.
    std::unordered_set<std::string_view> m_texts;
};

ToolTips* s_toolTips = nullptr;
akDebugAttributeBase::ErrorMap* s_errors = nullptr;
std::set<char*, TextLess>* s_names = nullptr;
std::vector<char*>* s_indexNames = nullptr;

struct PatternKey
{
    const char* pattern;
    int index;
    bool operator==(const PatternKey& o) const { return pattern == o.pattern && index == o.index; }
};
struct PatternHash
{
    size_t operator()(const PatternKey& k) const
    {
        return std::hash<const void*>()(k.pattern) * 31 + static_cast<size_t>(k.index);
    }
};
std::unordered_map<PatternKey, const char*, PatternHash>* s_patternNames = nullptr;

const akDebugAttributeBase::ErrorMap s_noErrors;

char* copyText(const char* text)
{
    if (!text)
        return nullptr;
    size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(emAllocRaw::mallocBlock(size, AKDEBUG_SOURCE_ATTRIBUTE, __LINE__));
    std::memcpy(copy, text, size);
    return copy;
}

void freeText(char* text) { emAllocRaw::freeBlock(text, AKDEBUG_SOURCE_ATTRIBUTE, __LINE__); }

}  // namespace

int akDebugPrintText(char* buffer, const char* text)
{
    const size_t length = std::strlen(text);
    const size_t kept = std::min<size_t>(length, akDebugAttributeBase::s_stringBufferSize - 1);
    std::memcpy(buffer, text, kept);
    buffer[kept] = '\0';
    return static_cast<int>(length);
}

// ---- akDebugChildList ----

void akDebugChildList::reserve(unsigned int room)
{
    if (room <= (block() ? block()->room : 0))
        return;
    room |= 1;
    // The block's head, then `room` pointers to children.
    const size_t bytes = sizeof(Block) + room * sizeof(akDebugAttributeBase*);  // NOLINT(bugprone-sizeof-expression)
    auto* grown = static_cast<Block*>(emAllocRaw::mallocBlock(bytes, AKDEBUG_SOURCE_ATTRIBUTE, __LINE__));
    grown->size = size();
    grown->room = room;
    if (block()) {
        std::copy(begin(), end(), reinterpret_cast<akDebugAttributeBase**>(grown + 1));
        emAllocRaw::freeBlock(block(), AKDEBUG_SOURCE_ATTRIBUTE, __LINE__);
    }
    setBlock(grown);
}

void akDebugChildList::shrink()
{
    if (!block() || (block()->size | 1) >= block()->room)
        return;
    Block* old = block();
    setBlock(nullptr);
    reserve(old->size);
    std::copy(reinterpret_cast<akDebugAttributeBase**>(old + 1),
              reinterpret_cast<akDebugAttributeBase**>(old + 1) + old->size, items());
    block()->size = old->size;
    emAllocRaw::freeBlock(old, AKDEBUG_SOURCE_ATTRIBUTE, __LINE__);
}

void akDebugChildList::erase(unsigned int i)
{
    akDebugAttributeBase** first = items();
    std::copy(first + i + 1, first + block()->size, first + i);
    --block()->size;
}

void akDebugChildList::clear()
{
    emAllocRaw::freeBlock(block(), AKDEBUG_SOURCE_ATTRIBUTE, __LINE__);
    setBlock(nullptr);
}

// ---- akDebugAttributeBase ----

akDebugParentIterator::reference akDebugParentIterator::operator*() const { return m_owner->getParent(m_index); }

akDebugAttributeBase::akDebugAttributeBase(const char* name)
{
    ++s_numCreated;
    if (!name) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebugAttributeBase::akDebugAttributeBase - null name");
        TELU_ASSERT(!name == 0, AKDEBUG_SOURCE_ATTRIBUTE);
        name = "";
    }
    const uintptr_t word = reinterpret_cast<uintptr_t>(name);
    TELU_ASSERT((word & ~s_pointerMask) == 0, AKDEBUG_SOURCE_ATTRIBUTE);
    m_nameAndRef = word & s_pointerMask;
}

akDebugAttributeBase::~akDebugAttributeBase()
{
    ++s_numDestroyed;
    if (flags() & FLAG_MANY_PARENTS)
        emAllocRaw::freeBlock(parentBlock(), AKDEBUG_SOURCE_ATTRIBUTE, __LINE__);
    if ((flags() & (FLAG_TOOL_TIP | FLAG_BIT_TIP)) == FLAG_TOOL_TIP && s_toolTips)
        s_toolTips->remove(this);
    if ((flags() & FLAG_ERROR) && s_errors) {
        auto range = s_errors->equal_range(this);
        for (auto it = range.first; it != range.second; ++it)
            freeText(it->second.second);
        s_errors->erase(range.first, range.second);
    }
}

int akDebugAttributeBase::getValueString(char* buffer) const { return akDebugPrintText(buffer, "Unknown"); }
int akDebugAttributeBase::getTypeString(char* buffer) const { return akDebugPrintText(buffer, "Unknown"); }
akDebugType* akDebugAttributeBase::getType() const { return nullptr; }
akDebugAttributeBase::const_iterator_child akDebugAttributeBase::begin_child() const { return nullptr; }
akDebugAttributeBase::const_iterator_child akDebugAttributeBase::end_child() const { return nullptr; }
unsigned int akDebugAttributeBase::size_child() const { return 0; }
bool akDebugAttributeBase::empty_child() const { return true; }

unsigned short akDebugAttributeBase::ref()
{
    const unsigned short count = refCount();
    if (count == 65535) {
        // Saturated: the count stays, and the attribute is never destroyed through it.
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebugAttributeBase::ref - incrementing beyond maximum value");
        TELU_ASSERT(!(count == 65535), AKDEBUG_SOURCE_ATTRIBUTE);
        return count;
    }
    setRefCount(static_cast<unsigned short>(count + 1));
    return count;
}

unsigned short akDebugAttributeBase::unref()
{
    const unsigned short count = refCount();
    if (count == 0) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebugAttributeBase::ref - decrementing beyond minimum value");
        TELU_ASSERT(!(count == 0), AKDEBUG_SOURCE_ATTRIBUTE);
        return 0;
    }
    if (count == 65535)
        return count;
    if (count == 1) {
        delete this;
        return 0;
    }
    setRefCount(static_cast<unsigned short>(count - 1));
    return static_cast<unsigned short>(count - 1);
}

unsigned short akDebugAttributeBase::getRef() const { return refCount(); }

int akDebugAttributeBase::insert_parent(akDebugAttributeBase* parent)
{
    if (!parent) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugAttributeBase::insert_parent - null attribute");
        return telu::FAILURE;
    }
    if (hasParent(parent)) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr,
                        "akDebugAttributeBase::insert_parent - attribute already in list");
        return telu::FAILURE;
    }
    addParent(parent);
    return telu::SUCCESS;
}

void akDebugAttributeBase::addParent(akDebugAttributeBase* parent)
{
    if (empty_parent()) {
        setParentWord(reinterpret_cast<uintptr_t>(parent));
        return;
    }
    // Several parents live in a block that doubles when it is full.
    const unsigned int n = size_parent();
    ParentBlock* block = (flags() & FLAG_MANY_PARENTS) ? parentBlock() : nullptr;
    if (!block || block->size == block->room) {
        const unsigned int room = 2 * n + 1;  // with the count and room, a multiple of 16 bytes
        // The block's head, then `room` pointers to parents.
        const size_t bytes =
            sizeof(ParentBlock) + room * sizeof(akDebugAttributeBase*);  // NOLINT(bugprone-sizeof-expression)
        auto* grown = static_cast<ParentBlock*>(emAllocRaw::mallocBlock(bytes, AKDEBUG_SOURCE_ATTRIBUTE, __LINE__));
        grown->size = n;
        grown->room = room;
        for (unsigned int i = 0; i < n; ++i)
            grown->items()[i] = getParent(i);
        if (block)
            emAllocRaw::freeBlock(block, AKDEBUG_SOURCE_ATTRIBUTE, __LINE__);
        block = grown;
        setParentWord(reinterpret_cast<uintptr_t>(block));
        setFlags(FLAG_MANY_PARENTS, true);
    }
    block->items()[block->size++] = parent;
}

int akDebugAttributeBase::erase_parent(const_iterator_parent position)
{
    if (position < begin_parent() || position >= end_parent()) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugAttributeBase::erase_parent - invalid iterator");
        return telu::FAILURE;
    }
    if (!(flags() & FLAG_MANY_PARENTS)) {
        setParentWord(0);
        return telu::SUCCESS;
    }
    ParentBlock* block = parentBlock();
    akDebugAttributeBase** items = block->items();
    std::copy(items + position.index() + 1, items + block->size, items + position.index());
    if (--block->size == 1) {
        akDebugAttributeBase* remaining = items[0];
        emAllocRaw::freeBlock(block, AKDEBUG_SOURCE_ATTRIBUTE, __LINE__);
        setFlags(FLAG_MANY_PARENTS, false);
        setParentWord(reinterpret_cast<uintptr_t>(remaining));
    }
    return telu::SUCCESS;
}

void akDebugAttributeBase::removeParent(const akDebugAttributeBase* parent)
{
    if (!(flags() & FLAG_MANY_PARENTS) && parentWord() == reinterpret_cast<uintptr_t>(parent)) {
        setParentWord(0);
        return;
    }
    // From the last: groups that share a child are mostly released in the reverse of the order
    // in which they took it, and the last parent goes without moving the others.
    for (unsigned int i = size_parent(); i-- > 0;)
        if (getParent(i) == parent) {
            erase_parent(begin_parent() + i);
            return;
        }
}

bool akDebugAttributeBase::hasParent(const akDebugAttributeBase* parent) const
{
    return std::find(begin_parent(), end_parent(), parent) != end_parent();
}

const akDebugObject* akDebugAttributeBase::getParentObject() const
{
    const akDebugAttributeBase* current = this;
    while (!current->getType()) {
        if (current->empty_parent())
            return nullptr;
        current = *current->begin_parent();
    }
    return static_cast<const akDebugObject*>(current);
}

void* akDebugAttributeBase::operator new(size_t size)
{
    return emAllocRaw::mallocBlock(size, AKDEBUG_SOURCE_ATTRIBUTE, __LINE__);
}

void akDebugAttributeBase::operator delete(void* block, size_t)
{
    emAllocRaw::freeBlock(block, AKDEBUG_SOURCE_ATTRIBUTE, __LINE__);
}

void* akDebugAttributeBase::operator new(size_t size, const char* file, unsigned int line)
{
    return emAllocRaw::mallocBlock(size, file, line);
}

void akDebugAttributeBase::operator delete(void* block, const char* file, unsigned int line)
{
    emAllocRaw::freeBlock(block, file, line);
}

bool akDebugAttributeBase::compareLocal(const akDebugAttributeBase* other) const
{
    return other && getName() == other->getName();
}

void akDebugAttributeBase::copyLocal(const akDebugAttributeBase* source)
{
    m_nameAndRef = (m_nameAndRef & ~s_pointerMask) | (source->m_nameAndRef & s_pointerMask);
    setFlags(FLAG_ADVANCED | FLAG_TOOL_TIP | FLAG_BIT_TIP | FLAG_ERROR | FLAG_ERROR_LOCAL, false);
    const unsigned short marks = source->flags();
    // The advanced mark and a tool tip that is the bit string of the value travel as flags; only
    // the attributes that carry another tool tip or an error look in the registries.
    setFlags(marks & (FLAG_ADVANCED | FLAG_BIT_TIP | (marks & FLAG_BIT_TIP ? FLAG_TOOL_TIP : 0)), true);
    if ((marks & (FLAG_TOOL_TIP | FLAG_BIT_TIP)) == FLAG_TOOL_TIP || (marks & FLAG_ERROR))
        copyMarks(source);
}

void akDebugAttributeBase::copyMarks(const akDebugAttributeBase* source)
{
    const unsigned short marks = source->flags();
    if ((marks & (FLAG_TOOL_TIP | FLAG_BIT_TIP)) == FLAG_TOOL_TIP && s_toolTips && !(flags() & FLAG_TOOL_TIP)) {
        if (const char* tip = s_toolTips->find(source)) {
            s_toolTips->share(this, tip);
            setFlags(FLAG_TOOL_TIP, true);
        }
    }
    if ((marks & FLAG_ERROR) && !(marks & FLAG_ERROR_LOCAL) && s_errors) {
        std::vector<std::pair<emNotify::Level, const char*>> found;
        auto range = s_errors->equal_range(source);
        for (auto it = range.first; it != range.second; ++it)
            found.emplace_back(it->second.first, it->second.second);
        for (const auto& error : found)
            registerError(this, error.first, error.second, false);
    }
}

int akDebugAttributeBase::initializeClass()
{
    if (s_toolTips)
        return telu::SUCCESS;
    s_toolTips = new ToolTips;
    s_errors = new ErrorMap;
    s_names = new std::set<char*, TextLess>;
    s_indexNames = new std::vector<char*>;
    s_patternNames = new std::unordered_map<PatternKey, const char*, PatternHash>;
    return telu::SUCCESS;
}

int akDebugAttributeBase::shutdownClass()
{
    if (!s_toolTips)
        return telu::SUCCESS;
    // Texts of errors belong to the attributes that carry them, tool tips to the registry;
    // attributes still alive at shutdown have their entries freed here so that nothing is lost
    // track of.
    for (auto& entry : *s_errors)
        freeText(entry.second.second);
    delete s_toolTips;
    delete s_errors;
    for (char* name : *s_names)
        freeText(name);
    delete s_names;
    for (char* name : *s_indexNames)
        freeText(name);
    delete s_indexNames;
    delete s_patternNames;
    s_patternNames = nullptr;
    s_toolTips = nullptr;
    s_errors = nullptr;
    s_names = nullptr;
    s_indexNames = nullptr;
    return telu::SUCCESS;
}

void akDebugAttributeBase::registerAdvanced(akDebugAttributeBase* attribute)
{
    if (attribute)
        attribute->setFlags(FLAG_ADVANCED, true);
}

bool akDebugAttributeBase::isAdvanced(const akDebugAttributeBase* attribute)
{
    return attribute && (attribute->flags() & FLAG_ADVANCED);
}

void akDebugAttributeBase::registerToolTip(akDebugAttributeBase* attribute, const char* text)
{
    if (!attribute || !text || !s_toolTips || (attribute->flags() & FLAG_TOOL_TIP))
        return;
    // A mask's bit string is known from its value: it takes no entry.
    char bits[33];
    const unsigned int width = ToolTips::maskBits(attribute, bits);
    if (width && std::strcmp(bits, text) == 0)
        attribute->setFlags(FLAG_BIT_TIP, true);
    else
        s_toolTips->add(attribute, text);
    attribute->setFlags(FLAG_TOOL_TIP, true);
}

const char* akDebugAttributeBase::getToolTip(const akDebugAttributeBase* attribute)
{
    if (!attribute || !(attribute->flags() & FLAG_TOOL_TIP) || !s_toolTips)
        return nullptr;
    return (attribute->flags() & FLAG_BIT_TIP) ? s_toolTips->bits(attribute) : s_toolTips->find(attribute);
}

void akDebugAttributeBase::registerError(akDebugAttributeBase* attribute, emNotify::Level level, const char* message,
                                         bool keepLocal)
{
    if (!attribute || !s_errors || static_cast<int>(level) < 2)
        return;
    s_errors->emplace(attribute, std::make_pair(level, copyText(message)));
    attribute->setFlags(FLAG_ERROR, true);
    if (keepLocal)
        attribute->setFlags(FLAG_ERROR_LOCAL, true);
}

emNotify::Level akDebugAttributeBase::getMaxErrorLevel(const akDebugAttributeBase* attribute)
{
    int level = -1;
    if (attribute && (attribute->flags() & FLAG_ERROR) && s_errors) {
        auto range = s_errors->equal_range(attribute);
        for (auto it = range.first; it != range.second; ++it)
            level = std::max(level, static_cast<int>(it->second.first));
    }
    return static_cast<emNotify::Level>(level);
}

akDebugAttributeBase::const_iterator_error akDebugAttributeBase::begin_error()
{
    return s_errors ? s_errors->begin() : s_noErrors.begin();
}

akDebugAttributeBase::const_iterator_error akDebugAttributeBase::end_error()
{
    return s_errors ? s_errors->end() : s_noErrors.end();
}

unsigned int akDebugAttributeBase::size_error() { return s_errors ? static_cast<unsigned int>(s_errors->size()) : 0; }
bool akDebugAttributeBase::empty_error() { return size_error() == 0; }

std::pair<akDebugAttributeBase::const_iterator_error, akDebugAttributeBase::const_iterator_error>
akDebugAttributeBase::range_error(const akDebugAttributeBase* attribute)
{
    if (!s_errors || !attribute || !(attribute->flags() & FLAG_ERROR))
        return {end_error(), end_error()};
    return s_errors->equal_range(attribute);
}

const char* akDebugAttributeBase::getPersistentName(const char* name)
{
    if (!name || !s_names)
        return nullptr;
    auto found = s_names->find(const_cast<char*>(name));
    if (found != s_names->end())
        return *found;
    char* copy = copyText(name);
    s_names->insert(copy);
    return copy;
}

const char* akDebugAttributeBase::getPersistentName(const char* pattern, int index)
{
    if (!pattern || !s_patternNames)
        return nullptr;
    auto found = s_patternNames->find({pattern, index});
    if (found != s_patternNames->end())
        return found->second;
    char text[1024];
    std::snprintf(text, sizeof text, pattern, index);
    const char* name = getPersistentName(text);
    s_patternNames->emplace(PatternKey{pattern, index}, name);
    return name;
}

const char* akDebugAttributeBase::getPersistentIndexName(int index)
{
    if (index < 0 || !s_indexNames)
        return nullptr;
    size_t needed = static_cast<size_t>(index);
    if (needed >= s_indexNames->size()) {
        size_t grown = (needed / 10 + 1) * 10;
        char text[16];
        for (size_t i = s_indexNames->size(); i < grown; ++i) {
            std::snprintf(text, sizeof text, "%d", static_cast<int>(i));
            s_indexNames->push_back(copyText(text));
        }
    }
    return (*s_indexNames)[needed];
}

// ---- akDebugGroup ----

akDebugGroup::akDebugGroup(const char* name) : akDebugAttributeBase(name) {}

akDebugGroup::~akDebugGroup()
{
    // Each child loses this parent and one reference, front to back.
    for (akDebugAttributeBase* child : m_children) {
        child->removeParent(this);
        child->unref();
    }
    m_children.clear();
}

int akDebugGroup::getValueString(char* buffer) const { return akDebugPrintText(buffer, ""); }
int akDebugGroup::getTypeString(char* buffer) const { return akDebugPrintText(buffer, ""); }

akDebugAttributeBase* akDebugGroup::makeCopy() const
{
    akDebugGroup* copy = new akDebugGroup(getName());
    copy->copyLocal(this);
    return copy;
}

bool akDebugGroup::compare(const akDebugAttributeBase* other) const
{
    return compareLocal(static_cast<const akDebugGroup*>(other));
}

int akDebugGroup::insert_child(akDebugAttributeBase* child)
{
    if (!child) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugGroup::insert_child - null attribute");
        return telu::FAILURE;
    }
    // A child of this group lists it as a parent and is in its list: only a child that has a parent
    // can be, and the shorter of the two lists tells. A child that many groups share (a copy a
    // reader shares instead of making it again) has a long list of parents.
    if (!child->empty_parent()) {
        const bool listed = child->size_parent() <= m_children.size()
            ? child->hasParent(this)
            : std::find(m_children.begin(), m_children.end(), child) != m_children.end();
        if (listed) {
            emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugGroup::insert_child - attribute already in list");
            return telu::FAILURE;
        }
    }
    child->addParent(this);
    m_children.push_back(child);
    child->ref();
    return telu::SUCCESS;
}

int akDebugGroup::erase_child(const_iterator_child position)
{
    if (m_children.empty() || position < m_children.begin() || position >= m_children.end()) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugGroup::erase_child - invalid iterator");
        return telu::FAILURE;
    }
    akDebugAttributeBase* child = *position;
    child->removeParent(this);
    m_children.erase(static_cast<unsigned int>(position - m_children.begin()));
    child->unref();
    return telu::SUCCESS;
}

akDebugAttributeBase* akDebugGroup::findChild(const char* name) const
{
    if (!name)
        return nullptr;
    for (akDebugAttributeBase* child : m_children)
        if (std::strcmp(child->getName(), name) == 0)
            return child;
    return nullptr;
}

void akDebugGroup::copyLocal(const akDebugGroup* source)
{
    akDebugAttributeBase::copyLocal(source);
    // The copies are new: they have no parent yet, and this group takes the first reference.
    m_children.reserve(m_children.size() + source->m_children.size());
    for (akDebugAttributeBase* child : source->m_children) {
        akDebugAttributeBase* copy = child->makeCopy();
        copy->setParentWord(reinterpret_cast<uintptr_t>(this));
        m_children.push_back(copy);
        copy->ref();
    }
}

bool akDebugGroup::compareLocal(const akDebugGroup* other) const
{
    if (!akDebugAttributeBase::compareLocal(other) || size_child() != other->size_child())
        return false;
    // Children at one place are compared only when they are of one kind: in trees read from
    // damaged files they need not be, and compare() holds only between attributes of one kind.
    for (unsigned int i = 0; i < m_children.size(); ++i) {
        const akDebugAttributeBase& mine = *m_children[i];
        const akDebugAttributeBase& theirs = *other->m_children[i];
        if (typeid(mine) != typeid(theirs) || !mine.compare(&theirs))
            return false;
    }
    return true;
}

// ---- akDebugObject ----

akDebugObject::akDebugObject(const char* name, unsigned int address, akDebugType* type) : akDebugGroup(name)
{
    setTypeAndAddress(type, address);
    setFlags(FLAG_HAS_ADDRESS, true);
    if (address != 0 && type)
        type->registerAddress(this, address);
}

akDebugObject::akDebugObject(const char* name, akDebugType* type) : akDebugGroup(name) { setTypeAndAddress(type, 0); }

void akDebugObject::setTypeAndAddress(akDebugType* type, unsigned int address)
{
    const uintptr_t pointer = reinterpret_cast<uintptr_t>(type);
    TELU_ASSERT((pointer & ~s_typeMask) == 0, AKDEBUG_SOURCE_ATTRIBUTE);
    m_typeWord = (pointer & s_typeMask) | (static_cast<uintptr_t>(address >> 16) << s_typeBits);
    setChildSpare(static_cast<unsigned short>(address & 0xFFFF));
}

akDebugObject* akDebugObject::create(const char* name, unsigned int address, akDebugType* type)
{
    return new akDebugObject(name, address, type);
}

int akDebugObject::getValueString(char* buffer) const
{
    if (!hasAddress())
        return akDebugPrintText(buffer, "");
    return akDebugPrintHex(buffer, getValue());
}

int akDebugObject::getTypeString(char* buffer) const
{
    const char* typeName = getType() ? getType()->getName() : "";
    return std::snprintf(buffer, s_stringBufferSize, hasAddress() ? "%s *" : "%s", typeName);
}

akDebugAttributeBase* akDebugObject::makeCopy() const
{
    akDebugObject* copy =
        hasAddress() ? new akDebugObject(getName(), getValue(), getType()) : new akDebugObject(getName(), getType());
    copy->copyLocal(this);
    return copy;
}

bool akDebugObject::compare(const akDebugAttributeBase* other) const
{
    return compareLocal(static_cast<const akDebugObject*>(other));
}

void akDebugObject::copyLocal(const akDebugObject* source)
{
    akDebugGroup::copyLocal(source);
    setFlags(FLAG_HAS_ADDRESS, source->hasAddress());
    setTypeAndAddress(source->getType(), source->getValue());
}

bool akDebugObject::compareLocal(const akDebugObject* other) const
{
    if (!other)
        return false;
    if (hasAddress() && getValue() == other->getValue())
        return true;
    if (getType() != other->getType())
        return false;
    return akDebugGroup::compareLocal(other);
}

// ---- akDebugElement ----

akDebugElement::akDebugElement(const char* name, unsigned int address, akDebugType* type)
    : akDebugObject(name, address, type)
{}

akDebugElement::akDebugElement(const char* name, akDebugType* type) : akDebugObject(name, type) {}

akDebugObject* akDebugElement::create(const char* name, unsigned int address, akDebugType* type)
{
    return new akDebugElement(name, address, type);
}

int akDebugElement::getValueString(char* buffer) const
{
    return akDebugPrintText(buffer, getValue() == 0 ? "Inherited" : "");
}

int akDebugElement::getTypeString(char* buffer) const
{
    return akDebugPrintText(buffer, getType() ? getType()->getName() : "");
}

akDebugAttributeBase* akDebugElement::makeCopy() const
{
    akDebugElement* copy =
        hasAddress() ? new akDebugElement(getName(), getValue(), getType()) : new akDebugElement(getName(), getType());
    copy->copyLocal(this);
    return copy;
}

bool akDebugElement::compare(const akDebugAttributeBase* other) const
{
    return compareLocal(static_cast<const akDebugElement*>(other));
}

void akDebugElement::copyLocal(const akDebugElement* source) { akDebugObject::copyLocal(source); }

bool akDebugElement::compareLocal(const akDebugElement* other) const { return akDebugGroup::compareLocal(other); }
