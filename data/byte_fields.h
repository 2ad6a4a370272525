// Little- and big-endian number fields made of plain bytes.
//
// The radio record is a file format: every field sits at a fixed byte offset
// and multi-byte numbers are little-endian. Modelling those numbers as byte
// arrays keeps every structure at alignment 1 (no packing pragmas, no
// unaligned access) and gives the same bytes on any host.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vkt {

struct U16 {
    std::uint8_t b[2];

    constexpr std::uint16_t get() const
    {
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    constexpr void set(std::uint16_t v)
    {
        b[0] = static_cast<std::uint8_t>(v);
        b[1] = static_cast<std::uint8_t>(v >> 8);
    }
    constexpr operator std::uint16_t() const { return get(); }
    constexpr U16 &operator=(std::uint16_t v)
    {
        set(v);
        return *this;
    }
};

struct U32 {
    std::uint8_t b[4];

    constexpr std::uint32_t get() const
    {
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    constexpr void set(std::uint32_t v)
    {
        b[0] = static_cast<std::uint8_t>(v);
        b[1] = static_cast<std::uint8_t>(v >> 8);
        b[2] = static_cast<std::uint8_t>(v >> 16);
        b[3] = static_cast<std::uint8_t>(v >> 24);
    }
    constexpr operator std::uint32_t() const { return get(); }
    constexpr U32 &operator=(std::uint32_t v)
    {
        set(v);
        return *this;
    }
};

static_assert(sizeof(U16) == 2 && alignof(U16) == 1);
static_assert(sizeof(U32) == 4 && alignof(U32) == 1);

// Big-endian helpers for the radio image, where every number of 2 or 4
// bytes (other than BCD frequencies and tone codes) is most significant
// byte first.
inline void PutBE16(std::uint8_t *p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}
inline void PutBE32(std::uint8_t *p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}
inline std::uint16_t GetBE16(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t GetBE32(const std::uint8_t *p)
{
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

} // namespace vkt
