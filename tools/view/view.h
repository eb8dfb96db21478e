// The viewer's core: what every output shows of an attribute, a walk over a tree, the records of a
// draw file with their redundancy, and the files themselves. The outputs beside it (text, JSON,
// diff, the web page) read the module's trees only through this.
#pragma once

#include <akdebugdraw.h>
#include <akdebugscene.h>

#include <functional>
#include <string>
#include <vector>

namespace view {

// A text from a file, safe to print: control characters become escapes ("\n", "\t", "\r",
// "\x1B", ...), and so do C1 controls and bytes that are not UTF-8 ("\x9B"); backslashes are
// doubled. One attribute stays one line and nothing from a file reaches a terminal as a control
// sequence.
std::string escape(const char* text);

// An error mark of an attribute: its level and message.
struct Error
{
    int level;
    const char* message;
};

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
    bool isObject() const;
};
Node describe(const akDebugAttributeBase* attribute);

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

// Names of the attributes from below `root` down to `attribute`, joined with "/"; the first
// parent is followed upward. Empty when `attribute` is `root` or not below it.
std::string pathOf(const akDebugAttributeBase* attribute, const akDebugAttributeBase* root);

// The objects whose name the file's name indexes hold (any part of it, any case, unless `exact` or
// `caseSensitive`), each with its path shown as the outputs show it: from below `root` after
// `prefix`, or the object's own name for `root` itself. Objects not below `root` (the sources of
// repeats kept from earlier records of a draw file) are left out.
void forEachFound(const akDebug& stream, const std::string& query, bool exact, bool caseSensitive,
                  const akDebugAttributeBase* root, const std::string& prefix,
                  const std::function<void(const akDebugObject* object, const std::string& path)>& found);

enum class FileKind { Scene, Draw, Unknown };
// The magic number tells a scene file from a draw file.
FileKind kindOf(const char* fileName);

// One record of a draw file as the viewer shows it.
struct RecordView
{
    unsigned int index = 0;  // in file order, from 0
    const akDebugDraw::Record* record = nullptr;
    // "Draw Channel Begin", "Draw Channel End", "Geometry", "Draw Function" or "State Change".
    const char* kind = "";
    // A state change or a draw whose draw context compares equal to the one of the record before.
    bool redundant = false;
    // The four objects that a record may hold, null where it holds none.
    std::vector<const akDebugObject*> objects() const;
};

// Which records a reading hands on: all, those of one frame, or one by index.
struct RecordFilter
{
    bool byFrame = false;
    unsigned int frame = 0;
    bool byIndex = false;
    unsigned int index = 0;
    bool accepts(const RecordView& view) const;
};

// Reads a draw file one record at a time and hands on the records the filter accepts; returns the
// reader's result (1 or -32767). `visit` returns false to stop.
int readRecords(akDebugDraw& draw, const char* fileName, const RecordFilter& filter,
                const std::function<bool(const RecordView&)>& visit);

// The records that a whole reading (akDebugDraw::read) kept, in file order, with the same kinds and
// redundancy as readRecords gives them. The views point into `draw`'s records.
std::vector<RecordView> recordViews(const akDebugDraw& draw);

// True when two draw contexts hold the same state: their attributes compare equal, level by
// level, with the module's comparison (the objects themselves always share the context's address).
bool sameState(const akDebugObject* a, const akDebugObject* b);

// The kind of a record, from its name and the objects it holds.
const char* kindOf(const akDebugDraw::Record& record);

}  // namespace view
