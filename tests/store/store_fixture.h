// Shared set-up for the store tests: a temporary data folder and fixed
// regional formats, so results do not depend on the machine's locale.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/locale_format.h"
#include "store/remind_file.h"
#include "support/test_support.h"

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        TFormatSettings iso;
        iso.ShortDateFormat = "yyyy-MM-dd";
        iso.LongTimeFormat = "HH:mm:ss";
        SetFormatSettings(iso);
    }
    void TearDown() override { ResetFormatSettings(); }

    std::string DataPath() const { return Dir / DataFileName; }
    std::unique_ptr<TRemindFile> Open() const { return std::make_unique<TRemindFile>(DataPath()); }
    std::string FileText() const { return testing_support::ReadFileBytes(DataPath()); }
    void WriteFile(const std::string& bytes) const { testing_support::WriteFileBytes(DataPath(), bytes); }

    static std::unique_ptr<TRmRecordStruct> MakeRecord(const std::string& description, TDateTime created) {
        auto r = std::make_unique<TRmRecordStruct>();
        r->Description = description;
        r->CreateDateTime = created;
        r->LastTime = created;
        return r;
    }

    testing_support::TTempDir Dir;
};
