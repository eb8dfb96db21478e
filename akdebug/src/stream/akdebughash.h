// A hash map with open addressing for the stream's per-file bookkeeping: keys are pointers or
// 32-bit addresses, of which a file holds millions, so the map keeps its entries in one array.
#pragma once

#include "akdebugallocator.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

template <class Key, class Value>
class akDebugHashMap
{
public:
    // The value of a key, or null.
    Value* find(Key key)
    {
        if (key == Key())
            return m_hasEmptyKey ? &m_emptyKeyValue : nullptr;
        if (m_slots.empty())
            return nullptr;
        for (size_t i = slotOf(key);; i = (i + 1) & (m_slots.size() - 1)) {
            if (m_slots[i].first == key)
                return &m_slots[i].second;
            if (m_slots[i].first == Key())
                return nullptr;
        }
    }
    const Value* find(Key key) const { return const_cast<akDebugHashMap*>(this)->find(key); }

    // Enters the key with the value unless it is there; returns its value and whether it was new.
    std::pair<Value*, bool> insert(Key key, const Value& value)
    {
        if (key == Key()) {
            bool added = !m_hasEmptyKey;
            if (added)
                m_emptyKeyValue = value;
            m_hasEmptyKey = true;
            return {&m_emptyKeyValue, added};
        }
        if (2 * (m_size + 1) > m_slots.size())
            grow();
        size_t i = slotOf(key);
        for (; m_slots[i].first != Key(); i = (i + 1) & (m_slots.size() - 1))
            if (m_slots[i].first == key)
                return {&m_slots[i].second, false};
        m_slots[i] = {key, value};
        ++m_size;
        return {&m_slots[i].second, true};
    }

    // Takes the key out; false when it was not there.
    bool erase(Key key)
    {
        if (key == Key()) {
            const bool had = m_hasEmptyKey;
            m_hasEmptyKey = false;
            m_emptyKeyValue = Value();
            return had;
        }
        if (m_slots.empty())
            return false;
        const size_t mask = m_slots.size() - 1;
        size_t hole = slotOf(key);
        while (m_slots[hole].first != key) {
            if (m_slots[hole].first == Key())
                return false;
            hole = (hole + 1) & mask;
        }
        // Entries after the hole that could not take their own slot move back into it, so that
        // every entry stays reachable from its slot without a gap.
        for (size_t next = (hole + 1) & mask; m_slots[next].first != Key(); next = (next + 1) & mask) {
            const size_t home = slotOf(m_slots[next].first);
            if (((next - home) & mask) >= ((next - hole) & mask)) {
                m_slots[hole] = m_slots[next];
                hole = next;
            }
        }
        m_slots[hole] = {Key(), Value()};
        --m_size;
        return true;
    }

    // Sets the value of the key, entering it when needed.
    void set(Key key, const Value& value) { *insert(key, value).first = value; }

    // Calls f(key, value) for every entry.
    template <class F>
    void forEach(F f)
    {
        if (m_hasEmptyKey)
            f(Key(), m_emptyKeyValue);
        for (auto& slot : m_slots)
            if (slot.first != Key())
                f(slot.first, slot.second);
    }

    size_t size() const { return m_size + (m_hasEmptyKey ? 1 : 0); }
    void clear()
    {
        m_slots.clear();
        m_slots.shrink_to_fit();
        m_size = 0;
        m_hasEmptyKey = false;
    }

private:
    size_t slotOf(Key key) const
    {
        uint64_t x = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(toPointer(key)));
        x ^= x >> 33;
        x *= 0xff51afd7ed558ccdULL;
        x ^= x >> 33;
        return static_cast<size_t>(x) & (m_slots.size() - 1);
    }
    template <class K>
    static const void* toPointer(K key)
    {
        if constexpr (std::is_pointer<K>::value)
            return key;
        else
            return reinterpret_cast<const void*>(static_cast<uintptr_t>(key));
    }
    void grow()
    {
        Slots old;
        old.swap(m_slots);
        m_slots.assign(old.empty() ? 64 : 2 * old.size(), {Key(), Value()});
        for (const auto& slot : old)
            if (slot.first != Key()) {
                size_t i = slotOf(slot.first);
                while (m_slots[i].first != Key())
                    i = (i + 1) & (m_slots.size() - 1);
                m_slots[i] = slot;
            }
    }

    using Slots = std::vector<std::pair<Key, Value>, akDebugHostAllocator<std::pair<Key, Value>>>;
    Slots m_slots;
    size_t m_size = 0;
    bool m_hasEmptyKey = false;
    Value m_emptyKeyValue{};
};
