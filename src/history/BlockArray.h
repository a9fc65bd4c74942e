#pragma once

#include <QtGlobal>

#include <memory>
#include <vector>

// An array of a size fixed up front, written in any order, that takes memory a block at a time as its elements
// are first written. The History page's counting sort writes its records' places slot by slot while it gives
// back the records it has read, so that it needs hardly more than the records themselves. A std::deque resized
// up front in its place made a 1,000,000-record history's peak 7 MB higher (181 MB against 174 MB; 1.18 against
// 1.12 times the file above an empty history), and its reading 8% slower (154 ms against 143 ms).
template <typename T> class BlockArray
{
public:
    // Its elements are unset until written.
    explicit BlockArray(qsizetype size = 0)
        : m_blocks(static_cast<size_t>((size + BlockSize - 1) / BlockSize))
        , m_size(size)
    {
    }

    void set(qsizetype i, T value)
    {
        std::unique_ptr<T[]>& block = m_blocks[static_cast<size_t>(i / BlockSize)];
        if (!block)
            block = std::make_unique<T[]>(BlockSize);
        block[i % BlockSize] = value;
    }

    T operator[](qsizetype i) const { return m_blocks[static_cast<size_t>(i / BlockSize)][i % BlockSize]; }
    qsizetype size() const { return m_size; }

private:
    static constexpr qsizetype BlockSize = 1 << 12;
    std::vector<std::unique_ptr<T[]>> m_blocks;
    qsizetype m_size = 0;
};
