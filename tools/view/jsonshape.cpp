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

}  // namespace view
