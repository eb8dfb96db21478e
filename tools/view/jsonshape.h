// The JSON that the outputs write, as text appended piece by piece: the one shape of a node and of
// a record that the JSON output and the web page's data both give, and the texts and numbers in
// them. Texts are escaped straight into the text: control characters become escapes and bytes
// that are not UTF-8 become U+FFFD, so no text from a file reaches the output raw; and where a
// text from a file is not UTF-8, its bytes are given beside it in hexadecimal ("nameBytes" beside
// "name"), so that nothing is lost: two names that differ in one such byte stay apart.
#pragma once

#include "changes.h"
#include "core.h"
#include "records.h"

#include <charconv>
#include <cstring>
#include <string>
#include <vector>

namespace view {

class JsonText
{
public:
    // With `ascii`, everything beyond ASCII is written as escapes too.
    explicit JsonText(bool ascii) : m_ascii(ascii) {}
    virtual ~JsonText() = default;
    JsonText(const JsonText&) = delete;
    JsonText& operator=(const JsonText&) = delete;

    // What was written (unless a derived class takes it elsewhere); the owner may take it away
    // (and clear it) at any time.
    std::string out;

    JsonText& raw(const char* piece)
    {
        append(piece, std::strlen(piece));
        return *this;
    }
    JsonText& raw(const std::string& piece)
    {
        append(piece.data(), piece.size());
        return *this;
    }
    // A text, or null for a null pointer.
    JsonText& text(const char* value);
    JsonText& text(const std::string& value) { return text(value.c_str()); }
    // A member whose value is a text from a file: "KEY":TEXT, then "KEYBytes":"HEX" with the
    // text's bytes when it is not UTF-8. Preceded by a comma unless `first`.
    JsonText& textMember(const char* key, const char* value, bool first = false);
    JsonText& number(unsigned long long value)
    {
        char digits[24];
        append(digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
        return *this;
    }
    JsonText& boolean(bool value) { return raw(value ? "true" : "false"); }

    // The members of a node, without the braces around them:
    //   "name":"Cull Mask","type":"unsigned int","value":"0x5","advanced":false,"toolTip":"1010...",
    //   "errors":[{"level":5,"message":"..."}]
    // and, between "value" and "advanced", "address":"0x1A2B","addressValue":6699 for an object
    // that stands for a host object. A name or value that is not UTF-8 has "nameBytes" or
    // "valueBytes" after it.
    JsonText& nodeMembers(const Node& node);
    // The same of an attribute, made as it is written: nothing is kept between attributes.
    JsonText& nodeMembers(const akDebugAttributeBase* attribute);
    // The members of a record, without the braces around them:
    //   "index":3,"frame":0,"redundant":true,"kind":"Geometry","name":""
    // ("nameBytes" too when the name is not UTF-8).
    JsonText& recordMembers(const RecordView& view);
    // What changed in the state of a draw since its baseline (changes.h), as the value of a
    // "changes" member:
    //   {"since":3,"elements":[{"element":"olMaterial::Element","change":"changed","fields":[
    //    {"path":"Material/Color, Diffuse","type":"emVec4<float>","before":"r=0.6, ...","after":"r=0.1, ..."}]}]}
    // null for a record that is no draw, or a draw without a baseline.
    JsonText& changes(const RecordView& view, ValueCompare& compare);
    // The members of a difference (compare.h), without the braces around them:
    //   "path":...,"type":...,"before":...,"after":...
    // the side that has no value null; "type" is the type after (before, when there is none after).
    JsonText& differenceMembers(const Difference& difference);

protected:
    // Where the text goes: pieces appended, and room for a piece of at most `room` bytes that is
    // written and then committed up to `end`. By default to `out`.
    virtual void append(const char* piece, size_t length) { out.append(piece, length); }
    virtual char* reserve(size_t room);
    virtual void commit(const char* end);

private:
    class Writer;
    // The members of a node; `eachError(write)` calls write(level, message) for each error mark.
    template <class EachError>
    JsonText& nodeMembers(const char* name, const char* type, const char* value, bool hasAddress, unsigned int address,
                          bool advanced, const char* toolTip, const EachError& eachError);

    bool m_ascii;
    // Where a piece is made before it is appended to `out`, with room enough for all of it.
    std::vector<char> m_room;
};

}  // namespace view
