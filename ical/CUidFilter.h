#pragma once
// The UIDs an import has stored so far, as a Bloom filter of fixed size: "not seen" is
// certain, "seen" is now and then wrong (about once in 10,000 UIDs at 100,000, once in 30
// at a million), and then the store is asked. Its memory does not grow with the file.
#include <QString>
#include <cstdint>
#include <vector>

class CUidFilter {
public:
    CUidFilter();
    // Whether the UID may have been added before; adds it.
    bool TestAndAdd(const QString& strUid);
    void Clear();

private:
    std::vector<uint64_t> m_words;
};
