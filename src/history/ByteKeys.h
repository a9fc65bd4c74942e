#pragma once

#include <QByteArrayView>

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

// A hash map keyed by a line's bytes that looks keys up without allocating: the readers meet the same few
// registrations and MPG texts on every line of a large history.
template <typename Value> class ByteKeyed
{
public:
    // The entry for key, or nullptr.
    const Value* find(QByteArrayView key) const
    {
        const auto found = m_map.find(std::string_view(key.data(), size_t(key.size())));
        return found == m_map.end() ? nullptr : &found->second;
    }

    const Value& insert(QByteArrayView key, Value value)
    {
        const std::string& stored = m_keys.emplace_back(key.data(), size_t(key.size()));
        return m_map.insert_or_assign(std::string_view(stored), std::move(value)).first->second;
    }

    size_t size() const { return m_map.size(); }

private:
    std::deque<std::string> m_keys; // the map's keys view these; a deque never moves what it holds
    std::unordered_map<std::string_view, Value> m_map;
};
