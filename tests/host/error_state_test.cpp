#include "io/error_state.h"

#include <gtest/gtest.h>

namespace {

class ErrorStateTest : public ::testing::Test {
  protected:
    void SetUp() override { g_ErrorState = ErrorState(); }
    void TearDown() override { g_ErrorState = ErrorState(); }
};

TEST_F(ErrorStateTest, StartsCleared) {
    ErrorState fresh;
    EXPECT_EQ(fresh.ErrorCode, 0);
    EXPECT_EQ(fresh.ErrorCount, 0);
    EXPECT_TRUE(fresh.ExitOn255);
}

TEST_F(ErrorStateTest, PrecedenceOfCodes) {
    struct Case {
        int Current;
        int New;
        int Expected;
    } cases[] = {
        {0, 1, 1}, {2, 1, 2},     {8, 1, 8}, {0, 255, 255}, {1, 255, 1}, {0, 2, 2},
        {1, 2, 2}, {255, 2, 255}, {3, 2, 3}, {2, 0, 0},     {255, 8, 8}, {2, 8, 8},
        {8, 3, 3}, {1, -1, -1},   {0, 0, 0}, {255, 1, 255}, {2, 255, 2},
    };
    for (const Case& c : cases) {
        g_ErrorState.ErrorCode = c.Current;
        g_ErrorState.ErrorCount = 5;
        ErrorState::SetErrorCode(c.New);
        EXPECT_EQ(g_ErrorState.ErrorCode, c.Expected) << c.Current << " then " << c.New;
        EXPECT_EQ(g_ErrorState.ErrorCount, 6);
    }
}

TEST_F(ErrorStateTest, ExitRecordsAndThrowsTheCode) {
    g_ErrorState.ErrorCode = 2;
    try {
        ErrorState::Exit(1);
        FAIL() << "no exception";
    } catch (int code) {
        EXPECT_EQ(code, 1);
    }
    EXPECT_EQ(g_ErrorState.ErrorCode, 2);
    EXPECT_EQ(g_ErrorState.ErrorCount, 1);
}

TEST_F(ErrorStateTest, Exit255DependsOnExitOn255) {
    g_ErrorState.ExitOn255 = false;
    ErrorState::Exit(255);
    EXPECT_EQ(g_ErrorState.ErrorCode, 0);
    EXPECT_EQ(g_ErrorState.ErrorCount, 0);

    g_ErrorState.ExitOn255 = true;
    EXPECT_THROW(ErrorState::Exit(255), int);
    EXPECT_EQ(g_ErrorState.ErrorCode, 255);
    EXPECT_EQ(g_ErrorState.ErrorCount, 1);
}

TEST_F(ErrorStateTest, MemoryErrorThrowsEightAlways) {
    g_ErrorState.ErrorCode = 2;
    g_ErrorState.ExitOn255 = false;
    try {
        ErrorState::MemoryError();
        FAIL() << "no exception";
    } catch (int code) {
        EXPECT_EQ(code, 8);
    }
    EXPECT_EQ(g_ErrorState.ErrorCode, 8);
    EXPECT_EQ(g_ErrorState.ErrorCount, 1);
}

TEST_F(ErrorStateTest, FileNotificationsRecordNothing) {
    ErrorState::CloseError("a");
    ErrorState::ReadError("a");
    ErrorState::SeekError(nullptr);
    EXPECT_FALSE(ErrorState::AskRetry("a"));
    EXPECT_EQ(g_ErrorState.ErrorCode, 0);
    EXPECT_EQ(g_ErrorState.ErrorCount, 0);
}

} // namespace
