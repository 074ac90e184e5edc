#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kavorind {

// The inner loops of every blitter: one row of n bytes from s to d, opaque or colour-keyed. The
// callers clip once per call, so these never test bounds. Both stay branch-free per pixel: the
// keyed copy is a select over 16 bytes at a time written with the compiler's vector extensions
// (plain SSE2 on x86-64, NEON on ARM), which the optimiser keeps at the default -O2.

namespace rowcopy {

typedef uint8_t Bytes16 __attribute__((vector_size(16)));
typedef uint8_t Bytes8 __attribute__((vector_size(8)));

template <typename V> inline V load(const uint8_t* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <typename V> inline void store(uint8_t* p, V v) {
    std::memcpy(p, &v, sizeof v);
}

// Writes s over d where s is not the key. Applying it twice to the same bytes gives the same
// result, so a row's last block may overlap the one before it.
template <typename V> inline void keyedBlock(uint8_t* d, const uint8_t* s, uint8_t key) {
    V src = load<V>(s);
    V keep = (V)(src == key); // all ones where the source pixel is transparent
    store<V>(d, (load<V>(d) & keep) | (src & ~keep));
}

} // namespace rowcopy

// Copies n bytes: short rows (a tile or a sprite) as a few unaligned blocks, long ones with memcpy.
inline void copyRow(uint8_t* d, const uint8_t* s, size_t n) {
    using namespace rowcopy;
    if (n >= 16) {
        if (n >= 128) {
            std::memcpy(d, s, n);
            return;
        }
        size_t i = 0;
        for (; i + 16 <= n; i += 16)
            store<Bytes16>(d + i, load<Bytes16>(s + i));
        if (i < n)
            store<Bytes16>(d + n - 16, load<Bytes16>(s + n - 16));
    } else if (n >= 8) {
        Bytes8 head = load<Bytes8>(s), tail = load<Bytes8>(s + n - 8);
        store<Bytes8>(d, head);
        store<Bytes8>(d + n - 8, tail);
    } else {
        for (size_t i = 0; i < n; ++i)
            d[i] = s[i];
    }
}

// Copies the n bytes of s that differ from key; a byte equal to key leaves d as it was.
inline void copyRowKeyed(uint8_t* d, const uint8_t* s, size_t n, uint8_t key) {
    using namespace rowcopy;
    if (n >= 16) {
        size_t i = 0;
        for (; i + 16 <= n; i += 16)
            keyedBlock<Bytes16>(d + i, s + i, key);
        if (i < n)
            keyedBlock<Bytes16>(d + n - 16, s + n - 16, key);
    } else if (n >= 8) {
        keyedBlock<Bytes8>(d, s, key);
        keyedBlock<Bytes8>(d + n - 8, s + n - 8, key);
    } else {
        for (size_t i = 0; i < n; ++i)
            d[i] = s[i] != key ? s[i] : d[i];
    }
}

// 1 when some column i < n has a[i] != keyA and b[i] != keyB: the two rows share an opaque pixel.
inline int rowsShareOpaque(const uint8_t* a, uint8_t keyA, const uint8_t* b, uint8_t keyB,
                           size_t n) {
    using namespace rowcopy;
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        Bytes16 both =
            (Bytes16)(load<Bytes16>(a + i) != keyA) & (Bytes16)(load<Bytes16>(b + i) != keyB);
        uint64_t halves[2];
        std::memcpy(halves, &both, sizeof halves);
        if (halves[0] | halves[1])
            return 1;
    }
    for (; i < n; ++i)
        if (a[i] != keyA && b[i] != keyB)
            return 1;
    return 0;
}

namespace rowcopy {

// One row of a width known when compiling (a whole 16-, 32- or 64-pixel tile or sprite row).
template <size_t N, bool Keyed> inline void fixedRow(uint8_t* d, const uint8_t* s, uint8_t key) {
    if constexpr (Keyed) {
        for (size_t i = 0; i < N; i += 16)
            keyedBlock<Bytes16>(d + i, s + i, key);
    } else {
        std::memcpy(d, s, N);
    }
}

template <size_t N, bool Keyed>
inline void fixedRows(uint8_t* d, ptrdiff_t dStep, const uint8_t* s, ptrdiff_t sStep, size_t h,
                      uint8_t key) {
    // The pointers move only between rows, never to a row before the first stored one.
    for (size_t r = 0; r < h; ++r) {
        if (r) {
            d += dStep;
            s += sStep;
        }
        fixedRow<N, Keyed>(d, s, key);
    }
}

} // namespace rowcopy

// Copies h rows of n bytes (keyed or not), stepping dStep bytes between destination rows and
// sStep between source rows (negative for rows stored bottom-up). The common whole-row widths get
// a loop whose row copy is a few fixed vector moves.
template <bool Keyed>
inline void copyRows(uint8_t* d, ptrdiff_t dStep, const uint8_t* s, ptrdiff_t sStep, size_t n,
                     size_t h, uint8_t key) {
    using namespace rowcopy;
    switch (n) {
    case 16:
        return fixedRows<16, Keyed>(d, dStep, s, sStep, h, key);
    case 32:
        return fixedRows<32, Keyed>(d, dStep, s, sStep, h, key);
    case 64:
        return fixedRows<64, Keyed>(d, dStep, s, sStep, h, key);
    default:
        for (size_t r = 0; r < h; ++r) {
            if (r) {
                d += dStep;
                s += sStep;
            }
            if constexpr (Keyed)
                copyRowKeyed(d, s, n, key);
            else
                copyRow(d, s, n);
        }
    }
}

} // namespace kavorind
