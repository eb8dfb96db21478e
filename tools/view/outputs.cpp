// The viewer's outputs: which mode and format each one shows. A new output is an entry here (and
// its mode or format, with its option on the command line, in main.cpp).
#include "options.h"

namespace view {

const std::vector<Output>& outputs()
{
    static const std::vector<Output> table = {
        {Mode::Tree, Format::Text, runText},    {Mode::Summary, Format::Text, runText},
        {Mode::Types, Format::Text, runTypes},  {Mode::Find, Format::Text, runText},
        {Mode::Address, Format::Text, runText}, {Mode::Tree, Format::Json, runJson},
        {Mode::Find, Format::Json, runJson},    {Mode::Tree, Format::Jsonl, runJsonl},
        {Mode::Diff, Format::Text, runDiff},    {Mode::Serve, Format::Text, runServe},
        {Mode::Html, Format::Text, runHtml},    {Mode::Stats, Format::Text, runStats},
        {Mode::Stats, Format::Json, runStats},
    };
    return table;
}

const Output* outputFor(Mode mode, Format format)
{
    for (const Output& output : outputs())
        if (output.mode == mode && output.format == format)
            return &output;
    return nullptr;
}

}  // namespace view
