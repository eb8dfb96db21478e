#include "streamsupport.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace streamsupport {

EM_CLASS_TYPE_DEFINE(Thing, "Thing", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(Gadget, "Gadget", Thing::getStaticClassType())

namespace {

const Thing* asThing(void* object) { return dynamic_cast<const Thing*>(static_cast<emClassObject*>(object)); }

int writeThing(akDebug* stream, void* object)
{
    const Thing* thing = asThing(object);
    stream->write<int>(thing->value);
    stream->write<double>(thing->weight);
    stream->write<short>(thing->small);
    stream->write<bool>(thing->flag);
    stream->writeString(thing->getName());
    stream->write<int>(static_cast<int>(thing->refs.size()));
    for (const Thing* ref : thing->refs)
        stream->writeObject(ref, false);
    return telu::SUCCESS;
}

int readThing(akDebug* stream, akDebugObject* object)
{
    object->insert_child(new akDebugAttribute<int>("Value", stream->read<int>()));
    object->insert_child(new akDebugAttribute<double>("Weight", stream->read<double>()));
    object->insert_child(new akDebugAttribute<short>("Small", stream->read<short>()));
    object->insert_child(new akDebugAttribute<bool>("Flag", stream->read<bool>()));
    char name[akDebug::s_maxArraySize];
    stream->readString(name, sizeof name);
    object->insert_child(new akDebugString("Name", name));
    akDebugGroup* refs = new akDebugGroup("Refs");
    object->insert_child(refs);
    int n = stream->readCount(8);
    for (int i = 0; i < n && !stream->hasReadFailed(); ++i)
        if (akDebugObject* ref = stream->readObject(akDebugAttributeBase::getPersistentIndexName(i)))
            refs->insert_child(ref);
    return telu::SUCCESS;
}

int writeNothing(akDebug*, void*) { return telu::SUCCESS; }
int readNothing(akDebug*, akDebugObject*) { return telu::SUCCESS; }

}  // namespace

Registry::Registry(unsigned int thingOptions)
{
    akDebugTypeDef::initializeClass();
    akDebugAttributeBase::initializeClass();
    other = new akDebugTypeDef("Other", nullptr, readNothing, writeNothing, akDebugObject::create, 0);
    thing = new akDebugTypeDef("Thing", nullptr, readThing, writeThing, akDebugObject::create, thingOptions);
}

Registry::~Registry()
{
    delete thing;
    delete other;
    akDebugAttributeBase::shutdownClass();
    akDebugTypeDef::shutdownClass();
}

int Stream::create(const std::string& path)
{
    emFile* file = new emFile;
    if (file->open(path.c_str(), "wb") != telu::SUCCESS) {
        delete file;
        return telu::FAILURE;
    }
    setFile(file);
    return writeFileHeader();
}

int Stream::open(const std::string& path)
{
    emFile* file = new emFile;
    if (file->open(path.c_str(), "rb") != telu::SUCCESS) {
        delete file;
        return telu::FAILURE;
    }
    setFile(file);
    return readFileHeader();
}

void Stream::close() { getFile()->close(); }

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

const akDebugAttributeBase* child(const akDebugAttributeBase* group, const char* name)
{
    for (auto it = group->begin_child(); it != group->end_child(); ++it)
        if (std::strcmp((*it)->getName(), name) == 0)
            return *it;
    return nullptr;
}

}  // namespace streamsupport
