// The JSON that the outputs write, as text appended piece by piece: the one shape of a node and of
// a record that the JSON output and the web page's data both give, and the texts and numbers in
// them. Texts are made by the JSON library: control characters become escapes and bytes that are
// not UTF-8 become U+FFFD, so no text from a file reaches the output raw.
#pragma once

#include "changes.h"
#include "core.h"
#include "records.h"

#include <string>

namespace view {

class JsonText
{
public:
    // With `ascii`, everything beyond ASCII is written as escapes too.
    explicit JsonText(bool ascii) : m_ascii(ascii) {}

    // What was written; the owner may take it away (and clear it) at any time.
    std::string out;

    JsonText& raw(const char* piece)
    {
        out += piece;
        return *this;
    }
    JsonText& raw(const std::string& piece)
    {
        out += piece;
        return *this;
    }
    // A text, or null for a null pointer.
    JsonText& text(const char* value);
    JsonText& text(const std::string& value) { return text(value.c_str()); }
    JsonText& number(unsigned long long value)
    {
        out += std::to_string(value);
        return *this;
    }
    JsonText& boolean(bool value) { return raw(value ? "true" : "false"); }

    // The members of a node, without the braces around them:
    //   "name":"Cull Mask","type":"unsigned int","value":"0x5","advanced":false,"toolTip":"1010...",
    //   "errors":[{"level":5,"message":"..."}]
    // and, between "value" and "advanced", "address":"0x1A2B","addressValue":6699 for an object
    // that stands for a host object.
    JsonText& nodeMembers(const Node& node);
    // The members of a record, without the braces around them:
    //   "index":3,"frame":0,"redundant":true,"kind":"Geometry","name":""
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

private:
    bool m_ascii;
};

}  // namespace view
