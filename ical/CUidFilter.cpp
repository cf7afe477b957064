#include "ical/CUidFilter.h"

#include <QHash>
#include <algorithm>

namespace {

constexpr size_t kBits = size_t(1) << 23;  // 1 MiB
constexpr int kHashes = 4;

}  // namespace

CUidFilter::CUidFilter() : m_words(kBits / 64)
{
}

bool CUidFilter::TestAndAdd(const QString& strUid)
{
    // Four positions from two hashes (h1 + i * h2), as good as four hashes of their own.
    const size_t h1 = qHash(strUid, 0x9e3779b97f4a7c15ULL);
    const size_t h2 = qHash(strUid, 0xc2b2ae3d27d4eb4fULL) | 1;
    bool bSeen = true;
    for (int i = 0; i < kHashes; ++i) {
        const size_t nBit = (h1 + size_t(i) * h2) % kBits;
        uint64_t& word = m_words[nBit / 64];
        const uint64_t mask = uint64_t(1) << (nBit % 64);
        bSeen = bSeen && (word & mask) != 0;
        word |= mask;
    }
    return bSeen;
}

void CUidFilter::Clear()
{
    std::fill(m_words.begin(), m_words.end(), 0);
}
