// Who does a crash filter's work, and how long the waits in it last.
#include <gtest/gtest.h>

#include "diag/crash_files.h"
#include "diag/crash_sequence.h"

namespace velmora::diag {
namespace {

TEST(CrashSequence, TheFirstThreadOwnsTheWorkAndEveryStepRunsOnce) {
    CrashSequence sequence;
    EXPECT_EQ(sequence.Enter(7), CrashEntry::First);
    EXPECT_EQ(sequence.Claim(), CrashStep::GiveDesktopBack);
    EXPECT_EQ(sequence.Claim(), CrashStep::WriteDump);
    // A fault in the dump step: the owner comes back and goes on after it.
    EXPECT_EQ(sequence.Enter(7), CrashEntry::Again);
    EXPECT_EQ(sequence.Enter(9), CrashEntry::OtherThread);
    EXPECT_EQ(sequence.Current(), CrashStep::WriteDump);
    EXPECT_EQ(sequence.Claim(), CrashStep::Report);
    EXPECT_EQ(sequence.Claim(), CrashStep::End);
    EXPECT_EQ(sequence.Claim(), CrashStep::End);
    EXPECT_EQ(sequence.Current(), CrashStep::End);
}

TEST(CrashWaits, AreBoundedExceptWhileTheUserReadsTheBox) {
    EXPECT_TRUE(KeepWaitingForDump(kDumpOpenWaitMs - 1, false));
    EXPECT_FALSE(KeepWaitingForDump(kDumpOpenWaitMs, false));
    EXPECT_TRUE(KeepWaitingForDump(kDumpOpenWaitMs, true));
    EXPECT_FALSE(KeepWaitingForDump(kDumpWriteWaitMs, true));

    EXPECT_TRUE(KeepWaitingForOwner(kOtherThreadWaitMs - 1, CrashStep::WriteDump, false));
    EXPECT_FALSE(KeepWaitingForOwner(kOtherThreadWaitMs, CrashStep::Report, false));
    EXPECT_FALSE(KeepWaitingForOwner(kOtherThreadWaitMs, CrashStep::WriteDump, true));
    EXPECT_TRUE(KeepWaitingForOwner(kOtherThreadWaitMs, CrashStep::Report, true));
}

TEST(CrashFiles, TheLogIsCreatedByItsKernelName) {
    EXPECT_EQ(KernelFileName("C:\\x\\a.log"), "\\??\\C:\\x\\a.log");
    EXPECT_EQ(KernelFileName("\\\\server\\share\\a.log"), "\\??\\UNC\\server\\share\\a.log");
    EXPECT_EQ(KernelFileName("\\\\?\\C:\\x\\a.log"), "\\??\\C:\\x\\a.log");
}

}  // namespace
}  // namespace velmora::diag
