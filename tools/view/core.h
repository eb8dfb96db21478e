// The viewer's core: what every output shows of an attribute, a walk over a tree, paths, and the
// files themselves. The records of a draw file are in records.h, the searches in search.h. The
// outputs beside it (text, JSON, diff, the web page) read the module's trees only through these.
#pragma once

#include <akdebugdraw.h>
#include <akdebugscene.h>

#include <functional>
#include <string>
#include <vector>

namespace view {

// A text from a file, safe to print: control characters become escapes ("\n", "\t", "\r",
// "\x1B", ...), and so do C1 controls and bytes that are not UTF-8 ("\x9B"); the characters that
// print nothing but reorder or break a line (bidirectional controls, U+2028, U+2029, U+FEFF)
// become "\u202E"; backslashes are doubled. One attribute stays one line, shown in its own order,
// and nothing from a file reaches a terminal as a control sequence.
std::string escape(const char* text);

// An error mark of an attribute: its level and message.
struct Error
{
    int level;
    const char* message;
};

// The attribute as an object with its type (every object a reader builds has one), else null: the
// test that walks over millions of attributes make, without the cost of a dynamic_cast.
inline const akDebugObject* typedObject(const akDebugAttributeBase* attribute)
{
    return attribute->getType() ? static_cast<const akDebugObject*>(attribute) : nullptr;
}

// What every output shows of one attribute. Texts are as the module gives them (not escaped).
struct Node
{
    const akDebugAttributeBase* attribute = nullptr;
    std::string name;
    std::string type;
    std::string value;
    bool advanced = false;
    const char* toolTip = nullptr;  // null when there is none
    std::vector<Error> errors;
    // An object that stands for a host object has an address (0 for a null reference).
    bool hasAddress = false;
    unsigned int address = 0;
};
Node describe(const akDebugAttributeBase* attribute);
// The same into `node`, whose texts keep their room: a walk describes millions of attributes.
void describe(const akDebugAttributeBase* attribute, Node& node);

// The object that `attribute` is, or null. Objects are the attributes with a type: the readers
// give every object that stands for a host object its type, and a class level without one (its
// type missing from a damaged file's table) stands for none, so nothing is lost by skipping it.
inline const akDebugObject* asObject(const akDebugAttributeBase* attribute)
{
    return attribute->getType() ? static_cast<const akDebugObject*>(attribute) : nullptr;
}

// Which attributes a walk visits: advanced ones only when asked; children down to `depth` levels
// below the start (negative: all).
struct WalkOptions
{
    bool advanced = false;
    int depth = -1;
};

// Visits `root` and the attributes below it depth first, in the order of their groups.
// `enter(node, depth)` is called before a node's children (return false to skip them), `leave`
// after them.
struct Visitor
{
    std::function<bool(const Node&, int depth)> enter;
    std::function<void(const Node&, int depth)> leave;
};
void walk(const akDebugAttributeBase* root, const WalkOptions& options, const Visitor& visitor);

// The same walk without describing the attributes, for outputs that show few of their texts or
// none (counts, searches): nothing is formatted that is not shown. `enter(attribute, depth)`
// returns whether to visit the attribute's children; `leave(attribute, depth)` follows them.
template <class Enter, class Leave>
void walkAttributes(const akDebugAttributeBase* root, const WalkOptions& options, Enter&& enter, Leave&& leave,
                    int depth = 0)
{
    if (!root || (!options.advanced && akDebugAttributeBase::isAdvanced(root)))
        return;
    if (enter(root, depth) && (options.depth < 0 || depth < options.depth) && !root->empty_child())
        for (auto it = root->begin_child(), end = root->end_child(); it != end; ++it)
            walkAttributes(*it, options, enter, leave, depth + 1);
    leave(root, depth);
}
template <class Enter>
void walkAttributes(const akDebugAttributeBase* root, const WalkOptions& options, Enter&& enter)
{
    walkAttributes(root, options, enter, [](const akDebugAttributeBase*, int) {});
}

// The attributes from `root` down to `attribute` along first parents, `root` first; empty when
// `attribute` is not below `root` (or is `root` itself: then just `root`).
std::vector<const akDebugAttributeBase*> lineage(const akDebugAttributeBase* attribute,
                                                 const akDebugAttributeBase* root);

// The position of `child` among the children of `parent` (their count when it is none of them).
unsigned int positionIn(const akDebugAttributeBase* parent, const akDebugAttributeBase* child);

// Names of the attributes from below `root` down to `attribute`, joined with "/"; the first
// parent is followed upward. Empty when `attribute` is `root` or not below it.
std::string pathOf(const akDebugAttributeBase* attribute, const akDebugAttributeBase* root);

enum class FileKind { Scene, Draw, Unknown };
// The magic number tells a scene file from a draw file. For a file of neither kind, `why` (when
// given) says what it is instead: "cannot be opened: No such file or directory", "is empty", ...
FileKind kindOf(const char* fileName, std::string* why = nullptr);

// A file's header and type table, read without the objects that follow them.
struct Header
{
    bool whole = false;  // read as far as the end of its type table, in the host library's version
    int version[3] = {0, 0, 0};
    int representations = 0;
    struct Type
    {
        std::string name;                     // as the file holds it
        const akDebugTypeDef* def = nullptr;  // null when no type definition has this name
    };
    std::vector<Type> types;
};
// Nothing is reported here: a header that cannot be read whole is the reader's to explain.
Header readHeader(const char* fileName);

// The names in the file's type table that no type definition is registered under, in the order
// of the table; none when the header cannot be read as far as its table (the reader then says
// why). Nothing is reported here.
std::vector<std::string> unknownTypes(const char* fileName);

}  // namespace view
