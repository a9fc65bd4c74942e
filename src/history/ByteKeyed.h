#pragma once

#include "SameBytes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHashFunctions>

#include <algorithm>
#include <cstring>
#include <vector>

// A hash map keyed by byte strings, for the few registrations and MPG texts that recur on every line of a large
// history. It probes one flat table, compares bytes only where the whole hash matches, and allocates nothing per
// key: keys are copied into one buffer of their own, or, when they lie in the buffer given at construction (the
// history's own bytes), not copied at all.
//
// Why not QHash<QByteArray, Value>, found through QByteArray::fromRawData: in the benchmark it made the History,
// Graph and vehicle-list rebuilds of a 1,000,000-line history 3 to 10 times slower (the vehicle list of one vehicle
// 333 ms against 34 ms; of 50 vehicles 348 ms against 39 ms): Qt 6.4's seeded hash of an 8-byte QByteArray, which
// QHash always uses, took about 150 ns a key. Even unseeded (QT_HASH_SEED=0, not for use) it was 5-12% slower.
template <typename Value> class ByteKeyed
{
public:
    // keySource: the bytes that keys may lie in and that outlive the map; empty, every key is copied.
    explicit ByteKeyed(QByteArrayView keySource = {})
        : m_source(keySource)
    {
    }

    // The entry for key, or nullptr; valid until the next insert.
    const Value* find(QByteArrayView key) const
    {
        const qsizetype entry = entryOf(key, hashOf(key));
        return entry < 0 ? nullptr : &m_entries[static_cast<size_t>(entry)].value;
    }

    // Adds key, which must not be in the map yet.
    void insert(QByteArrayView key, Value value)
    {
        if (2 * (m_entries.size() + 1) > m_slots.size())
            grow();
        Entry entry { 0, key.size(), hashOf(key), false, std::move(value) };
        if (!m_source.isEmpty() && key.data() >= m_source.data()
            && key.data() + key.size() <= m_source.data() + m_source.size()) {
            entry.offset = key.data() - m_source.data();
            entry.inSource = true;
        } else {
            entry.offset = m_keys.size();
            m_keys.append(key);
        }
        m_slots[freeSlot(entry.hash)] = static_cast<qint32>(m_entries.size());
        m_entries.push_back(std::move(entry));
    }

    qsizetype size() const { return static_cast<qsizetype>(m_entries.size()); }

private:
    struct Entry
    {
        qsizetype offset; // of the key's bytes, in m_source or m_keys
        qsizetype length;
        size_t hash;
        bool inSource;
        Value value;
    };
    static constexpr qint32 Empty = -1;

    // Keys are mostly a few bytes long: those are hashed inline, from at most two overlapping 8-byte loads.
    static size_t hashOf(QByteArrayView key)
    {
        const qsizetype size = key.size();
        if (size > 16)
            return qHash(key, 0);
        const char* bytes = key.data();
        quint64 first = 0;
        quint64 last = 0;
        if (size >= 8) {
            std::memcpy(&first, bytes, 8);
            std::memcpy(&last, bytes + size - 8, 8);
        } else if (size >= 4) {
            quint32 word = 0;
            std::memcpy(&word, bytes, 4);
            first = word;
            std::memcpy(&word, bytes + size - 4, 4);
            last = word;
        } else if (size > 0) {
            first = static_cast<uchar>(bytes[0]) | static_cast<quint64>(static_cast<uchar>(bytes[size / 2])) << 8
                | static_cast<quint64>(static_cast<uchar>(bytes[size - 1])) << 16;
        }
        quint64 hash = (first ^ Q_UINT64_C(0x9E3779B97F4A7C15)) * Q_UINT64_C(0xBF58476D1CE4E5B9);
        hash ^= (last + static_cast<quint64>(size)) * Q_UINT64_C(0x94D049BB133111EB);
        hash ^= hash >> 31;
        hash *= Q_UINT64_C(0xD6E8FEB86659FD93);
        hash ^= hash >> 32;
        return static_cast<size_t>(hash);
    }

    QByteArrayView keyOf(const Entry& entry) const
    {
        const QByteArrayView keys = m_keys;
        return (entry.inSource ? m_source : keys).sliced(entry.offset, entry.length);
    }

    qsizetype entryOf(QByteArrayView key, size_t hash) const
    {
        if (m_slots.empty())
            return -1;
        const size_t mask = m_slots.size() - 1;
        for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const qint32 entry = m_slots[slot];
            if (entry == Empty)
                return -1;
            const Entry& candidate = m_entries[static_cast<size_t>(entry)];
            if (candidate.hash == hash && sameBytes(keyOf(candidate), key))
                return entry;
        }
    }

    size_t freeSlot(size_t hash) const
    {
        const size_t mask = m_slots.size() - 1;
        size_t slot = hash & mask;
        while (m_slots[slot] != Empty)
            slot = (slot + 1) & mask;
        return slot;
    }

    // Doubles the table (kept at most half full) and places every entry again.
    void grow()
    {
        m_slots.assign(std::max<size_t>(16, 2 * m_slots.size()), Empty);
        for (size_t entry = 0; entry < m_entries.size(); ++entry)
            m_slots[freeSlot(m_entries[entry].hash)] = static_cast<qint32>(entry);
    }

    QByteArrayView m_source;
    QByteArray m_keys;
    std::vector<Entry> m_entries;
    std::vector<qint32> m_slots; // power-of-two size; an index into m_entries, or Empty
};
