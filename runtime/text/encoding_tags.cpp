// The tag-to-code-page table.
#include "runtime/text/encoding_tags.h"

#include "platform/code_pages.h"

namespace qv {
namespace {

struct TagPage {
    i16 base;
    u16 code_page;
};

// Looked up on the low 16 bits of the tag as a signed number, so the unknown tag is -1.
constexpr TagPage kTable[] = {
    {0, 10000},   {1, 10001},   {2, 10002},   {3, 10003},   {4, 10004},   {5, 10005},   {6, 10006},   {7, 10007},
    {35, 10081},  {37, 10079},  {518, 708},   {1024, 437},  {1029, 737},  {1030, 775},  {1040, 850},  {1041, 851},
    {1042, 852},  {1043, 855},  {1044, 857},  {1045, 860},  {1046, 861},  {1047, 862},  {1048, 863},  {1049, 864},
    {1050, 865},  {1051, 866},  {1052, 869},  {1053, 874},  {1056, 932},  {1057, 936},  {1058, 949},  {1059, 950},
    {1280, 1252}, {1281, 1250}, {1282, 1251}, {1283, 1253}, {1284, 1254}, {1285, 1255}, {1286, 1256}, {1287, 1257},
    {1288, 1258}, {1296, 1361}, {1536, 1252}, {1585, 936},  {2561, 932},  {3073, 37},   {3074, 37},   {-1, 1252},
};

}  // namespace

u32 code_page_of_tag(u32 tag)
{
    if (tag == kEncodingUTF8)
        return kCodePageUTF8;
    const i16 base = static_cast<i16>(tag & 0xFFFF);
    if (base == 256 || base == 257 || base == 259) {
        switch (tag >> 26) {
        case 0: return kCodePageUTF16;
        case 1: return kCodePageUTF7;
        case 2: return kCodePageUTF8;
        default: return 0;
        }
    }
    if (base == static_cast<i16>(kEncodingISO2022JP))
        return kCodePageISO2022JP;
    if (base == static_cast<i16>(kEncodingEUCJP))
        return kCodePageEUCJP;
    for (const TagPage& entry : kTable)
        if (entry.base == base)
            return entry.code_page;
    return 0;
}

bool is_usable_code_page(u32 code_page)
{
    switch (code_page) {
    case 0: return false;
    case kCodePageEUCJP:
    case kCodePageISO2022JP:
    case kCodePageUTF8:
    case kCodePageUTF16: return true;
    default: return platform::is_valid_code_page(code_page);
    }
}

}  // namespace qv
