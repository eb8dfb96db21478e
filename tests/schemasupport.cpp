#include "schemasupport.h"

#include <emvalues.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

namespace schemasupport {

void ModuleTest::SetUp()
{
    testsupport::clear();
    module = akdebugInitialize();
    ASSERT_NE(module, nullptr);
    ASSERT_EQ(module->initialize(0, nullptr), telu::SUCCESS);
    module->configure();
    testsupport::clear();  // the module's start-up notices
}

void ModuleTest::TearDown()
{
    if (!module)
        return;
    module->shutdown();
    delete module;
}

RoundTrip::RoundTrip() : m_path(testsupport::tempDir() + "/roundtrip.bin") { m_magicNumber = 0xFAFAFAFA; }

RoundTrip::~RoundTrip()
{
    for (akDebugAttributeBase* attribute : m_held)
        attribute->unref();
}

void RoundTrip::open(const char* mode)
{
    emFile* file = new emFile;
    file->open(m_path.c_str(), mode);
    setFile(file);
}

void RoundTrip::begin()
{
    open("wb");
    writeFileHeader();
}

void RoundTrip::finish()
{
    getFile()->close();
    open("rb");
    readFileHeader();
}

void RoundTrip::reread(const std::vector<uint8_t>& bytes)
{
    writeFile(m_path, bytes);
    open("rb");
    readFileHeader();
}

akDebugObject* RoundTrip::read(const char* name)
{
    akDebugObject* object = readObject(name);
    if (object) {
        object->ref();
        m_held.push_back(object);
    }
    return object;
}

uint64_t RoundTrip::bytesLeft() const { return getFile() ? getFile()->remaining() : 0; }
bool RoundTrip::consumedAll() const { return bytesLeft() == 0 && !hasReadFailed(); }
uint64_t RoundTrip::position() const { return getFile() ? getFile()->tell() : 0; }
std::vector<uint8_t> RoundTrip::bytes() const { return readFile(m_path); }
std::string RoundTrip::address(const void* pointer) { return hex(getAddress(pointer)); }

std::string valueOf(const akDebugAttributeBase* attribute)
{
    char buffer[akDebugAttributeBase::s_stringBufferSize];
    attribute->getValueString(buffer);
    return buffer;
}

std::string typeOf(const akDebugAttributeBase* attribute)
{
    char buffer[akDebugAttributeBase::s_stringBufferSize];
    attribute->getTypeString(buffer);
    return buffer;
}

const akDebugAttributeBase* at(const akDebugAttributeBase* root, const std::string& path)
{
    const akDebugAttributeBase* current = root;
    size_t start = 0;
    while (current && start <= path.size()) {
        size_t end = std::min(path.find('/', start), path.size());
        std::string name = path.substr(start, end - start);
        const akDebugAttributeBase* found = nullptr;
        for (auto it = current->begin_child(); it != current->end_child() && !found; ++it)
            if (name == (*it)->getName())
                found = *it;
        current = found;
        start = end + 1;
    }
    return current;
}

const akDebugAttributeBase* child(const akDebugAttributeBase* group, unsigned int i)
{
    return group && i < group->size_child() ? group->begin_child()[i] : nullptr;
}

Rows errors(const akDebugAttributeBase* attribute)
{
    Rows out;
    auto range = akDebugAttributeBase::range_error(attribute);
    for (auto e = range.first; e != range.second; ++e)
        out.push_back(std::to_string(e->second.first) + ": " + e->second.second);
    return out;
}

std::string marks(const akDebugAttributeBase* a)
{
    std::string text;
    if (akDebugAttributeBase::isAdvanced(a))
        text += " [advanced]";
    if (const char* tip = akDebugAttributeBase::getToolTip(a))
        text += std::string(" [tip: ") + tip + "]";
    for (const std::string& error : errors(a))
        text += " [error " + error + "]";
    return text;
}

namespace {

// `all`: every attribute in full; otherwise objects are listed in full only when in `expand`.
void collect(const akDebugAttributeBase* group, const std::string& prefix, bool all, const Rows& expand, Rows& out)
{
    for (auto it = group->begin_child(); it != group->end_child(); ++it) {
        const akDebugAttributeBase* a = *it;
        const std::string path = prefix + a->getName();
        const std::string type = typeOf(a);
        if (!all && type.rfind("emMatrix<", 0) == 0 && type.back() == '>') {
            std::string values;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    values += (values.empty() ? "" : " ") + valueOf(child(child(a, r), c));
            out.push_back(path + ": " + type + " = " + values + marks(a));
            continue;
        }
        out.push_back(path + ": " + type + " = " + valueOf(a) + marks(a));
        if (all || !dynamic_cast<const akDebugObject*>(a) || std::count(expand.begin(), expand.end(), path))
            collect(a, path + "/", all, expand, out);
    }
}

template <class T>
std::string matrixText(const T (&m)[4][4])
{
    std::string text;
    char value[32];
    for (int k = 0; k < 16; ++k) {
        std::snprintf(value, sizeof value, "%g", static_cast<double>(m[k / 4][k % 4]));
        text += (k ? " " : "") + std::string(value);
    }
    return text;
}

}  // namespace

Rows rows(const akDebugAttributeBase* root)
{
    Rows out;
    if (root)
        collect(root, "", true, {}, out);
    return out;
}

Rows objectRows(const akDebugAttributeBase* object, const Rows& expand)
{
    Rows out;
    if (object)
        collect(object, "", false, expand, out);
    return out;
}

::testing::AssertionResult sameRows(const Rows& actual, const Rows& expected)
{
    for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        const std::string a = i < actual.size() ? actual[i] : "(none)";
        const std::string e = i < expected.size() ? expected[i] : "(none)";
        if (a != e)
            return ::testing::AssertionFailure() << "row " << i << "\n  actual:   " << a << "\n  expected: " << e;
    }
    return ::testing::AssertionSuccess();
}

std::string hex(unsigned int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string matrixValues(const double (&m)[4][4]) { return matrixText(m); }
std::string matrixValues(const float (&m)[4][4]) { return matrixText(m); }

int typeIndex(akDebug& stream, const char* name)
{
    akDebugType* type = stream.getType(akDebugTypeDef::find(name));
    return type ? type->getIndex() : -1;
}

namespace {

struct Field
{
    std::string path, type, value;  // the value without its marks
};

Field field(const std::string& row)
{
    const size_t colon = row.find(": ");
    const size_t equals = row.find(" = ", colon);
    if (colon == std::string::npos || equals == std::string::npos)
        return {row, "", ""};
    const std::string value = row.substr(equals + 3);
    return {row.substr(0, colon), row.substr(colon + 2, equals - colon - 2), value.substr(0, value.find(" ["))};
}

// The components of a vector ("x=1, y=2, z=3") or of a matrix row ("1 2 ... 16"); none otherwise.
Rows components(const Field& f)
{
    Rows out;
    const bool matrix = f.type.rfind("emMatrix<", 0) == 0;
    const bool vector = !f.value.empty() && std::islower(static_cast<unsigned char>(f.value[0])) &&
        f.value.find('=') < f.value.find(',');
    const std::string separator = matrix ? " " : ", ";
    for (size_t start = 0; (matrix || vector) && start < f.value.size();) {
        const size_t end = std::min(f.value.find(separator, start), f.value.size());
        const std::string part = f.value.substr(start, end - start);
        out.push_back(vector ? part.substr(part.find('=') + 1) : part);
        start = end + separator.size();
    }
    return out;
}

}  // namespace

void FieldValues::add(int pattern, const std::string& level, const Rows& rows, const Rows& shared)
{
    Level& l = m_levels[level];
    l.shared = shared;
    l.rows[pattern] = rows;
}

int FieldValues::patterns() const
{
    int needed = 1;
    for (const auto& level : m_levels) {
        const Level& l = level.second;
        const Rows& rows = l.rows.begin()->second;
        const long bools = std::count_if(rows.begin(), rows.end(), [&](const std::string& row) {
            const Field f = field(row);
            return f.type == "bool" && !std::count(l.shared.begin(), l.shared.end(), f.path);
        });
        int p = 0;
        while ((1L << p) - 2 < bools)
            ++p;
        needed = std::max(needed, p);
    }
    return needed;
}

::testing::AssertionResult FieldValues::distinct() const
{
    std::set<std::string> faults;
    for (const auto& level : m_levels) {
        const Level& l = level.second;
        auto fault = [&](const std::string& text) { faults.insert("\n  " + level.first + ": " + text); };
        std::map<std::string, std::string> bools;  // path: one bit per pattern
        for (const auto& pattern : l.rows) {
            std::map<std::string, std::string> seen;  // type and value: path
            for (const std::string& row : pattern.second) {
                const Field f = field(row);
                if (f.value.empty() || std::count(l.shared.begin(), l.shared.end(), f.path) ||
                    std::count(l.shared.begin(), l.shared.end(), f.type))
                    continue;
                if (f.type == "bool") {
                    bools[f.path] += f.value == "true" ? '1' : '0';
                    continue;
                }
                const auto first = seen.emplace(f.type + " = " + f.value, f.path);
                if (!first.second)
                    fault("\"" + first.first->second + "\" and \"" + f.path + "\" both show " + f.value);
                Rows parts = components(f);
                std::sort(parts.begin(), parts.end());
                const auto twice = std::adjacent_find(parts.begin(), parts.end());
                if (twice != parts.end())
                    fault("\"" + f.path + "\" repeats the component " + *twice + " in " + f.value);
            }
        }
        std::map<std::string, std::string> seen;  // bits: path
        for (const auto& b : bools) {
            if (b.second.find('0') == std::string::npos || b.second.find('1') == std::string::npos)
                fault("\"" + b.first + "\" holds " + (b.second[0] == '1' ? "true" : "false") + " under every pattern");
            const auto first = seen.emplace(b.second, b.first);
            if (!first.second)
                fault("\"" + first.first->second + "\" and \"" + b.first +
                      "\" hold the same bool under every pattern (" + b.second + ")");
        }
    }
    if (faults.empty())
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    result << "fields that the values do not tell apart:";
    for (const std::string& fault : faults)
        result << fault;
    return result;
}

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

uint32_t word(const std::vector<uint8_t>& bytes, size_t offset)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

bool contains(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& part)
{
    return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

bool endsWith(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& tail)
{
    return bytes.size() >= tail.size() && std::equal(tail.begin(), tail.end(), bytes.end() - tail.size());
}

int countRecords(const std::vector<uint8_t>& bytes, int typeIndex, int tag, unsigned int address)
{
    const int header[3] = {typeIndex, tag, static_cast<int>(address)};
    int count = 0;
    for (size_t i = 0; i + sizeof header <= bytes.size(); i += 4)
        if (std::memcmp(&bytes[i], header, sizeof header) == 0)
            ++count;
    return count;
}

}  // namespace schemasupport
