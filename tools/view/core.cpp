#include "core.h"

#include <akdebugtypedef.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

// True for the characters that print nothing yet change how a line shows: the bidirectional
// controls (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069), which reorder what
// follows them, the line and paragraph separators U+2028 and U+2029, and U+FEFF.
bool invisible(unsigned int code)
{
    return code == 0x061C || code == 0x200E || code == 0x200F || (code >= 0x2028 && code <= 0x202E) ||
        (code >= 0x2066 && code <= 0x2069) || code == 0xFEFF;
}

// The character of a UTF-8 sequence of two or three bytes.
unsigned int codeOf(const unsigned char* p, size_t length)
{
    return length == 2 ? (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu)
                       : (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
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
                if (length < 4 && invisible(codeOf(p, length))) {
                    char code[8];
                    std::snprintf(code, sizeof code, "\\u%04X", codeOf(p, length));
                    out += code;
                } else {
                    out.append(reinterpret_cast<const char*>(p), length);
                }
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
    describe(attribute, node);
    return node;
}

void describe(const akDebugAttributeBase* attribute, Node& node)
{
    node.attribute = attribute;
    char text[akDebugAttributeBase::s_stringBufferSize];
    node.name = attribute->getName();
    attribute->getTypeString(text);
    node.type = text;
    attribute->getValueString(text);
    node.value = text;
    node.advanced = akDebugAttributeBase::isAdvanced(attribute);
    node.toolTip = akDebugAttributeBase::getToolTip(attribute);
    node.errors.clear();
    auto errors = akDebugAttributeBase::range_error(attribute);
    for (auto it = errors.first; it != errors.second; ++it)
        node.errors.push_back({static_cast<int>(it->second.first), it->second.second});
    const akDebugObject* object = asObject(attribute);
    node.hasAddress = object && object->hasAddress();
    node.address = object ? object->getValue() : 0;
}

void walk(const akDebugAttributeBase* root, const WalkOptions& options, const Visitor& visitor)
{
    // One node per depth, described again for each attribute at that depth.
    std::vector<Node> nodes;
    walkAttributes(
        root, options,
        [&](const akDebugAttributeBase* attribute, int depth) {
            if (nodes.size() <= static_cast<size_t>(depth))
                nodes.resize(static_cast<size_t>(depth) + 1);
            describe(attribute, nodes[depth]);
            return visitor.enter ? visitor.enter(nodes[depth], depth) : true;
        },
        [&](const akDebugAttributeBase*, int depth) {
            if (visitor.leave)
                visitor.leave(nodes[depth], depth);
        });
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

unsigned int positionIn(const akDebugAttributeBase* parent, const akDebugAttributeBase* child)
{
    unsigned int position = 0;
    for (auto it = parent->begin_child(); it != parent->end_child() && *it != child; ++it)
        ++position;
    return position;
}

std::string pathOf(const akDebugAttributeBase* attribute, const akDebugAttributeBase* root)
{
    std::string path;
    const std::vector<const akDebugAttributeBase*> chain = lineage(attribute, root);
    for (size_t i = 1; i < chain.size(); ++i)
        path += (i > 1 ? "/" : "") + std::string(chain[i]->getName());
    return path;
}

FileKind kindOf(const char* fileName, std::string* why)
{
    unsigned int magic = 0;
    size_t read = 0;
    errno = 0;
    FILE* file = std::fopen(fileName, "rb");
    if (file) {
        read = std::fread(&magic, 1, sizeof magic, file);
        if (read < sizeof magic && std::ferror(file) && why)
            *why = std::string("cannot be read: ") + std::strerror(errno);
        std::fclose(file);
    } else if (why) {
        *why = std::string("cannot be opened: ") + std::strerror(errno);
    }
    if (read == sizeof magic && magic == akDebugScene::MAGIC_NUMBER)
        return FileKind::Scene;
    if (read == sizeof magic && magic == akDebugDraw::MAGIC_NUMBER)
        return FileKind::Draw;
    if (why && why->empty()) {
        char text[96];
        if (read == 0)
            std::snprintf(text, sizeof text, "is empty: neither a scene file nor a draw file");
        else if (read < sizeof magic)
            std::snprintf(text, sizeof text, "holds %zu byte%s: neither a scene file nor a draw file", read,
                          read == 1 ? "" : "s");
        else
            std::snprintf(text, sizeof text, "is neither a scene file nor a draw file (it starts with 0x%08X)", magic);
        *why = text;
    }
    return FileKind::Unknown;
}

namespace {

// Reads a file's header as far as its type table with the module's own checked reads.
class HeaderReader : public akDebug
{
public:
    Header read(const char* fileName)
    {
        Header header;
        setFile(openFile(fileName, "rb", "akdebug-view"));
        const unsigned int magic = akDebug::read<unsigned int>();
        int words[6];
        akDebug::read(words, 6);  // three fixed words, then the host library's version
        std::copy(words + 3, words + 6, header.version);
        if ((magic != akDebugScene::MAGIC_NUMBER && magic != akDebugDraw::MAGIC_NUMBER) || hasReadFailed() ||
            words[3] != telu::getVersionMajor() || words[4] != telu::getVersionMinor())
            return header;
        header.representations = akDebug::read<int>();
        const int count = readCount(4);
        if (header.representations < 0 || hasReadFailed())
            return header;
        char name[s_maxArraySize];
        for (int i = 0; i < count && !hasReadFailed(); ++i)
            if (readString(name, sizeof name) == telu::SUCCESS)
                header.types.push_back({name, akDebugTypeDef::find(name)});
        header.whole = !hasReadFailed() && header.types.size() == static_cast<size_t>(count);
        return header;
    }
};

}  // namespace

Header readHeader(const char* fileName)
{
    // The reader's reports of a damaged header are the module's, when it reads the file.
    const emNotify::Handler previous = emNotify::setHandler([](int, const char*) {});
    Header header = HeaderReader().read(fileName);
    emNotify::setHandler(previous);
    return header;
}

std::vector<std::string> unknownTypes(const char* fileName)
{
    std::vector<std::string> unknown;
    for (const Header::Type& type : readHeader(fileName).types)
        if (!type.def)
            unknown.push_back(type.name);
    return unknown;
}

}  // namespace view
