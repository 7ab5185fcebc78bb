// The lock file's note on who runs Quillet on a project file, and the message a copy on another
// computer shows when it finds the file held.
#include "LockOwner.h"

#include <gtest/gtest.h>

namespace {

LockOwner MakeOwner() {
    LockOwner owner;
    owner.strComputer = "OFFICE-PC";
    owner.strUser = "anna";
    owner.since = {2026, 12, 8, 9, 12, 33};
    return owner;
}

TEST(LockFilePath, SitsBesideTheProjectFileUnderItsOwnName) {
    EXPECT_EQ(MakeLockFilePath("C:\\Tools\\Quillet\\Projekte.dbu"),
              "C:\\Tools\\Quillet\\~Projekte.lock");
    EXPECT_EQ(MakeLockFilePath("\\\\server\\share\\v1.2\\Projekte.dbu"),
              "\\\\server\\share\\v1.2\\~Projekte.lock");
    EXPECT_EQ(MakeLockFilePath("/a.b/Projekte"), "/a.b/~Projekte.lock");
}

TEST(LockOwnerNote, ReadsBackWhatWasWritten) {
    const std::string strNote = FormatLockOwner(MakeOwner());
    EXPECT_NE(strNote.find("computer=OFFICE-PC\r\nuser=anna\r\nsince=2026-12-08T09:12:33Z\r\n"),
              std::string::npos);
    LockOwner read;
    ASSERT_TRUE(ParseLockOwner(strNote, read));
    EXPECT_EQ(read.strComputer, "OFFICE-PC");
    EXPECT_EQ(read.strUser, "anna");
    EXPECT_EQ(read.since.nYear, 2026);
    EXPECT_EQ(read.since.nMonth, 12);
    EXPECT_EQ(read.since.nDay, 8);
    EXPECT_EQ(read.since.nHour, 9);
    EXPECT_EQ(read.since.nMinute, 12);
    EXPECT_EQ(read.since.nSecond, 33);
}

// A copy that reads the note while its holder is still writing it sees a part of it.
TEST(LockOwnerNote, APartWrittenNoteIsNotRead) {
    const std::string strNote = FormatLockOwner(MakeOwner());
    const std::size_t nComplete = strNote.find('Z') + 1;
    for (std::size_t n = 0; n < nComplete; ++n) {
        LockOwner read;
        EXPECT_FALSE(ParseLockOwner(strNote.substr(0, n), read)) << n;
    }
}

TEST(LockOwnerNote, OtherLineEndsOrderAndExtraLinesAreRead) {
    LockOwner read;
    ASSERT_TRUE(ParseLockOwner("since=2026-01-31T23:59:59Z\nnote=x\nuser=bo\ncomputer=PC", read));
    EXPECT_EQ(read.strComputer, "PC");
    EXPECT_EQ(read.strUser, "bo");
    EXPECT_EQ(read.since.nDay, 31);
}

TEST(LockOwnerNote, ALaterLineForAFieldReplacesAnEarlierOne) {
    LockOwner read;
    ASSERT_TRUE(ParseLockOwner(
        "computer=A\nuser=u\nsince=2026-13-01T00:00:00Z\ncomputer=B\nsince=2026-12-01T00:00:00Z",
        read));
    EXPECT_EQ(read.strComputer, "B");
    EXPECT_EQ(read.since.nMonth, 12);
}

TEST(LockOwnerNote, MissingOrMalformedFieldsAreNotRead) {
    LockOwner read;
    EXPECT_FALSE(ParseLockOwner("", read));
    EXPECT_FALSE(ParseLockOwner("user=a\r\nsince=2026-12-08T09:12:33Z\r\n", read));
    EXPECT_FALSE(ParseLockOwner("computer=\r\nuser=a\r\nsince=2026-12-08T09:12:33Z", read));
    EXPECT_FALSE(ParseLockOwner("computer=P\r\nuser=a\r\nsince=2026-13-08T09:12:33Z", read));
    EXPECT_FALSE(ParseLockOwner("computer=P\r\nuser=a\r\nsince=2026-12-08T24:00:00Z", read));
    EXPECT_FALSE(ParseLockOwner("computer=P\r\nuser=a\r\nsince=2026-12-08 09:12:33", read));
    EXPECT_FALSE(ParseLockOwner("computer=P\r\nuser=a\r\nsince=2026-12-0x09:12:33Z", read));
}

// A name cannot add a line of its own to the note, nor break the message's lines.
TEST(LockOwnerNote, LineBreaksInNamesStayInsideTheirLine) {
    LockOwner owner = MakeOwner();
    owner.strComputer = "PC\r\nuser=mallory";
    LockOwner read;
    ASSERT_TRUE(ParseLockOwner(FormatLockOwner(owner), read));
    EXPECT_EQ(read.strComputer, "PC??user=mallory");
    EXPECT_EQ(read.strUser, "anna");
}

// A note spoiled by hand or by another program cannot make the message endless.
TEST(LockOwnerNote, ANameIsCutAt256Characters) {
    LockOwner owner = MakeOwner();
    owner.strUser = std::string(300, 'u');
    LockOwner read;
    ASSERT_TRUE(ParseLockOwner(FormatLockOwner(owner), read));
    EXPECT_EQ(read.strUser, std::string(256, 'u'));
    ASSERT_TRUE(ParseLockOwner(
        "computer=P\nsince=2026-12-08T09:12:33Z\nuser=" + std::string(1000, 'x'), read));
    EXPECT_EQ(read.strUser.size(), 256u);
}

TEST(InUseMessage, NamesComputerUserAndTheTimeOfToday) {
    const LockOwner owner = MakeOwner();
    EXPECT_EQ(FormatInUseMessage("Z:\\q\\Projekte.dbu", &owner, {2026, 12, 8, 17, 0, 0}),
              "Projekte.dbu is in use by Quillet on computer OFFICE-PC (user anna) since "
              "09:12.\nClose Quillet there before starting it here.");
}

TEST(InUseMessage, AStartOnAnotherDayGivesTheDate) {
    LockOwner owner = MakeOwner();
    owner.since = {2026, 12, 7, 23, 59, 0};
    EXPECT_EQ(FormatInUseMessage("Projekte.dbu", &owner, {2026, 12, 8, 0, 1, 0}),
              "Projekte.dbu is in use by Quillet on computer OFFICE-PC (user anna) since "
              "2026-12-07 23:59.\nClose Quillet there before starting it here.");
}

TEST(InUseMessage, AnUnreadableNoteStillSaysTheFileIsInUse) {
    EXPECT_EQ(FormatInUseMessage("/x/Projekte.dbu", nullptr, {2026, 12, 8, 0, 1, 0}),
              "Projekte.dbu is in use by Quillet on another computer.\n"
              "Close Quillet there before starting it here.");
}

} // namespace
