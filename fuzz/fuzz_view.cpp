// libFuzzer target for the viewer: the input is written to a file and shown in every form the
// viewer has (tree with advanced attributes and each draw's changes, summary, types, name and
// address searches, records of a draw file, JSON and JSON Lines, statistics, the difference with
// itself and of two of its frames, the web page's data and searches, the names of the types it
// holds that are not registered). The forms walk
// what the reader built, damaged or not, so nothing they meet in a tree may crash them.
#include "fuzzsupport.h"
#include "options.h"
#include "webapi.h"

#include <cstdlib>
#include <cstring>

namespace {

const unsigned long long s_maxAttributes = 2000000;

void showEveryForm(const std::string& file, unsigned int address)
{
    view::Options options;
    options.file = file;
    options.maxAttributes = s_maxAttributes;
    options.walk.advanced = true;
    options.changes = true;
    view::runText(options);
    options.changes = false;

    for (view::Mode mode : {view::Mode::Summary, view::Mode::Types, view::Mode::Find, view::Mode::Address}) {
        view::Options form = options;
        form.mode = mode;
        form.query.text = "a";
        form.address = address;
        view::outputFor(form.mode, form.format)->run(form);
    }
    view::Options record = options;
    record.records.byIndex = true;
    record.records.index = 3;
    view::runText(record);

    view::Options json = options;
    json.format = view::Format::Json;
    json.walk.depth = 6;
    view::runJson(json);
    json.format = view::Format::Jsonl;
    view::runJsonl(json);
    view::unknownTypes(file.c_str());

    view::Options diff = options;
    diff.mode = view::Mode::Diff;
    diff.diff = {file, file};
    view::runDiff(diff);
    diff.diff = {file};
    diff.frames = {0, 1};
    view::runDiff(diff);

    view::Options stats = options;
    stats.mode = view::Mode::Stats;
    view::runStats(stats);
    stats.format = view::Format::Json;
    view::runStats(stats);

    view::WebApi api;
    if (api.read(file, s_maxAttributes)) {
        api.written();
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", address);
        for (const std::string& q : {std::string("a"), std::string(hex)})
            api.answer("find", {{"q", q}});
        api.answer("record", {{"index", "1"}});
        api.answer("changes", {{"index", "2"}});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The outputs print to standard output; libFuzzer reports on standard error.
    static FILE* quiet = std::freopen("/dev/null", "w", stdout);
    if (!quiet)
        std::abort();
    fuzzsupport::initialize();
    const std::string input = fuzzsupport::writeInput(data, size);
    if (input.empty())
        return 0;
    // An address the file may hold: its last four bytes.
    unsigned int address = 0;
    if (size >= 4)
        std::memcpy(&address, data + size - 4, 4);
    showEveryForm(input, address);
    return 0;
}
