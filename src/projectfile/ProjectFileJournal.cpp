// The journal's bytes: written before a change in place, read back after a crash.
#include "ProjectFileJournal.h"

#include <array>

namespace {

const char kMagic[] = "QJOURNL1";
const std::size_t kMagicSize = 8;
const std::size_t kHeadSize = kMagicSize + 8 + 8;
const std::size_t kTrailSize = 4;

// CRC-32 (the polynomial of zip and PNG), a table of one entry per byte value.
const std::array<std::uint32_t, 256>& CrcTable() {
    static const std::array<std::uint32_t, 256> s_table = [] {
        std::array<std::uint32_t, 256> table{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            table[n] = c;
        }
        return table;
    }();
    return s_table;
}

std::uint32_t UpdateCrc(std::uint32_t nCrc, const char* pData, std::size_t nSize) {
    const std::array<std::uint32_t, 256>& table = CrcTable();
    for (std::size_t i = 0; i < nSize; ++i) {
        nCrc = table[(nCrc ^ static_cast<unsigned char>(pData[i])) & 0xFF] ^ (nCrc >> 8);
    }
    return nCrc;
}

void AppendNumber(std::string& strOut, std::uint64_t nValue, int nBytes) {
    for (int i = 0; i < nBytes; ++i) {
        strOut += static_cast<char>((nValue >> (8 * i)) & 0xFF);
    }
}

std::uint64_t ReadNumber(const std::string& strIn, std::size_t nAt, int nBytes) {
    std::uint64_t nValue = 0;
    for (int i = nBytes - 1; i >= 0; --i) {
        nValue = (nValue << 8) | static_cast<unsigned char>(strIn[nAt + i]);
    }
    return nValue;
}

} // namespace

std::string MakeJournalPath(const std::string& strPath) {
    const std::size_t nNameAt = strPath.find_last_of("\\/") + 1; // 0 when there is none
    return strPath.substr(0, nNameAt) + '~' + strPath.substr(nNameAt) + ".journal";
}

std::string MakeJournalHead(std::uint64_t nOldLength, std::uint64_t nOffset) {
    std::string strHead(kMagic, kMagicSize);
    AppendNumber(strHead, nOldLength, 8);
    AppendNumber(strHead, nOffset, 8);
    return strHead;
}

std::string MakeJournalTrail(const std::string& strHead, const char* pTail, std::size_t nTail) {
    const std::uint32_t nCrc =
        UpdateCrc(UpdateCrc(0xFFFFFFFFu, strHead.data(), strHead.size()), pTail, nTail);
    std::string strTrail;
    AppendNumber(strTrail, nCrc ^ 0xFFFFFFFFu, kTrailSize);
    return strTrail;
}

std::string MakeJournal(const std::string& strOld, std::size_t nOffset) {
    const std::string strHead = MakeJournalHead(strOld.size(), nOffset);
    const char* pTail = strOld.data() + nOffset;
    const std::size_t nTail = strOld.size() - nOffset;
    return strHead + std::string(pTail, nTail) + MakeJournalTrail(strHead, pTail, nTail);
}

// Complete means: the magic, an offset within the old length, exactly the old tail's bytes and
// a checksum that matches them.
bool ParseJournal(const std::string& strJournal, JournalEntry& entry) {
    const std::size_t nSize = strJournal.size();
    if (nSize < kHeadSize + kTrailSize || strJournal.compare(0, kMagicSize, kMagic) != 0) {
        return false;
    }
    entry.nOldLength = ReadNumber(strJournal, kMagicSize, 8);
    entry.nOffset = ReadNumber(strJournal, kMagicSize + 8, 8);
    entry.nTailAt = kHeadSize;
    const std::uint64_t nTail = nSize - kHeadSize - kTrailSize;
    if (entry.nOffset > entry.nOldLength || entry.nOldLength - entry.nOffset != nTail) {
        return false;
    }
    const std::string strHead = strJournal.substr(0, kHeadSize);
    const std::string strTrail = MakeJournalTrail(strHead, strJournal.data() + kHeadSize, nTail);
    return strJournal.compare(nSize - kTrailSize, kTrailSize, strTrail) == 0;
}

std::uint64_t MaxJournalSize(std::uint64_t nMaxFileSize) {
    return kHeadSize + nMaxFileSize + kTrailSize;
}
