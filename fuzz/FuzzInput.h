#pragma once
// Hands out a fuzz input piece by piece. Once the input is used up every
// read yields zeros, so a short input still plays a whole, ordinary session.
// Plain standard C++, so a test can replay an input through the same harness.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_pos >= m_size; }
    size_t Remaining() const { return m_size - m_pos; }

    uint8_t Byte() { return Empty() ? 0 : m_data[m_pos++]; }
    bool Bool() { return (Byte() & 1) != 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
    uint32_t Dword() { return static_cast<uint32_t>(Word() | static_cast<uint32_t>(Word()) << 16); }
    // A value in [0, count); 0 when count is 0.
    size_t Below(size_t count) { return count == 0 ? 0 : Word() % count; }

    // Up to maxLen bytes: a length byte, then as many bytes as are left.
    std::string Text(size_t maxLen) {
        const size_t n = std::min<size_t>(Byte() % (maxLen + 1), Remaining());
        std::string s(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return s;
    }
    // Fills dest with the next bytes, zeros past the end of the input.
    template <class Array>
    void Fill(Array& dest) {
        for (auto& b : dest) b = Byte();
    }
    // Everything not read yet.
    std::string Rest() {
        std::string s(reinterpret_cast<const char*>(m_data + m_pos), Remaining());
        m_pos = m_size;
        return s;
    }

  private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

}  // namespace fuzz
