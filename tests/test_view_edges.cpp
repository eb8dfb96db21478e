// The viewer at its edges: options where they do not apply, numbers out of range, files it cannot
// read, records and frames that are not there, and texts or arguments that would reorder or take
// over a terminal's line.
#include "schemasupport.h"
#include "viewsupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <telr.h>

#include <algorithm>
#include <fstream>

namespace {

using viewsupport::view;
using viewsupport::ViewRun;

class ViewEdgesTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        dir = testsupport::tempDir();
        scene = dir + "/scene.bin";
        draw = dir + "/draw.bin";
        kiNode root;
        root.setName("Root Node");
        akDebugScene writer;
        ASSERT_EQ(writer.write(scene.c_str(), &root, false), telu::SUCCESS);

        olDrawContext context;
        kiChannel channel;
        kiChannelBin bin;
        olGeometry geometry;
        channel.setDrawContext(&context);
        channel.addBin(&bin);
        bin.addGeometry(nullptr, &geometry, "Opaque");
        akDebugDraw recorder;
        ASSERT_EQ(recorder.write(draw.c_str(), &channel, false), telu::SUCCESS);
        recorder.start(2);
        channel.drawFrame();
        channel.drawFrame();

        akDebugDraw reader;
        ASSERT_EQ(reader.read(draw.c_str()), telu::SUCCESS);
        records = reader.size_record();
        firstFrame = (*reader.begin_record())->frame;
        lastFrame = (*(reader.end_record() - 1))->frame;
        ASSERT_GT(records, 2u);
        ASSERT_NE(firstFrame, lastFrame);
    }

    // The file with the first `name` of its bytes (a type name in its header) replaced.
    std::string withTypeRenamed(const std::string& file, const std::string& name, const std::string& to)
    {
        std::vector<uint8_t> bytes = schemasupport::readFile(file);
        auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
        EXPECT_NE(at, bytes.end());
        std::copy(to.begin(), to.end(), at);
        const std::string renamed = file + ".renamed";
        schemasupport::writeFile(renamed, bytes);
        return renamed;
    }

    std::string dir, scene, draw;
    size_t records = 0;
    unsigned int firstFrame = 0, lastFrame = 0;
};

TEST_F(ViewEdgesTest, OptionsWhereTheyDoNotApplyAreUsageErrors)
{
    const std::pair<std::string, std::string> cases[] = {
        {"--frame 0 " + scene, "--frame applies to draw files; \"" + scene + "\" is a scene file"},
        {"--record 0 --json " + scene, "--record applies to draw files; \"" + scene + "\" is a scene file"},
        {"--summary --record 0 " + scene, "--record applies to draw files; \"" + scene + "\" is a scene file"},
        {"--types --frame 0 " + draw, "--frame applies to the tree, --summary, --find and --address, not to --types"},
        {"--port 8080 " + scene, "--port applies to --serve, not to the tree"},
        {"--depth 1 --diff " + scene + " " + scene, "--depth applies to the tree, --find and --address, not to --diff"},
        {"--exact " + scene, "--exact applies to --find, not to the tree"},
        {"--jsonl --find Root " + scene, "--jsonl applies to the tree, not to --find"},
    };
    for (const auto& entry : cases) {
        const ViewRun run = view(entry.first);
        EXPECT_EQ(run.status, 2) << entry.first;
        EXPECT_TRUE(run.has("akdebug-view: " + entry.second + "\n")) << entry.first << "\n" << run.err;
        EXPECT_EQ(run.out, "") << entry.first;
    }
    EXPECT_EQ(view("--frame " + std::to_string(lastFrame) + " " + draw).status, 0);
    EXPECT_EQ(view("--depth 1 --find root " + scene).status, 0);
}

TEST_F(ViewEdgesTest, NumbersAreWholeAndInRangeAsSaidInPlainWords)
{
    const std::pair<std::string, std::string> cases[] = {
        {"--max-attributes 18446744073709551616",
         "--max-attributes: \"18446744073709551616\" is not a whole number "
         "from 1 to 18446744073709551615"},
        {"--max-attributes 0", "--max-attributes: \"0\" is not a whole number from 1 to 18446744073709551615"},
        {"--max-attributes 1e3", "--max-attributes: \"1e3\" is not a whole number from 1 to 18446744073709551615"},
        {"--depth -1", "--depth: \"-1\" is not a whole number from 0 to 2147483647"},
        {"--depth 2147483648", "--depth: \"2147483648\" is not a whole number from 0 to 2147483647"},
        {"--serve --port 65536", "--port: \"65536\" is not a whole number from 0 to 65535"},
        {"--frame 4294967296", "--frame: \"4294967296\" is not a whole number from 0 to 4294967295"},
        {"--record +1", "--record: \"+1\" is not a whole number from 0 to 4294967295"},
    };
    for (const auto& entry : cases) {
        const ViewRun run = view(entry.first + " " + draw);
        EXPECT_EQ(run.status, 2) << entry.first;
        EXPECT_TRUE(run.has("akdebug-view: " + entry.second)) << run.err;
        EXPECT_FALSE(run.has("1797693")) << run.err;
    }
    EXPECT_EQ(view("--summary --max-attributes 18446744073709551615 " + scene).status, 0);
}

TEST_F(ViewEdgesTest, ARecordOrFrameThatIsNotInTheFileIsSaid)
{
    const std::string last = std::to_string(records - 1),
                      frames = std::to_string(firstFrame) + " to " + std::to_string(lastFrame);
    const std::pair<std::string, std::string> cases[] = {
        {"--record " + std::to_string(records),
         "record " + std::to_string(records) + " is not in \"" + draw + "\": it holds records 0 to " + last},
        {"--frame 4294967295", "frame 4294967295 is not in \"" + draw + "\": its records are of frames " + frames},
        {"--record 0 --frame " + std::to_string(lastFrame),
         "record 0 of frame " + std::to_string(lastFrame) + " is not in \"" + draw + "\": record 0 is of frame " +
             std::to_string(firstFrame)},
    };
    for (const auto& entry : cases)
        for (const char* output : {"", "--summary ", "--find geometry ", "--json ", "--jsonl "}) {
            const ViewRun run = view(output + entry.first + " " + draw);
            EXPECT_EQ(run.status, 1) << output << entry.first;
            EXPECT_TRUE(run.has("akdebug-view: " + entry.second + "\n")) << output << entry.first << "\n" << run.err;
        }
    const ViewRun lastRecord = view("--record " + last + " " + draw);
    EXPECT_EQ(lastRecord.status, 0) << lastRecord.err;
    EXPECT_TRUE(lastRecord.has("Record " + last + " ")) << lastRecord.out;
}

TEST_F(ViewEdgesTest, FilesThatCannotBeReadAreNamedForWhatTheyAre)
{
    std::ofstream(dir + "/empty.bin");
    std::ofstream(dir + "/short.bin") << "abc";
    std::ofstream(dir + "/other.bin") << "not a debug file";
    const std::pair<std::string, std::string> cases[] = {
        {dir + "/empty.bin", "is empty: neither a scene file nor a draw file"},
        {dir + "/short.bin", "holds 3 bytes: neither a scene file nor a draw file"},
        {dir + "/other.bin", "is neither a scene file nor a draw file (it starts with 0x20746F6E)"},
        {dir + "/missing.bin", "cannot be opened: No such file or directory"},
        {dir, "cannot be read: Is a directory"},
        // A type that this viewer does not know is named (as the file holds it, escaped).
        {withTypeRenamed(scene, "kiSwitch", "kiSwitcX"),
         "cannot be read: its type table names kiSwitcX, which this viewer does not know"},
        {withTypeRenamed(draw, "kiSwitch", "kiSw\x1B[1m"),
         "cannot be read: its type table names kiSw\\x1B[1m, which this viewer does not know"},
    };
    for (const auto& entry : cases)
        for (const std::string& output : {std::string(), std::string("--summary "), "--diff " + scene + " "}) {
            const ViewRun run = view(output + "\"" + entry.first + "\"");
            EXPECT_EQ(run.status, 1) << output << entry.first;
            EXPECT_TRUE(run.has("akdebug-view: \"" + entry.first + "\" " + entry.second)) << run.err;
            EXPECT_FALSE(run.has("akDebugScene::read")) << "read as a scene: " << run.err;
            EXPECT_EQ(run.err.find('\x1B'), std::string::npos) << run.err;
            EXPECT_EQ(run.out, "");
        }
    // JSON still gives a whole document, which says the file was not read.
    const ViewRun json = view("--json " + dir + "/empty.bin");
    EXPECT_EQ(json.out, "{\"file\":\"" + dir + "/empty.bin\",\"kind\":null,\"root\":null,\"complete\":false}\n");
    const ViewRun lines = view("--jsonl " + dir + "/empty.bin");
    EXPECT_EQ(lines.out, "{\"file\":\"" + dir + "/empty.bin\",\"kind\":null}\n{\"complete\":false}\n");
}

TEST_F(ViewEdgesTest, CharactersThatReorderOrBreakALineAndArgumentsAreEscaped)
{
    // Bidirectional controls, the line and paragraph separators and U+FEFF, each between letters;
    // other characters beyond ASCII print as they are.
    const std::string name = "a\u202Eb\u202Ac\u2066d\u2069e\u200Ff\u061Cg\u2028h\u2029i\uFEFFj caf\u00E9 \u65E5";
    kiNode root(name.c_str());
    const std::string file = dir + "/bidi.bin";
    akDebugScene writer;
    ASSERT_EQ(writer.write(file.c_str(), &root, false), telu::SUCCESS);
    const ViewRun tree = view(file);
    EXPECT_EQ(tree.status, 0);
    EXPECT_TRUE(
        tree.has("Name [emString] = \"a\\u202Eb\\u202Ac\\u2066d\\u2069e\\u200Ff\\u061Cg\\u2028h\\u2029i\\uFEFFj "
                 "caf\u00E9 \u65E5\""))
        << tree.out;
    for (const char* raw : {"\u202E", "\u202A", "\u2066", "\u2069", "\u200F", "\u061C", "\u2028", "\u2029", "\uFEFF"})
        EXPECT_EQ(tree.out.find(raw), std::string::npos) << "raw in the output";
    const ViewRun found = view("--find j " + file);
    EXPECT_TRUE(found.has("\\u2029i\\uFEFFj")) << found.out;

    // Arguments echoed in messages: an address, an option, a file name.
    const std::pair<std::string, std::string> cases[] = {
        {"--address \"$(printf 'zz\\033[31m')\" " + scene, "bad address \"zz\\x1B[31m\""},
        {"\"$(printf -- '--bo\\033gus')\" " + scene, "--bo\\x1Bgus"},
        {"\"$(printf '" + dir + "/no\\033such')\"", "no\\x1Bsuch\" cannot be opened"},
        {"--depth \"$(printf '\\033[2J')\" " + scene, "\"\\x1B[2J\" is not a whole number"},
    };
    for (const auto& entry : cases) {
        const ViewRun run = view(entry.first);
        EXPECT_NE(run.status, 0) << entry.first;
        EXPECT_TRUE(run.has(entry.second)) << entry.first << "\n" << run.err;
        EXPECT_EQ(run.err.find('\x1B'), std::string::npos) << run.err;
    }
}

}  // namespace
