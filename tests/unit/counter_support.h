// Shared by the counter tests: the main dialog's hooks faked with a clock that jumps, a timer
// that fires when the clock reaches it, and a project file of names and totals in memory.
// Scheduled events stand for the user's clicks and for other programs changing the file.
#pragma once

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Counter.h"

namespace counter_test {

struct FakeRecord {
    std::string strName;
    std::int64_t nTotal;
};

struct SaveCall {
    int nIndex;
    std::int64_t nSeconds;
    bool bFlush;
};

class CFakeClockDlg : public CCounter {
public:
    CFakeClockDlg() : m_file{{"Alpha", 0}, {"Beta", 0}, {"Gamma", 0}}, m_list{"Alpha", "Beta", "Gamma"} {}

    // Runs fn once the clock reaches nMs after the test's start.
    void At(std::int64_t nMs, std::function<void()> fn) {
        m_events.emplace(kStart + nMs, std::move(fn));
    }
    // Lets time pass up to nMs after the start: the events and the timer's ticks in their order.
    void RunUntil(std::int64_t nMs) {
        for (;;) {
            const std::int64_t nEvent = m_events.empty() ? kNever : m_events.begin()->first;
            const std::int64_t nNext = std::min(nEvent, m_nTickAt);
            if (nNext > kStart + nMs) {
                m_nNow = std::max(m_nNow, kStart + nMs);
                return;
            }
            m_nNow = std::max(m_nNow, nNext);
            if (nEvent <= m_nTickAt) {
                auto fn = m_events.begin()->second;
                m_events.erase(m_events.begin());
                fn();
            } else {
                m_nTickAt = kNever;
                ++m_nTicks;
                OnTick();
            }
        }
    }
    std::int64_t Elapsed() const { return m_nNow - kStart; }
    std::string Display() const { return m_shown.empty() ? "" : m_shown.back(); }
    bool Shown(const std::string& strText) const {
        return std::find(m_shown.begin(), m_shown.end(), strText) != m_shown.end();
    }
    std::int64_t SavedSeconds() const {
        std::int64_t nSum = 0;
        for (const SaveCall& call : m_saves)
            nSum += m_bSaveFails ? 0 : call.nSeconds;
        return nSum;
    }

    static constexpr std::int64_t kStart = 5000000;
    static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
    std::int64_t m_nNow = kStart;
    std::int64_t m_nTickAt = kNever;
    int m_nTicks = 0;
    std::multimap<std::int64_t, std::function<void()>> m_events;
    std::vector<std::string> m_shown;
    std::string m_strTotal;
    std::vector<FakeRecord> m_file;
    std::vector<std::string> m_list; // the project box, as it was filled
    std::vector<SaveCall> m_saves;
    std::vector<std::string> m_messages;
    std::function<void()> m_whileMessageOpen; // runs inside the next message box's modal loop
    int m_nSelected = 1;
    bool m_bReadFails = false;
    bool m_bSaveFails = false;
    int m_nMovedSelections = 0;
    int m_nChanges = 0;
    // Away time: when the user last gave input (test time), the limit, the answers given.
    std::int64_t m_nLastInputAt = 0;
    int m_nAwayLimit = 0;
    bool m_bKeepAway = false;
    std::vector<AwaySpan> m_questions;
    std::function<void()> m_whileAsked; // runs inside the question's modal loop
    std::vector<std::pair<std::string, std::int64_t>> m_notes;

    void Input() { m_nLastInputAt = Elapsed(); }

protected:
    std::int64_t GetMonotonicMs() override { return m_nNow; }
    void ScheduleTick(std::int64_t nDelayMs) override {
        EXPECT_LE(nDelayMs, 60000);
        m_nTickAt = nDelayMs < 0 ? kNever : m_nNow + std::max<std::int64_t>(nDelayMs, 10);
    }
    void ShowCount(const std::string& strRun, const std::string& strTotal) override {
        if (m_shown.empty() || m_shown.back() != strRun)
            m_shown.push_back(strRun);
        m_strTotal = strTotal;
    }
    int GetSelectedProject(std::string& strName, int& nOccurrence) override {
        if (m_nSelected < 0)
            return -1;
        strName = m_list[m_nSelected];
        nOccurrence = static_cast<int>(
            std::count(m_list.begin(), m_list.begin() + m_nSelected, strName));
        return m_nSelected;
    }
    int Find(CountedRecord& record) {
        int nSeen = 0;
        for (std::size_t i = 0; i < m_file.size(); ++i)
            if (m_file[i].strName == record.strName && nSeen++ == record.nOccurrence)
                return record.nIndex = static_cast<int>(i);
        return -1;
    }
    bool ReadCountedTotal(CountedRecord& record, std::int64_t& nTotal) override {
        const int nIndex = m_bReadFails ? -1 : Find(record);
        if (nIndex < 0) {
            m_messages.push_back(kMsgErrorReading);
            return false;
        }
        nTotal = m_file[nIndex].nTotal;
        return true;
    }
    bool AddToTotal(CountedRecord& record, std::int64_t nSeconds, bool bFlush, TotalUpdate& update,
                    std::string& strError) override {
        const int nIndex = Find(record);
        m_saves.push_back({nIndex, nSeconds, bFlush});
        if (m_bSaveFails || nIndex < 0) {
            strError = kMsgErrorWriting;
            return false;
        }
        std::int64_t& nTotal = m_file[nIndex].nTotal;
        update.bCapped = nSeconds > 0 && nTotal + nSeconds > kMaxTotalSeconds;
        if (nTotal <= kMaxTotalSeconds)
            nTotal = std::min(nTotal + nSeconds, kMaxTotalSeconds);
        update.nTotal = nTotal;
        return true;
    }
    void SelectMovedProject() override { ++m_nMovedSelections; }

public:
    void ShowMessage(const char* pszText) override {
        m_messages.emplace_back(pszText);
        if (auto fn = std::exchange(m_whileMessageOpen, nullptr))
            fn();
    }

protected:
    void OnCountChanged() override { ++m_nChanges; }
    std::int64_t GetIdleMs() override { return Elapsed() - m_nLastInputAt; }
    int GetAwayLimitMinutes() override { return m_nAwayLimit; }
    bool AskKeepAwayTime(const AwaySpan& span) override {
        m_questions.push_back(span);
        if (auto fn = std::exchange(m_whileAsked, nullptr))
            fn();
        return m_bKeepAway;
    }
    void NoteAwayTime(const std::string& strProject, std::int64_t nMinutes) override {
        m_notes.emplace_back(strProject, nMinutes);
    }
};

} // namespace counter_test
