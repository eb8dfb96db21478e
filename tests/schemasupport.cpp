#include "schemasupport.h"

#include <emvalues.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace schemasupport {

void ModuleTest::SetUp()
{
    testsupport::clear();
    module = akdebugInitialize();
    ASSERT_NE(module, nullptr);
    ASSERT_EQ(module->initialize(0, nullptr), telu::SUCCESS);
    module->configure();
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

void RoundTrip::begin()
{
    emFile* file = new emFile;
    file->open(m_path.c_str(), "wb");
    setFile(file);
    writeFileHeader();
}

void RoundTrip::finish()
{
    getFile()->close();
    emFile* file = new emFile;
    file->open(m_path.c_str(), "rb");
    setFile(file);
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

std::vector<uint8_t> RoundTrip::bytes() const
{
    std::ifstream in(m_path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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

namespace {

void collect(const akDebugAttributeBase* group, const std::string& prefix, std::vector<std::string>& out)
{
    for (auto it = group->begin_child(); it != group->end_child(); ++it) {
        const akDebugAttributeBase* a = *it;
        std::string line = prefix + a->getName() + ": " + typeOf(a) + " = " + valueOf(a);
        if (akDebugAttributeBase::isAdvanced(a))
            line += " [advanced]";
        if (const char* tip = akDebugAttributeBase::getToolTip(a))
            line += std::string(" [tip: ") + tip + "]";
        auto range = akDebugAttributeBase::range_error(a);
        for (auto e = range.first; e != range.second; ++e)
            line += " [error " + std::to_string(e->second.first) + ": " + e->second.second + "]";
        out.push_back(line);
        collect(a, prefix + a->getName() + "/", out);
    }
}

}  // namespace

std::vector<std::string> rows(const akDebugAttributeBase* root)
{
    std::vector<std::string> out;
    if (root)
        collect(root, "", out);
    return out;
}

const akDebugAttributeBase* at(const akDebugAttributeBase* root, const std::string& path)
{
    const akDebugAttributeBase* current = root;
    size_t start = 0;
    while (current && start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
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

}  // namespace schemasupport
