#include "jsonshape.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace view {

JsonText& JsonText::text(const char* value)
{
    if (!value)
        return raw("null");
    out += nlohmann::json(value).dump(-1, ' ', m_ascii, nlohmann::json::error_handler_t::replace);
    return *this;
}

JsonText& JsonText::nodeMembers(const Node& node)
{
    raw("\"name\":").text(node.name).raw(",\"type\":").text(node.type).raw(",\"value\":").text(node.value);
    if (node.hasAddress) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", node.address);
        raw(",\"address\":").text(hex).raw(",\"addressValue\":").number(node.address);
    }
    raw(",\"advanced\":").boolean(node.advanced).raw(",\"toolTip\":").text(node.toolTip).raw(",\"errors\":[");
    for (size_t i = 0; i < node.errors.size(); ++i)
        raw(i ? ",{\"level\":" : "{\"level\":")
            .raw(std::to_string(node.errors[i].level))
            .raw(",\"message\":")
            .text(node.errors[i].message)
            .raw("}");
    return raw("]");
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
        .raw(",\"name\":")
        .text(view.record->name.c_str());
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
