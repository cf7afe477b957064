#include "controls/ListTags.h"
#include <iterator>

namespace {

struct TagPicture {
    const char* pszTag;
    int nNormal;
    int nSelected;
};

constexpr TagPicture kTags[] = {
    {"(NULL)", 160, 161}, {"(E)", 154, 163},   {"<<", 176, 177},
    {"(T2)", 164, 165},   {"(T1)", 166, 167},  {"(T0)", 168, 169},
    {"(FT2)", 170, 171},  {"(FT1)", 172, 173}, {"(FT0)", 174, 175},
};

const TagPicture* FindTag(const QString& strText)
{
    for (const TagPicture& tag : kTags) {
        if (strText == QLatin1String(tag.pszTag))
            return &tag;
    }
    return nullptr;
}

}  // namespace

BOOL IsListTag(const QString& strText)
{
    return FindTag(strText) != nullptr;
}

int TagBitmapId(const QString& strText, BOOL bSelected)
{
    const TagPicture* pTag = FindTag(strText);
    if (pTag == nullptr)
        return 0;
    return bSelected ? pTag->nSelected : pTag->nNormal;
}
