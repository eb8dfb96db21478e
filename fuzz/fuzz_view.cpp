// libFuzzer target for the viewer: the input is written to a file and shown in every form the
// viewer has (tree with advanced attributes, summary, types, name and address searches, records of
// a draw file, JSON, the difference with itself, the web page's data and searches). The forms walk
// what the reader built, damaged or not, so nothing they meet in a tree may crash them.
#include "fuzzsupport.h"
#include "options.h"
#include "webdata.h"

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
    view::runText(options);

    view::Options summary = options;
    summary.summary = true;
    view::runText(summary);
    view::Options types = options;
    types.types = true;
    view::runText(types);
    view::Options find = options;
    find.find = "a";
    view::runText(find);
    view::Options byAddress = options;
    byAddress.byAddress = true;
    byAddress.address = address;
    view::runText(byAddress);
    view::Options record = options;
    record.records.byIndex = true;
    record.records.index = 3;
    view::runText(record);

    view::Options json = options;
    json.json = true;
    json.walk.depth = 6;
    view::runJson(json);

    view::Options diff = options;
    diff.diff = {file, file};
    view::runDiff(diff);

    view::WebData data;
    if (data.read(file, s_maxAttributes)) {
        data.whole();
        data.find("a", 50);
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", address);
        data.find(hex, 50);
        view::WebData::json out;
        data.record(1, out);
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
