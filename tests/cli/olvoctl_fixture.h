// Running the real olvoctl against a private home: its own data, config and
// runtime folders, ISO regional formats (LANG=C), UTC, and English texts
// unless a test says otherwise.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/locale_format.h"
#include "store/remind_file.h"
#include "support/child_process.h"
#include "support/test_support.h"

struct TRunResult {
    int Code = -1;
    std::string Out;
    std::string Err;
};

class OlvoctlTest : public ::testing::Test {
protected:
    using TEnv = std::map<std::string, std::optional<std::string>>;

    void SetUp() override {
        // The data file is read back here with the formats olvoctl wrote it in.
        SetFormatSettings(TFormatSettings());
    }
    void TearDown() override { ResetFormatSettings(); }

    TEnv Env() const {
        return {{"HOME", Dir / "home"},
                {"XDG_DATA_HOME", Dir / "data"},
                {"XDG_CONFIG_HOME", Dir / "config"},
                {"XDG_RUNTIME_DIR", Dir.Path()},
                {"TMPDIR", std::nullopt},
                {"TZ", "UTC"},
                {"LANG", "C"},
                {"LC_ALL", std::nullopt},
                {"LC_TIME", std::nullopt},
                {"LC_MESSAGES", std::nullopt}};
    }

    TRunResult Run(const std::vector<std::string>& args, const TEnv& extraEnv = {}) const {
        std::vector<std::string> argv = {testing_support::BinDir() + "/olvoctl"};
        argv.insert(argv.end(), args.begin(), args.end());
        TEnv env = Env();
        for (const auto& [name, value] : extraEnv) env[name] = value;
        testing_support::TChildProcess child(argv, env, testing_support::TStderr::Capture);
        TRunResult result;
        result.Code = child.Wait(30).value_or(-1);
        result.Out = child.Output();
        result.Err = child.ErrorOutput();
        return result;
    }

    // A command at a chosen moment, which must succeed.
    std::string RunAt(const std::string& now, std::vector<std::string> args) const {
        args.insert(args.begin(), {"--now", now});
        TRunResult r = Run(args);
        EXPECT_EQ(r.Code, 0) << "olvoctl failed: " << r.Err;
        return r.Out;
    }

    // Adds a reminder at a moment and answers its ID.
    std::string Add(const std::string& now, std::vector<std::string> args) const {
        args.insert(args.begin(), "add");
        std::string out = RunAt(now, args);
        if (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }

    nlohmann::json ListJson(const std::string& now, bool completed = false) const {
        std::vector<std::string> args = {"list", "--json"};
        if (completed) args.push_back("--completed");
        return nlohmann::json::parse(RunAt(now, args));
    }

    // The reminders of the data file as the store reads them, from a copy
    // (a store writes its settings when it closes).
    std::vector<TRmRecordStruct> StoredRecords() const {
        const std::string copy = Dir / "inspect.dat";
        testing_support::WriteFileBytes(copy, testing_support::ReadFileBytes(DataFile()));
        TRemindFile store(copy);
        std::vector<TRmRecordStruct> records;
        for (const auto& r : store.Records()) records.push_back(*r);
        return records;
    }

    std::string DataFile() const { return Dir / "data/Olvo_Reminder/ov_rmind_data.dat"; }
    std::string DataBytes() const { return testing_support::ReadFileBytes(DataFile()); }

    testing_support::TTempDir Dir;
};

// The entry of a list document with that ID, or null.
inline nlohmann::json EntryWithId(const nlohmann::json& document, const std::string& id) {
    for (const auto& entry : document.at("reminders"))
        if (entry.at("id") == id) return entry;
    return nullptr;
}

inline std::vector<std::string> IdsOf(const nlohmann::json& entries) {
    std::vector<std::string> ids;
    for (const auto& entry : entries) ids.push_back(entry.at("id").get<std::string>());
    return ids;
}
