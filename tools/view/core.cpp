#include "core.h"

#include <cstdio>
#include <cstring>
#include <typeinfo>

namespace view {

namespace {

// The length of the UTF-8 sequence at `p` when it encodes a character that prints (not one of the
// C1 controls U+0080 to U+009F, which 8-bit terminals take as control sequences), else 0.
size_t printableSequence(const unsigned char* p)
{
    if (p[0] < 0xC2 || p[0] > 0xF4)
        return 0;
    const size_t length = p[0] < 0xE0 ? 2 : p[0] < 0xF0 ? 3 : 4;
    for (size_t i = 1; i < length; ++i)
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    if ((p[0] == 0xC2 && p[1] < 0xA0) || (p[0] == 0xE0 && p[1] < 0xA0) || (p[0] == 0xED && p[1] >= 0xA0) ||
        (p[0] == 0xF0 && p[1] < 0x90) || (p[0] == 0xF4 && p[1] >= 0x90))
        return 0;  // C1 controls, overlong forms, surrogates, beyond U+10FFFF
    return length;
}

}  // namespace

std::string escape(const char* text)
{
    std::string out;
    if (!text)
        return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        switch (*p) {
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default:
            if (*p >= 0x20 && *p < 0x7F) {
                out += static_cast<char>(*p);
            } else if (const size_t length = *p >= 0x80 ? printableSequence(p) : 0) {
                out.append(reinterpret_cast<const char*>(p), length);
                p += length - 1;
            } else {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", *p);
                out += hex;
            }
        }
    }
    return out;
}

Node describe(const akDebugAttributeBase* attribute)
{
    Node node;
    node.attribute = attribute;
    char text[akDebugAttributeBase::s_stringBufferSize];
    node.name = attribute->getName();
    attribute->getTypeString(text);
    node.type = text;
    attribute->getValueString(text);
    node.value = text;
    node.advanced = akDebugAttributeBase::isAdvanced(attribute);
    node.toolTip = akDebugAttributeBase::getToolTip(attribute);
    auto errors = akDebugAttributeBase::range_error(attribute);
    for (auto it = errors.first; it != errors.second; ++it)
        node.errors.push_back({static_cast<int>(it->second.first), it->second.second});
    if (const auto* object = dynamic_cast<const akDebugObject*>(attribute)) {
        node.hasAddress = object->hasAddress();
        node.address = object->getValue();
    }
    return node;
}

namespace {

void walkFrom(const akDebugAttributeBase* attribute, int depth, const WalkOptions& options, const Visitor& visitor)
{
    if (!options.advanced && akDebugAttributeBase::isAdvanced(attribute))
        return;
    const Node node = describe(attribute);
    const bool descend = visitor.enter ? visitor.enter(node, depth) : true;
    if (descend && (options.depth < 0 || depth < options.depth))
        for (auto it = attribute->begin_child(); it != attribute->end_child(); ++it)
            walkFrom(*it, depth + 1, options, visitor);
    if (visitor.leave)
        visitor.leave(node, depth);
}

}  // namespace

void walk(const akDebugAttributeBase* root, const WalkOptions& options, const Visitor& visitor)
{
    if (root)
        walkFrom(root, 0, options, visitor);
}

std::vector<const akDebugAttributeBase*> lineage(const akDebugAttributeBase* attribute,
                                                 const akDebugAttributeBase* root)
{
    std::vector<const akDebugAttributeBase*> chain;
    for (const akDebugAttributeBase* at = attribute; at; at = *at->begin_parent()) {
        chain.push_back(at);
        if (at == root)
            return {chain.rbegin(), chain.rend()};
        if (at->empty_parent())
            break;
    }
    return {};
}

std::string pathOf(const akDebugAttributeBase* attribute, const akDebugAttributeBase* root)
{
    std::string path;
    const std::vector<const akDebugAttributeBase*> chain = lineage(attribute, root);
    for (size_t i = 1; i < chain.size(); ++i)
        path += (i > 1 ? "/" : "") + std::string(chain[i]->getName());
    return path;
}

FileKind kindOf(const char* fileName)
{
    emFile file;
    unsigned int magic = 0;
    if (file.open(fileName, "rb") == telu::SUCCESS)
        file.readTyped(&magic);
    if (magic == akDebugScene::MAGIC_NUMBER)
        return FileKind::Scene;
    if (magic == akDebugDraw::MAGIC_NUMBER)
        return FileKind::Draw;
    return FileKind::Unknown;
}

}  // namespace view
