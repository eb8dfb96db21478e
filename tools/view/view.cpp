#include "view.h"

#include <cctype>
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

bool Node::isObject() const { return dynamic_cast<const akDebugObject*>(attribute) != nullptr; }

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

std::string pathOf(const akDebugAttributeBase* attribute, const akDebugAttributeBase* root)
{
    std::vector<const char*> names;
    for (const akDebugAttributeBase* at = attribute; at && at != root;
         at = at->empty_parent() ? nullptr : *at->begin_parent()) {
        names.push_back(at->getName());
        if (at->empty_parent())
            return std::string();
    }
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        path += (path.empty() ? "" : "/") + std::string(*it);
    return path;
}

void forEachFound(const akDebug& stream, const std::string& query, bool exact, bool caseSensitive,
                  const akDebugAttributeBase* root, const std::string& prefix,
                  const std::function<void(const akDebugObject* object, const std::string& path)>& found)
{
    std::string key = query;
    if (!caseSensitive)
        for (char& c : key)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const unsigned int flags =
        (caseSensitive ? akDebugType::FIND_CASE_SENSITIVE : 0u) | (exact ? akDebugType::FIND_EXACT : 0u);
    for (auto it = stream.begin_type(); it != stream.end_type(); ++it)
        for (akDebugObject* object = nullptr; (object = (*it)->findObject(key.c_str(), flags, object));) {
            const std::string path = pathOf(object, root);
            if (path.empty() && object != root)
                continue;
            found(object, prefix + (path.empty() ? object->getName() : path));
        }
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

std::vector<const akDebugObject*> RecordView::objects() const
{
    std::vector<const akDebugObject*> found;
    if (record)
        for (const akDebugObject* object :
             {record->channelBin, record->cullRecord, record->geometry, record->drawContext})
            if (object)
                found.push_back(object);
    return found;
}

bool RecordFilter::accepts(const RecordView& view) const
{
    return (!byFrame || view.record->frame == frame) && (!byIndex || view.index == index);
}

const char* kindOf(const akDebugDraw::Record& record)
{
    const char* name = record.name.c_str();
    if (record.channelBin)
        return record.name.empty() ? "Geometry" : "Draw Function";
    if (std::strcmp(name, "Draw Channel Begin") == 0 || std::strcmp(name, "Draw Channel End") == 0)
        return name;
    return "State Change";
}

bool sameState(const akDebugObject* a, const akDebugObject* b)
{
    if (!a || !b || a->getType() != b->getType() || a->size_child() != b->size_child())
        return false;
    // Levels of one kind only: in a damaged file they need not be.
    for (auto i = a->begin_child(), j = b->begin_child(); i != a->end_child(); ++i, ++j)
        if (typeid(**i) != typeid(**j) || !(*i)->compare(*j))
            return false;
    return true;
}

namespace {

// The view of one record, given the draw context of the record before it (null for the first).
RecordView viewOf(const akDebugDraw::Record& record, unsigned int index, const akDebugObject* before)
{
    RecordView view;
    view.index = index;
    view.record = &record;
    view.kind = kindOf(record);
    const bool drawOrChange = std::strcmp(view.kind, "Geometry") == 0 || std::strcmp(view.kind, "Draw Function") == 0 ||
        std::strcmp(view.kind, "State Change") == 0;
    view.redundant = drawOrChange && sameState(record.drawContext, before);
    return view;
}

}  // namespace

std::vector<RecordView> recordViews(const akDebugDraw& draw)
{
    std::vector<RecordView> views;
    views.reserve(draw.size_record());
    const akDebugObject* before = nullptr;
    for (auto it = draw.begin_record(); it != draw.end_record(); ++it) {
        views.push_back(viewOf(**it, static_cast<unsigned int>(views.size()), before));
        before = (*it)->drawContext;
    }
    return views;
}

int readRecords(akDebugDraw& draw, const char* fileName, const RecordFilter& filter,
                const std::function<bool(const RecordView&)>& visit)
{
    unsigned int index = 0;
    // The draw context of the record before, kept for the comparison.
    akDebugObject* before = nullptr;
    bool more = true;
    const int result = draw.read(fileName, [&](const akDebugDraw::Record& record) {
        const RecordView view = viewOf(record, index++, before);
        if (filter.accepts(view))
            more = visit(view);
        if (before)
            before->unref();
        // A damaged file can leave a record without its draw context (a repeat whose source the
        // file never held).
        before = record.drawContext;
        if (before)
            before->ref();
        return more && !(filter.byIndex && view.index >= filter.index);
    });
    if (before)
        before->unref();
    return result;
}

}  // namespace view
