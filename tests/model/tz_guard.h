// Pins the process time zone for tests that depend on local calendar days.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

class BerlinTime : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TZ");
        hadTz_ = old != nullptr;
        if (hadTz_) oldTz_ = old;
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        // Without the zone data the library silently falls back to UTC.
        std::time_t summer = 1719835200;  // 2024-07-01 12:00 UTC
        std::tm tm{};
        localtime_r(&summer, &tm);
        ASSERT_EQ(tm.tm_hour, 14) << "time zone data for Europe/Berlin is missing (package tzdata)";
    }
    void TearDown() override {
        if (hadTz_) {
            setenv("TZ", oldTz_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    bool hadTz_ = false;
    std::string oldTz_;
};
