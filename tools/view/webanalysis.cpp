// The web page's analyses (webapi.h): what a draw changed, the file's statistics, and the difference
// of two recordings.
#include "drawdiff.h"
#include "jsonshape.h"
#include "stats.h"
#include "webapi.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace view {

namespace {

// The most differences the page lists; the counts are of all of them.
constexpr size_t s_maxDifferences = 2000;

}  // namespace

WebApi::Answer WebApi::changes(const Params& params)
{
    auto found = params.find("index");
    const std::string given = found == params.end() ? std::string() : found->second;
    if (!m_draw)
        return {404, "{\"error\":\"changes: a scene file has no records\"}"};
    if (given.empty() || given.size() > 10 ||
        !std::all_of(given.begin(), given.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return {400, "{\"error\":\"changes: index is a whole number\"}"};
    const size_t index = std::stoull(given);
    if (index >= m_records.size())
        return {404, "{\"error\":\"changes: no record has this index\"}"};
    if (!m_stateCompare)
        m_stateCompare = std::make_unique<ValueCompare>(stateCompare());
    JsonText out(false);
    out.raw("{\"index\":").number(index).raw(",\"changes\":").changes(m_records[index], *m_stateCompare).raw("}");
    return {200, std::move(out.out)};
}

void WebApi::changesRequests(const Ask& ask)
{
    for (const RecordView& view : m_records)
        if (view.isDraw())
            ask({{"index", std::to_string(view.index)}});
}

WebApi::Answer WebApi::stats(const Params&)
{
    if (m_stats.empty()) {
        JsonText out(false);
        if (m_draw) {
            DrawStats stats;
            for (const RecordView& view : m_records)
                stats.add(view);
            writeStats(out, m_fileName, stats, m_complete);
        } else {
            writeStats(out, m_fileName, sceneStats(m_scene->getRoot()), m_complete);
        }
        m_stats = std::move(out.out);
    }
    return {200, m_stats};
}

WebApi::Answer WebApi::diff(const Params&)
{
    if (m_diff.empty())
        return {404, "{\"error\":\"diff: the page compares with no other file\"}"};
    return {200, m_diff};
}

bool WebApi::compareWith(const std::string& fileName, unsigned long long maxAttributes, double tolerance)
{
    for (const std::string& file : {m_fileName, fileName})
        if (kindOf(file.c_str()) == FileKind::Scene) {
            std::fprintf(stderr, "akdebug-view: --compare compares two draw files; \"%s\" is a scene file\n",
                         escape(file.c_str()).c_str());
            return false;
        }
    // Both read as --diff reads them, record by record.
    Recording mine, theirs;
    if (!mine.read(m_fileName, maxAttributes, nullptr) || !theirs.read(fileName, maxAttributes, nullptr))
        return false;
    JsonText out(false);
    writeRecordDiff(out, mine, theirs, tolerance, s_maxDifferences);
    m_diff = std::move(out.out);
    m_compareFile = fileName;
    return true;
}

}  // namespace view
