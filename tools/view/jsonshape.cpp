#include "jsonshape.h"

#include <akdebugattributevalue.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace view {

namespace {

// The length of the UTF-8 sequence at `p` (one to four bytes), or 0 when it is none: then `bad`
// is how many bytes make one replacement, the lead byte and the continuations that were right
// (the byte that breaks a sequence may start the next one). Overlong forms, surrogates and code
// points past U+10FFFF are no sequences.
size_t sequenceAt(const unsigned char* p, size_t& bad)
{
    const unsigned char lead = p[0];
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    bad = 1;
    if (length == 0)
        return 0;
    for (size_t i = 1; i < length; ++i, low = 0x80, high = 0xBF) {
        if (p[i] < low || p[i] > high) {
            bad = i;
            return 0;
        }
    }
    return length;
}

unsigned int codeOf(const unsigned char* p, size_t length)
{
    static const unsigned char leadMask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    unsigned int code = p[0] & leadMask[length];
    for (size_t i = 1; i < length; ++i)
        code = code << 6 | (p[i] & 0x3Fu);
    return code;
}

// The bytes that stand for themselves in a JSON string: printable ASCII but the quote and the
// backslash.
struct Plain
{
    bool of[256] = {};
    Plain()
    {
        for (int c = 0x20; c < 0x7F; ++c)
            of[c] = c != '"' && c != '\\';
    }
};
const Plain s_plain;

uint64_t load(const unsigned char* p)
{
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// True when the eight bytes are all plain: none below 0x20 (nor 0), none from 0x7F on, no quote
// and no backslash. A byte below a bound, or equal to one, is found as in "bit twiddling hacks".
bool plainWord(uint64_t word)
{
    constexpr uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    const auto below = [&](uint64_t bytes, unsigned bound) { return (bytes - ones * bound) & ~bytes & highs; };
    const auto equal = [&](unsigned byte) { return below(word ^ (ones * byte), 1); };
    return !((word & highs) | below(word, 0x20) | equal(0x7F) | equal('"') | equal('\\'));
}

// The room that a text of `length` bytes may take as a member: the key, the text with every byte
// an escape, and its bytes in hexadecimal with their key.
size_t textRoom(size_t length) { return 8 * length + 64; }

}  // namespace

// Writes JSON into room made for it beforehand, with plain copies.
class JsonText::Writer
{
public:
    Writer(JsonText& json, size_t room) : m_json(json), m_at(json.reserve(room)) {}
    // Commits what was written to the text.
    ~Writer() { m_json.commit(m_at); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    Writer& put(const char* piece, size_t length)
    {
        std::memcpy(m_at, piece, length);
        m_at += length;
        return *this;
    }
    template <size_t N>
    Writer& put(const char (&piece)[N])
    {
        return put(piece, N - 1);
    }
    Writer& number(unsigned long long value)
    {
        m_at = std::to_chars(m_at, m_at + 24, value).ptr;
        return *this;
    }
    Writer& boolean(bool value) { return value ? put("true") : put("false"); }
    // The text as a JSON string, or null; false when it is not UTF-8. `length` is the text's.
    bool text(const char* value, size_t length);
    bool text(const char* value) { return text(value, value ? std::strlen(value) : 0); }
    // "KEY":TEXT, and "KEYBytes":"HEX" when the text is not UTF-8; a comma first unless `first`.
    Writer& member(const char* key, const char* value, size_t length, bool first = false);
    Writer& member(const char* key, const char* value, bool first = false)
    {
        return member(key, value, value ? std::strlen(value) : 0, first);
    }

private:
    void escape(unsigned int unit)
    {
        static const char digits[] = "0123456789abcdef";
        const char escaped[6] = {
            '\\', 'u', digits[unit >> 12 & 15], digits[unit >> 8 & 15], digits[unit >> 4 & 15], digits[unit & 15]};
        put(escaped, 6);
    }

    JsonText& m_json;
    char* m_at;
};

bool JsonText::Writer::text(const char* value, size_t length)
{
    if (!value) {
        put("null");
        return true;
    }
    const bool ascii = m_json.m_ascii;
    bool valid = true;
    *m_at++ = '"';
    const unsigned char* p = reinterpret_cast<const unsigned char*>(value);
    const unsigned char* const end = p + length;
    while (*p) {
        // Plain characters eight at a time, then one at a time, through a local pointer that the
        // compiler keeps in a register.
        char* at = m_at;
        for (uint64_t word; end - p >= 8 && plainWord(word = load(p)); p += 8, at += 8)
            std::memcpy(at, &word, 8);
        for (; s_plain.of[*p]; ++p)
            *at++ = static_cast<char>(*p);
        m_at = at;
        const unsigned char c = *p;
        if (!c)
            break;
        if (c < 0x80) {
            const char* named = c == '"' ? "\\\""
                : c == '\\'              ? "\\\\"
                : c == '\n'              ? "\\n"
                : c == '\t'              ? "\\t"
                : c == '\r'              ? "\\r"
                : c == '\b'              ? "\\b"
                : c == '\f'              ? "\\f"
                                         : nullptr;
            if (named)
                put(named, 2);
            else if (c == 0x7F && !ascii)
                *m_at++ = static_cast<char>(c);
            else
                escape(c);
            ++p;
            continue;
        }
        size_t bad = 0;
        const size_t length = sequenceAt(p, bad);
        if (length == 0) {
            valid = false;
            if (ascii)
                put("\\ufffd");
            else
                put("\xEF\xBF\xBD");
            p += bad;
        } else if (!ascii) {
            put(reinterpret_cast<const char*>(p), length);
            p += length;
        } else {
            const unsigned int code = codeOf(p, length);
            if (code > 0xFFFF) {
                escape(0xD7C0 + (code >> 10));
                escape(0xDC00 + (code & 0x3FF));
            } else {
                escape(code);
            }
            p += length;
        }
    }
    *m_at++ = '"';
    return valid;
}

JsonText::Writer& JsonText::Writer::member(const char* key, const char* value, size_t length, bool first)
{
    const size_t keyLength = std::strlen(key);
    if (first)
        put("\"");
    else
        put(",\"");
    put(key, keyLength).put("\":");
    if (text(value, length))
        return *this;
    static const char digits[] = "0123456789abcdef";
    put(",\"").put(key, keyLength).put("Bytes\":\"");
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(value); *p; ++p) {
        *m_at++ = digits[*p >> 4];
        *m_at++ = digits[*p & 15];
    }
    *m_at++ = '"';
    return *this;
}

char* JsonText::reserve(size_t room)
{
    if (m_room.size() < room)
        m_room.resize(std::max(room, 2 * m_room.size()));
    return m_room.data();
}

void JsonText::commit(const char* end) { out.append(m_room.data(), static_cast<size_t>(end - m_room.data())); }

JsonText& JsonText::text(const char* value)
{
    Writer(*this, textRoom(value ? std::strlen(value) : 0)).text(value);
    return *this;
}

JsonText& JsonText::textMember(const char* key, const char* value, bool first)
{
    Writer(*this, textRoom(std::strlen(key) + (value ? std::strlen(value) : 0)) + std::strlen(key))
        .member(key, value, first);
    return *this;
}

template <class EachError>
JsonText& JsonText::nodeMembers(const char* name, const char* type, const char* value, bool hasAddress,
                                unsigned int address, bool advanced, const char* toolTip, const EachError& eachError)
{
    const size_t nameLength = std::strlen(name), typeLength = std::strlen(type), valueLength = std::strlen(value);
    size_t room = textRoom(nameLength) + textRoom(typeLength) + textRoom(valueLength) +
        textRoom(toolTip ? std::strlen(toolTip) : 0) + 128;
    eachError([&](int, const char* message) { room += textRoom(std::strlen(message)) + 32; });
    Writer out(*this, room);
    out.member("name", name, nameLength, true).put(",\"type\":").text(type, typeLength);
    out.member("value", value, valueLength);
    if (hasAddress) {
        char hex[16];
        const int length = akDebugPrintHex(hex, address);
        out.put(",\"address\":\"").put(hex, static_cast<size_t>(length)).put("\",\"addressValue\":").number(address);
    }
    out.put(",\"advanced\":").boolean(advanced).put(",\"toolTip\":").text(toolTip);
    out.put(",\"errors\":[");
    bool first = true;
    eachError([&](int level, const char* message) {
        if (!first)
            out.put(",");
        out.put("{\"level\":").number(static_cast<unsigned int>(level));
        out.put(",\"message\":").text(message);
        out.put("}");
        first = false;
    });
    out.put("]");
    return *this;
}

JsonText& JsonText::nodeMembers(const Node& node)
{
    return nodeMembers(node.name.c_str(), node.type.c_str(), node.value.c_str(), node.hasAddress, node.address,
                       node.advanced, node.toolTip, [&](const auto& write) {
                           for (const Error& error : node.errors)
                               write(error.level, error.message);
                       });
}

JsonText& JsonText::nodeMembers(const akDebugAttributeBase* attribute)
{
    char type[akDebugAttributeBase::s_stringBufferSize], value[akDebugAttributeBase::s_stringBufferSize];
    attribute->getTypeString(type);
    attribute->getValueString(value);
    const akDebugObject* object = asObject(attribute);
    return nodeMembers(attribute->getName(), type, value, object && object->hasAddress(),
                       object ? object->getValue() : 0, akDebugAttributeBase::isAdvanced(attribute),
                       akDebugAttributeBase::getToolTip(attribute), [&](const auto& write) {
                           const auto errors = akDebugAttributeBase::range_error(attribute);
                           for (auto it = errors.first; it != errors.second; ++it)
                               write(static_cast<int>(it->second.first), it->second.second);
                       });
}

JsonText& JsonText::recordMembers(const RecordView& view)
{
    return raw("\"index\":")
        .number(view.index)
        .raw(",\"frame\":")
        .number(view.record->frame)
        .raw(",\"redundant\":")
        .boolean(view.redundant)
        .raw(",\"kind\":")
        .text(view.kindName())
        .textMember("name", view.record->name.c_str());
}

JsonText& JsonText::changes(const RecordView& view, ValueCompare& compare)
{
    if (!view.isDraw() || !view.baseline)
        return raw("null");
    raw("{\"since\":").number(view.baselineIndex).raw(",\"elements\":[");
    const std::vector<StateChange> all = stateChanges(view.baseline, view.record->drawContext, compare);
    for (size_t i = 0; i < all.size(); ++i) {
        raw(i ? ",{\"element\":" : "{\"element\":")
            .text(all[i].element)
            .raw(",\"change\":")
            .text(nameOf(all[i].what))
            .raw(",\"fields\":[");
        for (size_t j = 0; j < all[i].fields.size(); ++j)
            raw(j ? ",{" : "{").differenceMembers(all[i].fields[j]).raw("}");
        raw("]}");
    }
    return raw("]}");
}

JsonText& JsonText::differenceMembers(const Difference& difference)
{
    char type[akDebugAttributeBase::s_stringBufferSize];
    (difference.after ? difference.after : difference.before)->getTypeString(type);
    raw("\"path\":").text(difference.path).raw(",\"type\":").text(type).raw(",\"before\":");
    if (difference.before)
        text(shownValue(difference.before));
    else
        raw("null");
    raw(",\"after\":");
    if (difference.after)
        text(shownValue(difference.after));
    else
        raw("null");
    return *this;
}

}  // namespace view
