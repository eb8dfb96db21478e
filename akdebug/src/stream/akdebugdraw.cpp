#include "akdebugdraw.h"

#include "akdebugscene.h"

#include <telr.h>

namespace {
bool s_initialized = false;
}

// ---- records ----

akDebugDraw::Record::~Record()
{
    for (akDebugObject* object : {channelBin, cullRecord, geometry, drawContext})
        if (object)
            object->unref();
}

void* akDebugDraw::Record::operator new(size_t size)
{
    return emAllocRaw::mallocBlock(size, "akdebug/src/lib/libakdebug/akdebugdraw", __LINE__);
}

void akDebugDraw::Record::operator delete(void* block, size_t)
{
    emAllocRaw::freeBlock(block, "akdebug/src/lib/libakdebug/akdebugdraw", __LINE__);
}

// ---- recorder ----

akDebugDraw::akDebugDraw() { reset(); }

akDebugDraw::~akDebugDraw()
{
    uninstall();
    reset();
}

int akDebugDraw::initializeClass()
{
    s_initialized = true;
    return telu::SUCCESS;
}

int akDebugDraw::shutdownClass()
{
    s_initialized = false;
    return telu::SUCCESS;
}

void akDebugDraw::reset()
{
    m_magicNumber = MAGIC_NUMBER;
    m_enabled = false;
    m_stopRequested = false;
    m_launchTool = false;
    m_framesLeft = 0;
    m_currentChannelBin = nullptr;
    m_currentCullRecord = nullptr;
    for (Record* record : m_records)
        delete record;
    m_records.clear();
    delete m_unfinished;
    m_unfinished = nullptr;
    akDebug::reset();
}

void akDebugDraw::uninstall()
{
    if (m_channel && m_channel->getDebug() == this)
        m_channel->setDebug(nullptr);
    m_channel = nullptr;
}

int akDebugDraw::write(const char* fileName, kiChannel* channel, bool launchTool)
{
    emFile* file = openFile(fileName, "wb", "akDebugDraw::write");
    if (!file)
        return telu::FAILURE;
    int result = write(file, channel);
    if (result == telu::SUCCESS) {
        m_launchTool = launchTool;
        m_fileName.assign(fileName);
    }
    return result;
}

int akDebugDraw::write(emFile* file, kiChannel* channel)
{
    if (!file || !file->isOpen()) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugDraw::write - file is not open");
        return telu::FAILURE;
    }
    uninstall();
    setFile(file);
    reset();
    if (writeFileHeader() == telu::FAILURE) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugDraw::write - unable to write file header");
        return telu::FAILURE;
    }
    m_drawFunctionDataDef = akDebugTypeDef::find("olDrawFunc::Data");
    if (channel) {
        channel->setDebug(this);
        m_channel = channel;
    }
    return telu::SUCCESS;
}

void akDebugDraw::start(int frames)
{
    m_framesLeft = frames;
    m_enabled = true;
}

void akDebugDraw::pause() { m_enabled = false; }

void akDebugDraw::stop() { m_stopRequested = true; }

bool akDebugDraw::isEnabled() const { return m_enabled; }

void akDebugDraw::processChannelBin(olDrawContext*, const kiChannelBin* bin) { m_currentChannelBin = bin; }

void akDebugDraw::processCullRecord(olDrawContext*, const kiCullRecord* record) { m_currentCullRecord = record; }

void akDebugDraw::drawChannelBegin(olDrawContext* context, const kiChannel*)
{
    akDebug::write<int>(KIND_CHANNEL_BEGIN);
    akDebug::write<unsigned int>(kiThread::resolveFrameNumber());
    writeObject(static_cast<const olDrawContext*>(context), false);
    if (m_framesLeft > 0 && --m_framesLeft == 0)
        stop();
}

void akDebugDraw::drawGeometry(olDrawContext* context, const olGeometryBase* geometry)
{
    akDebug::write<int>(KIND_GEOMETRY);
    writeObject(m_currentChannelBin, false);
    writeObject(m_currentCullRecord, false);
    writeObject(geometry, false);
    writeObject(static_cast<const olDrawContext*>(context), false);
}

void akDebugDraw::drawGeometry(olDrawContext* context, const olDrawFunc::Data* data, const char* name)
{
    akDebug::write<int>(KIND_DRAW_FUNCTION);
    writeString(name);
    writeObject(m_currentChannelBin, false);
    writeObject(m_currentCullRecord, false);
    writeObject(static_cast<const emClassObject*>(data), m_drawFunctionDataDef, false);
    writeObject(static_cast<const olDrawContext*>(context), false);
}

void akDebugDraw::changedState(olDrawContext* context, const char* name)
{
    akDebug::write<int>(KIND_STATE_CHANGE);
    writeString(name);
    writeObject(static_cast<const olDrawContext*>(context), false);
}

void akDebugDraw::drawChannelEnd(olDrawContext* context, const kiChannel*)
{
    akDebug::write<int>(KIND_CHANNEL_END);
    writeObject(static_cast<const olDrawContext*>(context), false);
    emFile* file = getFile();
    if (!m_stopRequested) {
        // A host that dies mid-recording leaves a file readable up to the last complete frame.
        if (file)
            file->flush();
        return;
    }
    m_enabled = false;
    akDebug::write<int>(KIND_END);
    if (file)
        file->close();
    if (m_launchTool) {
        akDebugLaunchTool("akDebugDraw::write", "DebugDraw.exe", "DebugDrawD.exe", m_fileName.c_str());
        m_launchTool = false;
    }
}

// ---- reading ----

int akDebugDraw::read(const char* fileName) { return read(fileName, RecordVisitor()); }

int akDebugDraw::read(emFile* file) { return readRecords(file, nullptr); }

int akDebugDraw::read(const char* fileName, const RecordVisitor& visit)
{
    emFile* file = openFile(fileName, "rb", "akDebugDraw::read");
    if (!file)
        return telu::FAILURE;
    return visit ? readRecords(file, &visit) : readRecords(file, nullptr);
}

int akDebugDraw::read(emFile* file, const RecordVisitor& visit) { return readRecords(file, visit ? &visit : nullptr); }

int akDebugDraw::readRecords(emFile* file, const RecordVisitor* visit)
{
    if (!file || !file->isOpen()) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugDraw::read - file is not open");
        return telu::FAILURE;
    }
    uninstall();
    setFile(file);
    reset();
    if (readFileHeader() == telu::FAILURE) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugDraw::read - unable to read file header");
        return telu::FAILURE;
    }
    if (visit)
        for (akDebugType* type : m_types)
            type->setKeepSourcesOnly(true);
    unsigned int frame = 0;
    for (;;) {
        if (file->remaining() == 0) {
            emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebugDraw::read - file ends without end record");
            return telu::SUCCESS;
        }
        const int kind = akDebug::read<int>();
        Record* record = nullptr;
        if (hasReadFailed() || !readRecord(kind, frame, record)) {
            // A record refused for the attributes it would build is whole in the file.
            emNotify::print(emNotify::LEVEL_WARN, nullptr,
                            hasPassedAttributeLimit() ? "akDebugDraw::read - record refused: too many attributes"
                                                      : "akDebugDraw::read - file ends inside a record");
            return telu::FAILURE;
        }
        if (kind == KIND_END)
            return telu::SUCCESS;
        if (!record)  // a kind this reader does not know: nothing follows it
            continue;
        if (!visit) {
            m_records.push_back(record);
            continue;
        }
        const bool more = (*visit)(*record);
        for (akDebugType* type : m_types)
            type->finishRecord();
        delete record;
        if (!more)
            return telu::SUCCESS;
    }
}

bool akDebugDraw::readRecord(int kind, unsigned int& frame, Record*& read)
{
    if (kind < KIND_CHANNEL_BEGIN || kind >= KIND_END)
        return true;
    Record* record = new Record;
    if (kind == KIND_CHANNEL_BEGIN)
        frame = akDebug::read<unsigned int>();
    record->frame = frame;
    if (kind == KIND_CHANNEL_BEGIN)
        record->name.assign("Draw Channel Begin");
    else if (kind == KIND_CHANNEL_END)
        record->name.assign("Draw Channel End");
    else if (kind == KIND_DRAW_FUNCTION || kind == KIND_STATE_CHANGE) {
        char name[s_maxArraySize];
        readString(name, sizeof name);
        record->name.assign(name);
    }
    auto keep = [](akDebugObject* object) {
        if (object)
            object->ref();
        return object;
    };
    if (kind == KIND_GEOMETRY || kind == KIND_DRAW_FUNCTION) {
        record->channelBin = keep(readObject("Channel Bin"));
        record->cullRecord = keep(readObject("Cull Record"));
        record->geometry = keep(readObject("Geometry"));
    }
    record->drawContext = keep(readObject("Draw Context"));
    if (hasReadFailed()) {
        m_unfinished = record;
        return false;
    }
    read = record;
    return true;
}
