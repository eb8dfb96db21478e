#include "akdebug.h"

#include "akdebughash.h"

#include <tels.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const int s_headerWords[3] = {1, 2, 1};

unsigned int paddedLength(size_t length) { return static_cast<unsigned int>((length + 1 + 3) / 4 * 4); }

}  // namespace

struct akDebug::Tables
{
    akDebugHashMap<unsigned int, const void*> owners;
    akDebugHashMap<const void*, unsigned int> moved;
    akDebugHashMap<const emClassType*, akDebugTypeDef*> resolved;
    akDebugHashMap<const void*, akDebugTypeDef*> cachedTypeDefs;
};

akDebug::akDebug() : m_tables(new Tables) {}

akDebug::~akDebug()
{
    reset();
    setFile(nullptr);
    delete m_tables;
}

akDebugTypeDef* const* akDebug::findCachedTypeDef(const void* key) const { return m_tables->cachedTypeDefs.find(key); }

void akDebug::cacheTypeDef(const void* key, akDebugTypeDef* typeDef) { m_tables->cachedTypeDefs.set(key, typeDef); }

emFile* akDebug::openFile(const char* fileName, const char* mode, const char* operation)
{
    emFile* file = new emFile;
    if (file->open(fileName, mode) == telu::FAILURE) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "%s - unable to open file \"%s\"", operation,
                        fileName ? fileName : "");
        delete file;
        return nullptr;
    }
    return file;
}

void akDebug::setFile(emFile* file)
{
    if (m_file && m_file != file) {
        m_file->close();
        delete m_file;
    }
    m_file = file;
}

void akDebug::reset()
{
    for (akDebugType* type : m_types)
        delete type;
    m_types.clear();
    m_typeBySlot.clear();
    m_tables->resolved.clear();
    m_tables->cachedTypeDefs.clear();
    m_tables->owners.clear();
    m_tables->moved.clear();
    m_readFailed = false;
    m_writeFailed = false;
    m_passedAttributeLimit = false;
    m_depth = 0;
    for (unsigned int& count : m_numRecords)
        count = 0;
}

// ---- typed values ----

unsigned int akDebug::writeBools(const bool* values, unsigned int n)
{
    unsigned int moved = 0;
    for (unsigned int i = 0; m_file && i < n; ++i) {
        bool value = values[i];
        moved += m_file->writeTyped(&value);
    }
    return moved;
}

unsigned int akDebug::readBools(bool* values, unsigned int n)
{
    unsigned int moved = 0;
    for (unsigned int i = 0; m_file && !m_readFailed && i < n; ++i)
        moved += m_file->readTyped(&values[i]);
    return moved;
}

void akDebug::writeFailed()
{
    if (!m_writeFailed)
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::write - write failed");
    m_writeFailed = true;
}

void akDebug::readFailed(void* values, size_t bytes)
{
    std::memset(values, 0, bytes);
    if (!m_readFailed)
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::read - read failed");
    m_readFailed = true;
}

bool akDebug::readFailed(unsigned int moved, unsigned int expected, const char* message)
{
    if (moved == expected)
        return false;
    if (!m_readFailed)
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "%s", message);
    m_readFailed = true;
    return true;
}

void akDebug::failRead(const char* message)
{
    if (!m_readFailed && message)
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "%s", message);
    m_readFailed = true;
}

int akDebug::readCount(unsigned int bytesPerElement) { return checkCount(read<int>(), bytesPerElement); }

int akDebug::checkCount(int n, unsigned int bytesPerElement)
{
    if (n <= 0 || m_readFailed || !m_file)
        return 0;
    uint64_t needed = static_cast<uint64_t>(n) * (bytesPerElement ? bytesPerElement : 1);
    if (needed > m_file->remaining()) {
        failRead("akDebug::readCount - count exceeds the rest of the file");
        return 0;
    }
    return n;
}

// ---- raw bytes and strings ----

int akDebug::writeBytes(const void* source, unsigned int n)
{
    if (!source) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::writeBytes - invalid destination pointer");
        TELU_ASSERT(source != 0, AKDEBUG_SOURCE_STREAM);
        return telu::FAILURE;
    }
    if (n == 0) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::writeBytes - invalid requested size");
        TELU_ASSERT(n != 0, AKDEBUG_SOURCE_STREAM);
        return telu::FAILURE;
    }
    if (!m_file || m_file->write(source, n) != n) {
        if (!m_writeFailed)
            emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::writeBytes - write failed");
        m_writeFailed = true;
        return telu::FAILURE;
    }
    return telu::SUCCESS;
}

int akDebug::readBytes(void* destination, unsigned int n)
{
    if (!destination) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::readBytes - invalid destination pointer");
        TELU_ASSERT(destination != 0, AKDEBUG_SOURCE_STREAM);
        return telu::FAILURE;
    }
    if (n == 0) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::readBytes - invalid requested size");
        TELU_ASSERT(n != 0, AKDEBUG_SOURCE_STREAM);
        return telu::FAILURE;
    }
    if (m_readFailed || !m_file) {
        m_readFailed = true;
        return telu::FAILURE;
    }
    unsigned int moved = m_file->read(destination, n, -1);
    return readFailed(moved, n, "akDebug::readBytes - read failed") ? telu::FAILURE : telu::SUCCESS;
}

int akDebug::writeString(const char* text)
{
    size_t length = text ? std::strlen(text) : 0;
    if (length == 0) {
        write<unsigned int>(0u);
        return telu::SUCCESS;
    }
    int result = telu::SUCCESS;
    if (paddedLength(length) >= s_maxArraySize) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::writeString - inadequate array size");
        // The record keeps the first characters that fit, so the file stays well-formed.
        length = s_maxArraySize - 5;
        result = telu::FAILURE;
    }
    // The buffer starts zeroed: the padding after the text is its terminator.
    char buffer[s_maxArraySize] = {};
    std::memcpy(buffer, text, length);  // NOLINT(bugprone-not-null-terminated-result)
    unsigned int padded = paddedLength(length);
    write<unsigned int>(padded);
    writeBytes(buffer, padded);
    return result;
}

int akDebug::readString(char* buffer, unsigned int size)
{
    if (!buffer || size == 0)
        return telu::FAILURE;
    unsigned int length = read<unsigned int>();
    if (m_readFailed || length == 0) {
        std::memset(buffer, 0, size);
        return m_readFailed ? telu::FAILURE : telu::SUCCESS;
    }
    if (length > m_file->remaining()) {
        std::memset(buffer, 0, size);
        failRead("akDebug::readString - string exceeds the rest of the file");
        return telu::FAILURE;
    }
    int result = telu::SUCCESS;
    unsigned int kept = length;
    if (length > size) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::readString - inadequate array size");
        kept = size;
        result = telu::FAILURE;
    }
    if (readBytes(buffer, kept) != telu::SUCCESS) {
        std::memset(buffer, 0, size);
        return telu::FAILURE;
    }
    // Skip what did not fit.
    for (unsigned int left = length - kept; left > 0;) {
        char scratch[256];
        unsigned int chunk = left < sizeof scratch ? left : static_cast<unsigned int>(sizeof scratch);
        if (readBytes(scratch, chunk) != telu::SUCCESS)
            return telu::FAILURE;
        left -= chunk;
    }
    if (kept < size)
        buffer[kept] = '\0';
    else
        buffer[size - 1] = '\0';
    return result;
}

// ---- objects ----

unsigned int akDebug::getAddress(const void* pointer)
{
    if (!pointer)
        return 0;
    unsigned int low = static_cast<unsigned int>(reinterpret_cast<uintptr_t>(pointer));
    if (low != 0) {
        auto taken = m_tables->owners.insert(low, pointer);
        if (taken.second || *taken.first == pointer)
            return low;
    }
    if (const unsigned int* moved = m_tables->moved.find(pointer))
        return *moved;
    unsigned int address = low;
    while (address == 0 || m_tables->owners.find(address))
        ++address;
    m_tables->owners.insert(address, pointer);
    m_tables->moved.insert(pointer, address);
    return address;
}

akDebugTypeDef* akDebug::findTypeDef(const emClassType* classType)
{
    if (akDebugTypeDef** cached = m_tables->resolved.find(classType))
        return *cached;
    akDebugTypeDef* typeDef = nullptr;
    for (const emClassType* type = classType; type && !typeDef; type = type->getBase())
        typeDef = akDebugTypeDef::find(type->getName());
    m_tables->resolved.insert(classType, typeDef);
    return typeDef;
}

akDebugTypeDef* akDebug::resolveTypeDef(emClassType* classType)
{
    akDebugTypeDef* typeDef = findTypeDef(classType);
    if (!typeDef)
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::writeObject - unable to resolve type definition");
    return typeDef;
}

void akDebug::addType(akDebugType* type)
{
    const unsigned int slot = type->getTypeDef()->getSlot();
    if (slot >= m_typeBySlot.size())
        m_typeBySlot.resize(slot + 1, nullptr);
    m_typeBySlot[slot] = type;
}

int akDebug::writeObject(void* object, akDebugTypeDef* typeDef, bool referenceOnly)
{
    if (!typeDef) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::writeObject - invalid type definition");
        TELU_ASSERT(typeDef != 0, AKDEBUG_SOURCE_STREAM);
        return telu::FAILURE;
    }
    akDebugType* type = getType(typeDef);
    if (!type) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::writeObject - unable to resolve type");
        TELU_ASSERT(type != 0, AKDEBUG_SOURCE_STREAM);
        return telu::FAILURE;
    }
    write<int>(type->getIndex());
    if (!object) {
        write<int>(OBJECT_NULL);
        ++m_numRecords[OBJECT_NULL];
        return telu::SUCCESS;
    }
    if (const unsigned int* written = referenceOnly ? nullptr : type->findWritten(object)) {
        write<int>(OBJECT_REPEAT);
        ++m_numRecords[OBJECT_REPEAT];
        write<unsigned int>(*written);
        return telu::SUCCESS;
    }
    unsigned int address = getAddress(object);
    if (!referenceOnly && m_depth >= s_maxDepth) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::writeObject - nesting too deep");
        referenceOnly = true;
    }
    if (referenceOnly) {
        write<int>(OBJECT_ADDRESS_ONLY);
        ++m_numRecords[OBJECT_ADDRESS_ONLY];
        write<unsigned int>(address);
        return telu::SUCCESS;
    }
    write<int>(OBJECT_FULL);
    ++m_numRecords[OBJECT_FULL];
    write<unsigned int>(address);
    ++m_depth;
    int result = type->write(this, object, address);
    --m_depth;
    return result;
}

// The name attribute of an object registers the name for the object whose record is being read
// (when its type indexes addresses), never for an object read earlier: an unnamed object, or one
// whose type indexes addresses but not names, would otherwise pass its place on to the next named
// object of an unindexed type, and after the file is gone to a freed type.
void akDebug::beginRecord()
{
    akDebugType::s_currentObject = nullptr;
    akDebugType::s_currentType = nullptr;
}

void akDebug::endRecord() { beginRecord(); }

unsigned long long akDebug::getNumAttributesHeld() const
{
    const long long held =
        static_cast<long long>(akDebugAttributeBase::getNumCreated() - akDebugAttributeBase::getNumDestroyed()) -
        m_heldAtStart;
    return held > 0 ? static_cast<unsigned long long>(held) : 0;
}

unsigned long long akDebug::getDefaultAttributeLimit(unsigned long long fileBytes, unsigned long long memoryBytes,
                                                     bool* byMemory)
{
    const unsigned long long perByte =
        fileBytes > ~0ull / s_attributesPerByte ? ~0ull : fileBytes * s_attributesPerByte;
    const unsigned long long amplification = std::max(perByte, s_minAttributeLimit);
    const unsigned long long inMemory = memoryBytes / 2 / s_bytesPerAttribute;
    const bool memory = memoryBytes > 0 && inMemory < amplification;
    if (byMemory)
        *byMemory = memory;
    return memory ? inMemory : amplification;
}

// Repeat records are copies, so a small file could ask for a huge tree; a record that would take
// the read past the limit is refused before it is built.
bool akDebug::canBuild(unsigned long long more)
{
    const unsigned long long held = getNumAttributesHeld();
    const unsigned long long limit = getMaxAttributes();
    if (held <= limit && more <= limit - held)
        return true;
    refuseAttributes();
    return false;
}

void akDebug::refuseAttributes()
{
    const unsigned long long limit = getMaxAttributes();
    char message[512];
    if (m_maxAttributes != s_defaultMaxAttributes)
        std::snprintf(message, sizeof message,
                      "akDebug::readObject - too many attributes: the file would build more than %llu "
                      "(the limit of akDebug::setMaxAttributes)",
                      limit);
    else if (m_defaultLimitByMemory)
        std::snprintf(message, sizeof message,
                      "akDebug::readObject - too many attributes: the file would build more than %llu, the "
                      "default limit of this machine (what half of its %llu MB of memory holds at %llu bytes per "
                      "attribute); a larger limit is set with akDebug::setMaxAttributes",
                      limit, telu::getPhysicalMemorySize() >> 20, s_bytesPerAttribute);
    else
        std::snprintf(message, sizeof message,
                      "akDebug::readObject - too many attributes: the file would build more than %llu, the "
                      "default limit for a file of %llu bytes (%llu attributes per byte, at least %llu); a larger "
                      "limit is set with akDebug::setMaxAttributes",
                      limit, static_cast<unsigned long long>(m_file ? m_file->getSize() : 0), s_attributesPerByte,
                      s_minAttributeLimit);
    m_passedAttributeLimit = !m_readFailed;
    failRead(message);
}

void akDebug::setProgressCallback(ProgressCallback callback, unsigned int intervalMs)
{
    m_progress = std::move(callback);
    m_progressInterval = std::chrono::milliseconds(intervalMs);
    m_progressDue = std::chrono::steady_clock::now() + m_progressInterval;
    m_progressCountdown = s_progressRecords;
}

void akDebug::countRecordRead(int tag)
{
    ++m_numRecords[tag];
    if (m_progress && --m_progressCountdown == 0)
        reportProgress();
}

void akDebug::reportProgress()
{
    m_progressCountdown = s_progressRecords;
    const auto now = std::chrono::steady_clock::now();
    if (now < m_progressDue || !m_file)
        return;
    m_progressDue = now + m_progressInterval;
    Progress progress;
    progress.bytesRead = m_file->tell();
    progress.fileBytes = m_file->getSize();
    progress.records = 0;
    for (unsigned int count : m_numRecords)
        progress.records += count;
    progress.attributes = getNumAttributesHeld();
    m_progress(progress);
}

akDebugObject* akDebug::readObject(const char* name)
{
    if (m_readFailed || !m_file)
        return nullptr;
    if (!canBuild(1))
        return nullptr;
    int index = read<int>();
    if (m_readFailed)
        return nullptr;
    if (index < 0 || index >= static_cast<int>(m_types.size())) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::readObject - invalid type index");
        // The rest of the record cannot be found: the file is damaged from here.
        failRead(nullptr);
        return nullptr;
    }
    akDebugType* type = m_types[index];
    if (!type) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::readObject - unable to resolve type");
        failRead(nullptr);
        return nullptr;
    }
    if (!name)
        name = type->getName();
    int tag = read<int>();
    if (m_readFailed)
        return nullptr;
    if (tag >= OBJECT_NULL && tag <= OBJECT_FULL)
        countRecordRead(tag);
    switch (tag) {
    case OBJECT_NULL: return type->create(name, 0);
    case OBJECT_ADDRESS_ONLY: {
        unsigned int address = read<unsigned int>();
        return m_readFailed ? nullptr : type->create(name, address);
    }
    case OBJECT_REPEAT: {
        unsigned int address = read<unsigned int>();
        if (m_readFailed)
            return nullptr;
        akDebugObject* source = type->getSourceObject(address);
        if (!source) {
            emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::readObject - unable to resolve debug object");
            return nullptr;
        }
        if (!canBuild(type->getSourceSize(address)))
            return nullptr;
        beginRecord();
        akDebugObject* copy = static_cast<akDebugObject*>(source->makeCopy());
        endRecord();
        return copy;
    }
    case OBJECT_FULL: {
        unsigned int address = read<unsigned int>();
        if (m_readFailed)
            return nullptr;
        if (m_depth >= s_maxDepth) {
            failRead("akDebug::readObject - nesting too deep");
            return nullptr;
        }
        beginRecord();
        akDebugObject* object = type->create(name, address);
        if (object) {
            ++m_depth;
            type->read(this, object, address);
            --m_depth;
        }
        endRecord();
        return object;
    }
    default:
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "akDebug::readObject - invalid object tag");
        failRead(nullptr);
        return nullptr;
    }
}

// ---- header ----

int akDebug::writeFileHeader()
{
    reset();
    write<unsigned int>(m_magicNumber);
    write(s_headerWords, 3);
    write<int>(telu::getVersionMajor());
    write<int>(telu::getVersionMinor());
    write<int>(telu::getVersionPatch());
    m_numRepresentations = kiChannel::getNumRepresentations();
    write<int>(m_numRepresentations);
    write<int>(static_cast<int>(akDebugTypeDef::size()));
    int index = 0;
    for (auto it = akDebugTypeDef::begin(); it != akDebugTypeDef::end(); ++it, ++index) {
        writeString((*it)->getName());
        akDebugType* type = new akDebugType(*it, index);
        m_types.push_back(type);
        addType(type);
    }
    return m_writeFailed ? telu::FAILURE : telu::SUCCESS;
}

int akDebug::readFileHeader()
{
    reset();
    m_heldAtStart =
        static_cast<long long>(akDebugAttributeBase::getNumCreated() - akDebugAttributeBase::getNumDestroyed());
    m_defaultAttributeLimit = getDefaultAttributeLimit(m_file ? m_file->getSize() : 0, telu::getPhysicalMemorySize(),
                                                       &m_defaultLimitByMemory);
    m_progressDue = std::chrono::steady_clock::now() + m_progressInterval;
    m_progressCountdown = s_progressRecords;
    // The magic number is checked first, so that a file of another kind is named as such even
    // when it is shorter than a header.
    unsigned int magic = read<unsigned int>();
    if (m_readFailed)
        return telu::FAILURE;
    if (magic != m_magicNumber) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebug::readFileHeader - invalid magic number");
        return telu::FAILURE;
    }
    int words[3];
    read(words, 3);
    int major = read<int>();
    int minor = read<int>();
    int patch = read<int>();
    if (m_readFailed)
        return telu::FAILURE;
    m_fileVersion[0] = major;
    m_fileVersion[1] = minor;
    m_fileVersion[2] = patch;
    if (major != telu::getVersionMajor() || minor != telu::getVersionMinor()) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebug::readFileHeader - file has different version");
        return telu::FAILURE;
    }
    m_numRepresentations = read<int>();
    if (m_numRepresentations < 0 || static_cast<uint64_t>(m_numRepresentations) > m_file->remaining()) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "akDebug::readFileHeader - invalid representation count");
        return telu::FAILURE;
    }
    int count = readCount(4);
    if (m_readFailed)
        return telu::FAILURE;
    char name[s_maxArraySize];
    for (int i = 0; i < count; ++i) {
        readString(name, sizeof name);
        if (m_readFailed)
            return telu::FAILURE;
        akDebugTypeDef* typeDef = akDebugTypeDef::find(name);
        if (!typeDef) {
            emNotify::print(emNotify::LEVEL_WARN, nullptr,
                            "akDebug::readFileHeader - unable to resolve type definition");
            return telu::FAILURE;
        }
        akDebugType* type = new akDebugType(typeDef, i);
        m_types.push_back(type);
        addType(type);
    }
    return telu::SUCCESS;
}
