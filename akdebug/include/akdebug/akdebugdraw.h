// Draw recorder: installed as the debug hook of one host channel, it records what the channel draws
// during a number of frames into a draw file, and reads a draw file back into a list of records.
#pragma once

#include "akdebug.h"

#include <tels.h>

#include <atomic>
#include <functional>

class AKDEBUG_API akDebugDraw : public kiChannel::Debug, public akDebug
{
public:
    static const unsigned int MAGIC_NUMBER = 0xFBFBFBFB;

    enum RecordKind {
        KIND_CHANNEL_BEGIN = 0,
        KIND_CHANNEL_END = 1,
        KIND_GEOMETRY = 2,
        KIND_DRAW_FUNCTION = 3,
        KIND_STATE_CHANGE = 4,
        KIND_END = 5
    };

    // One record read back. Every object it holds carries one reference of the record.
    struct AKDEBUG_API Record
    {
        Record() = default;
        ~Record();
        Record(const Record&) = delete;
        Record& operator=(const Record&) = delete;
        static void* operator new(size_t size);
        static void operator delete(void* block, size_t size);

        unsigned int frame = 0;
        emString name;
        akDebugObject* channelBin = nullptr;
        akDebugObject* cullRecord = nullptr;
        akDebugObject* geometry = nullptr;
        akDebugObject* drawContext = nullptr;
    };
    using const_iterator_record = std::vector<Record*>::const_iterator;

    akDebugDraw();
    // Virtual: a recorder is a polymorphic hook, and may be owned and destroyed as one.
    virtual ~akDebugDraw();

    static int initializeClass();
    static int shutdownClass();

    int write(const char* fileName, kiChannel* channel, bool launchTool);
    int write(emFile* file, kiChannel* channel);
    void start(int frames);
    void pause();
    void stop();
    int read(const char* fileName);
    int read(emFile* file);

    // Reads a draw file one record at a time: `visit` sees each record in file order, and the
    // record is released when it returns (the visitor takes references on the objects it keeps).
    // The stream keeps only what later records can refer to: the objects that repeats copy from,
    // which alone are entered in the indexes. A visitor that returns false ends the reading; the
    // result is then 1. read() gives the same records, kept in the record list.
    using RecordVisitor = std::function<bool(const Record& record)>;
    int read(const char* fileName, const RecordVisitor& visit);
    int read(emFile* file, const RecordVisitor& visit);

    const_iterator_record begin_record() const { return m_records.begin(); }
    const_iterator_record end_record() const { return m_records.end(); }
    unsigned int size_record() const { return static_cast<unsigned int>(m_records.size()); }
    bool empty_record() const { return m_records.empty(); }

private:
    void drawGeometry(olDrawContext* context, const olDrawFunc::Data* data, const char* name) override;
    void drawGeometry(olDrawContext* context, const olGeometryBase* geometry) override;
    void changedState(olDrawContext* context, const char* name) override;
    bool isEnabled() const override;
    void drawChannelBegin(olDrawContext* context, const kiChannel* channel) override;
    void drawChannelEnd(olDrawContext* context, const kiChannel* channel) override;
    void processChannelBin(olDrawContext* context, const kiChannelBin* bin) override;
    void processCullRecord(olDrawContext* context, const kiCullRecord* record) override;

    void reset();
    void uninstall();
    // Reads the records of a file, handing each to `visit`, or keeping them all without one.
    int readRecords(emFile* file, const RecordVisitor* visit);
    // Reads the payload of one record of the given kind into `read`; false when the file ended
    // inside it. The end record and kinds this reader does not know give no record.
    bool readRecord(int kind, unsigned int& frame, Record*& read);

    // Set by start, pause and stop on the application's thread, read by the hooks on the draw
    // thread.
    std::atomic<bool> m_enabled{false};
    std::atomic<bool> m_stopRequested{false};
    bool m_launchTool = false;
    std::atomic<int> m_framesLeft{0};
    emString m_fileName;
    const kiChannelBin* m_currentChannelBin = nullptr;
    const kiCullRecord* m_currentCullRecord = nullptr;
    std::vector<Record*> m_records;
    // The record a damaged file ends inside: not among the records, but the objects read for it
    // are in the type indexes, so it is released with the records.
    Record* m_unfinished = nullptr;
    kiChannel* m_channel = nullptr;
    akDebugTypeDef* m_drawFunctionDataDef = nullptr;
};
