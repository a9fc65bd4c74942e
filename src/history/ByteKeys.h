#pragma once

#include <QByteArrayView>

#include <string>
#include <unordered_map>

// A hash map keyed by a line's bytes that looks keys up without allocating: the readers meet the same few
// registrations and MPG texts on every line of a large history.
template <typename Value> class ByteKeyed
{
public:
    // The entry for key, or nullptr.
    Value* find(QByteArrayView key)
    {
        m_key.assign(key.data(), size_t(key.size()));
        const auto found = m_map.find(m_key);
        return found == m_map.end() ? nullptr : &found->second;
    }

    Value& insert(QByteArrayView key, Value value)
    {
        return m_map.insert_or_assign(std::string(key.data(), size_t(key.size())), std::move(value)).first->second;
    }

    size_t size() const { return m_map.size(); }

private:
    std::unordered_map<std::string, Value> m_map;
    std::string m_key; // reused for every look-up
};
