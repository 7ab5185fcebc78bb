// The journal that makes a change of the project file in place safe against a crash: before
// the file is touched, what the change will overwrite is written beside it, so that the old
// content can be put back exactly. Its bytes, all numbers little-endian:
//   8 bytes "QJOURNL1", 8 bytes the file's old length, 8 bytes the offset where the change
//   begins, the file's old bytes from that offset to its old end, then the CRC-32 (4 bytes) of
//   everything before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Beside the project file: "~" + its name + ".journal", a hidden name no user's file has.
std::string MakeJournalPath(const std::string& strPath);

// What a complete journal tells: the old length, and the old bytes from nOffset on, which lie
// at nTailAt in the journal's bytes.
struct JournalEntry {
    std::uint64_t nOldLength = 0;
    std::uint64_t nOffset = 0;
    std::size_t nTailAt = 0;
};

// The journal's bytes before and after the old tail, which is written between them.
std::string MakeJournalHead(std::uint64_t nOldLength, std::uint64_t nOffset);
std::string MakeJournalTrail(const std::string& strHead, const char* pTail, std::size_t nTail);
// The whole journal of a change at nOffset of a file that holds strOld.
std::string MakeJournal(const std::string& strOld, std::size_t nOffset);

// True when the bytes are a complete journal; false for one cut short or damaged.
bool ParseJournal(const std::string& strJournal, JournalEntry& entry);

// The most a journal can hold for a file of at most nMaxFileSize bytes.
std::uint64_t MaxJournalSize(std::uint64_t nMaxFileSize);
